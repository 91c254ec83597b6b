// Applying the start options: the same steps as a user choosing the kind in the list, setting
// it up and pressing the open button.
#include <QComboBox>

#include "app/command_line.h"
#include "app/velkaro_dlg.h"

namespace velkaro {

void CVelkaroDlg::ApplyStartOptions(const StartOptions& options) {
    if (!options.comPort.isEmpty()) m_strComPort = options.comPort;
    if (!options.baudRate.isEmpty()) m_strBaudRate = options.baudRate;
    if (!options.lptPort.isEmpty()) m_strLptPort = options.lptPort;
    if (!options.ipAddress.isEmpty()) {  // set before the kind, so choosing it keeps them
        m_strIPAddress = options.ipAddress;
        m_strIPPort = options.ipPort;
    }
    if (!options.portType.isEmpty() && options.portType != m_strPortType) {
        m_cmbPortType->setCurrentIndex(m_cmbPortType->findText(options.portType));
        OnCbnSelchangePortType();
    }
    UpdateStatus();
    if (options.open) OnBnClickedOpenPort();
}

}  // namespace velkaro
