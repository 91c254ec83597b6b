// Each connection kind's branch of "端口设定". Accepted changes mark the connection closed
// until it is opened again; the open device keeps its old settings until then. While bytes are
// still queued, a change that ends the connection asks first.
#include "app/velkaro_dlg.h"
#include "settings/com_port_setup_dlg.h"
#include "settings/ethernet_setup_dlg.h"
#include "settings/parallel_port_setup_dlg.h"
#include "settings/usb_setup_dlg.h"
#include "window_services/ui_services.h"

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
    const QStringList chosen{dlg.m_strComPort, dlg.m_strBaudRate, dlg.m_strParity,
                             dlg.m_strDataBits, dlg.m_strStopBits};
    const auto apply = [this, chosen] {
        const bool changed[] = {
            TakeIfChanged(m_strComPort, chosen[0]),  TakeIfChanged(m_strBaudRate, chosen[1]),
            TakeIfChanged(m_strParity, chosen[2]),   TakeIfChanged(m_strDataBits, chosen[3]),
            TakeIfChanged(m_strStopBits, chosen[4]),
        };
        for (bool c : changed)
            if (c) m_bPortOpen = 0;
        UpdateStatus();
    };
    const QStringList current{m_strComPort, m_strBaudRate, m_strParity, m_strDataBits,
                              m_strStopBits};
    if (chosen == current || ConfirmDropQueued(apply)) apply();
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
    const int chosen = dlg.m_nUSBIndex;
    const auto apply = [this, chosen] {
        if (chosen != m_nUSBIndex) {
            m_nUSBIndex = chosen;
            m_bPortOpen = 0;
        }
        UpdateStatus();
    };
    if (chosen == m_nUSBIndex || ConfirmDropQueued(apply)) apply();
}

void CVelkaroDlg::SetupNetworkPort() {
    CEthernetSetupDlg dlg(this);
    dlg.m_strIPAddress = m_strIPAddress;
    dlg.m_strIPPort = m_strIPPort;
    if (dlg.DoModal(m_ui) != QDialog::Accepted) return;
    const QString address = dlg.m_strIPAddress;
    const QString port = dlg.m_strIPPort;
    const auto apply = [this, address, port] {
        const bool addressChanged = TakeIfChanged(m_strIPAddress, address);
        const bool portChanged = TakeIfChanged(m_strIPPort, port);
        if (addressChanged || portChanged) m_bPortOpen = 0;
        UpdateStatus();
    };
    // A change ends the connection: bytes still queued for it are not silently left behind.
    if ((address == m_strIPAddress && port == m_strIPPort) || ConfirmDropQueued(apply)) apply();
}

}  // namespace velkaro
