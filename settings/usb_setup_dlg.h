// "USB口设置": one of the USB printers attached now, shown by location text and chosen by
// position in the caller's list.
#pragma once

#include <vector>

#include "connections/usb_device.h"
#include "settings/setup_dialog.h"

namespace velkaro {

class CUSBSetupDlg : public CSetupDialog {
    Q_OBJECT
  public:
    explicit CUSBSetupDlg(QWidget* parent = nullptr);
    std::vector<tagUSBDevice> m_arrUSBDevice;
    // In: the caller's position. Out: the selected entry, or -1 when none is selected.
    int m_nUSBIndex = 0;

  protected:
    void OnInitDialog() override;
    void SaveControls() override;
};

}  // namespace velkaro
