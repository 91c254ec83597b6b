// "串口设置": the serial port and its line parameters, chosen from fixed lists.
#pragma once

#include <string>

#include "settings/setup_dialog.h"

class QLabel;

namespace velkaro {

class CComPortSetupDlg : public CSetupDialog {
    Q_OBJECT
  public:
    explicit CComPortSetupDlg(QWidget* parent = nullptr, std::string deviceFolder = "/dev");

    QString m_strComPort;
    QString m_strBaudRate = QStringLiteral("9600");
    QString m_strParity = QStringLiteral("NONE");
    QString m_strDataBits = QStringLiteral("8");
    QString m_strStopBits = QStringLiteral("1");

    // The device node the chosen port name opens and whether it is there now.
    QString DeviceNote() const;

  protected:
    void OnInitDialog() override;
    void SaveControls() override;

  private:
    void FillPortList();
    void ShowDeviceNote();
    std::string m_strDeviceFolder;
    QLabel* m_lblDevice = nullptr;
};

}  // namespace velkaro
