// Each connection kind's branch of "端口设定". Accepted changes mark the connection closed
// until it is opened again; the open device keeps its old settings until then.
#include "window_services/ui_services.h"
#include "app/velkaro_dlg.h"
#include "settings/com_port_setup_dlg.h"
#include "settings/ethernet_setup_dlg.h"
#include "settings/parallel_port_setup_dlg.h"
#include "settings/usb_setup_dlg.h"

namespace velkaro {
namespace {

// Copies `chosen` into `setting` when it differs; tells whether it did.
bool TakeIfChanged(QString& setting, const QString& chosen) {
    if (setting == chosen) return false;
    setting = chosen;
    return true;
}

}  // namespace

void CVelkaroDlg::SetupSerialPort() {
    CComPortSetupDlg dlg(this, m_env.deviceFolder);
    dlg.m_strComPort = m_strComPort;
    dlg.m_strBaudRate = m_strBaudRate;
    dlg.m_strParity = m_strParity;
    dlg.m_strDataBits = m_strDataBits;
    dlg.m_strStopBits = m_strStopBits;
    if (dlg.DoModal(m_ui) != QDialog::Accepted) return;
    const bool changed[] = {
        TakeIfChanged(m_strComPort, dlg.m_strComPort),
        TakeIfChanged(m_strBaudRate, dlg.m_strBaudRate),
        TakeIfChanged(m_strParity, dlg.m_strParity),
        TakeIfChanged(m_strDataBits, dlg.m_strDataBits),
        TakeIfChanged(m_strStopBits, dlg.m_strStopBits),
    };
    for (bool c : changed)
        if (c) m_bPortOpen = 0;
    UpdateStatus();
}

void CVelkaroDlg::SetupParallelPort() {
    CParallelPortSetupDlg dlg(this);
    dlg.m_strLptPort = m_strLptPort;
    if (dlg.DoModal(m_ui) != QDialog::Accepted) return;
    if (TakeIfChanged(m_strLptPort, dlg.m_strLptPort)) m_bPortOpen = 1;
    UpdateStatus();
}

void CVelkaroDlg::SetupUSBPort() {
    CUSBPort::EnumDevices(m_arrUSBDevice, m_env.sysfsRoot, m_env.deviceFolder);
    CUSBSetupDlg dlg(this);
    dlg.m_arrUSBDevice = m_arrUSBDevice;
    dlg.m_nUSBIndex = m_nUSBIndex;
    if (dlg.DoModal(m_ui) != QDialog::Accepted) return;
    if (dlg.m_nUSBIndex != m_nUSBIndex) {
        m_nUSBIndex = dlg.m_nUSBIndex;
        m_bPortOpen = 0;
    }
    UpdateStatus();
}

void CVelkaroDlg::SetupNetworkPort() {
    CEthernetSetupDlg dlg(this);
    dlg.m_strIPAddress = m_strIPAddress;
    dlg.m_strIPPort = m_strIPPort;
    if (dlg.DoModal(m_ui) != QDialog::Accepted) return;
    const bool addressChanged = TakeIfChanged(m_strIPAddress, dlg.m_strIPAddress);
    const bool portChanged = TakeIfChanged(m_strIPPort, dlg.m_strIPPort);
    if (addressChanged || portChanged) m_bPortOpen = 0;
    UpdateStatus();
}

}  // namespace velkaro
