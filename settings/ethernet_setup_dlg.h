// "网络端口设置": the printer's IPv4 address and TCP port, handed back as typed.
#pragma once

#include "settings/setup_dialog.h"

namespace velkaro {

class CEthernetSetupDlg : public CSetupDialog {
    Q_OBJECT
  public:
    explicit CEthernetSetupDlg(QWidget* parent = nullptr);
    QString m_strIPAddress;
    QString m_strIPPort = QStringLiteral("9100");

  protected:
    void OnInitDialog() override;
    void SaveControls() override;
};

}  // namespace velkaro
