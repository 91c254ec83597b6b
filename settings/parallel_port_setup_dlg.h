// "并口设置": one of LPT1 to LPT10.
#pragma once

#include "settings/setup_dialog.h"

namespace velkaro {

class CParallelPortSetupDlg : public CSetupDialog {
    Q_OBJECT
  public:
    explicit CParallelPortSetupDlg(QWidget* parent = nullptr);
    QString m_strLptPort;

  protected:
    void OnInitDialog() override;
    void SaveControls() override;
};

}  // namespace velkaro
