// Choosing, opening and closing the connection, and the status line. Every dispatch compares
// the kind's text in the order COM, LPT, USB, ETHERNET.
#include <QComboBox>
#include <QLabel>

#include "app/velkaro_dlg.h"

namespace velkaro {

void CVelkaroDlg::OnCbnSelchangePortType() {
    const QString chosen = m_cmbPortType->currentText();
    if (chosen == m_strPortType) return;
    const auto choose = [this, chosen] {
        m_cmbPortType->setCurrentText(chosen);
        OnCbnSelchangePortType();
    };
    if (!ConfirmDropQueued(choose)) {
        m_cmbPortType->setCurrentText(m_strPortType);  // the kind changes only once it may
        return;
    }
    ClosePorts();
    m_bPortOpen = 0;
    m_strPortType = chosen;
    OnKindChosen();
    UpdateStatus();
}

void CVelkaroDlg::ClosePorts() {
    m_SerialPort.StopReader();
    m_ParallelPort.Close();
    m_USBPort.StopReader();
    m_SocketComm.Close();
    m_nSocketConnection = 0;
    m_bPortOpen = 0;
}

void CVelkaroDlg::OnKindChosen() {
    if (m_strPortType == QLatin1String("LPT")) {
        m_bPortOpen = 1;  // every send opens the device anew, so the kind counts as open
    } else if (m_strPortType == QLatin1String("USB")) {
        CUSBPort::EnumDevices(m_arrUSBDevice, m_env.sysfsRoot, m_env.deviceFolder);
        if (m_nUSBIndex >= static_cast<int>(m_arrUSBDevice.size())) m_nUSBIndex = 0;
    } else if (m_strPortType == QLatin1String("ETHERNET")) {
        if (m_strIPAddress.isEmpty()) {
            std::string local;
            CSocketComm::GetLocalAddress(local);
            m_strIPAddress = QString::fromStdString(local);
            if (m_strIPPort.isEmpty()) m_strIPPort = QStringLiteral("9100");
        }
    }
}

void CVelkaroDlg::OnBnClickedPortSetup() {
    UpdateData(true);
    if (m_strPortType == QLatin1String("COM"))
        SetupSerialPort();
    else if (m_strPortType == QLatin1String("LPT"))
        SetupParallelPort();
    else if (m_strPortType == QLatin1String("USB"))
        SetupUSBPort();
    else if (m_strPortType == QLatin1String("ETHERNET"))
        SetupNetworkPort();
}

void CVelkaroDlg::OnBnClickedOpenPort() {
    if (m_bConnecting) {  // pressed again during a connect attempt: give it up
        CancelConnect();
        return;
    }
    // Opening again ends the connection, except on the parallel port, whose node is taken up
    // again with its queue.
    if (m_strPortType != QLatin1String("LPT") &&
        !ConfirmDropQueued([this] { OnBnClickedOpenPort(); }))
        return;
    UpdateData(true);
    ResetCounters();
    if (m_strPortType == QLatin1String("COM"))
        OpenSerialPort();
    else if (m_strPortType == QLatin1String("LPT"))
        OpenParallelPort();
    else if (m_strPortType == QLatin1String("USB"))
        OpenUSBPort();
    else if (m_strPortType == QLatin1String("ETHERNET"))
        OpenNetworkPort();
}

const tagUSBDevice* CVelkaroDlg::ChosenUSBDevice() const {
    if (m_arrUSBDevice.empty()) return nullptr;
    // A position that names no record (the selection dialog hands back -1 when nothing was
    // chosen) falls back to the first printer.
    const bool valid = m_nUSBIndex >= 0 && m_nUSBIndex < static_cast<int>(m_arrUSBDevice.size());
    return &m_arrUSBDevice[valid ? static_cast<std::size_t>(m_nUSBIndex) : 0];
}

QString CVelkaroDlg::KindStatusText(bool* withSuffix) const {
    *withSuffix = true;
    const QString prefix = tr("当前状态：");
    if (m_strPortType == QLatin1String("COM"))
        return prefix +
               QStringLiteral("%1,%2,%3,%4,%5")
                   .arg(m_strComPort, m_strBaudRate, m_strParity, m_strDataBits, m_strStopBits);
    if (m_strPortType == QLatin1String("LPT")) return prefix + m_strLptPort;
    if (m_strPortType == QLatin1String("USB")) {
        const tagUSBDevice* device = ChosenUSBDevice();
        if (!device) {
            *withSuffix = false;
            return prefix + tr("无USB设备连接");
        }
        return prefix + QString::fromStdString(device->strLocation);
    }
    if (m_strPortType == QLatin1String("ETHERNET"))
        return prefix + m_strIPAddress + QLatin1Char(':') + m_strIPPort;
    return prefix;
}

void CVelkaroDlg::UpdateStatus() {
    bool withSuffix = true;
    m_strStatus = KindStatusText(&withSuffix);
    if (withSuffix) m_strStatus += m_bPortOpen ? tr(" 打开") : tr(" 关闭");
    m_lblStatus->setText(m_strStatus);
}

}  // namespace velkaro
