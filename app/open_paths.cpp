// Each connection kind's open path.
#include <QCoreApplication>
#include <QLabel>

#include "app/velkaro_dlg.h"
#include "platform/device_names.h"

namespace velkaro {
namespace {

int ParityCode(const QString& parity) {
    if (parity == QLatin1String("NONE")) return kParityNone;
    if (parity == QLatin1String("ODD")) return kParityOdd;
    if (parity == QLatin1String("EVEN")) return kParityEven;
    if (parity == QLatin1String("MARK")) return kParityMark;
    if (parity == QLatin1String("SPACE")) return kParitySpace;
    return kParityNone;
}

int StopBitsCode(const QString& stopBits) {
    if (stopBits == QLatin1String("1.5")) return kOne5StopBits;
    if (stopBits == QLatin1String("2")) return kTwoStopBits;
    return kOneStopBit;
}

int Number(const QString& text) {
    return LeadingNumber(text.toStdString());
}

}  // namespace

void CVelkaroDlg::OpenSerialPort() {
    const int port = PortNumberFromName(m_strComPort.toStdString(), "COM");
    const bool opened =
        m_SerialPort.Open(&m_PortOwner, port, Number(m_strBaudRate), ParityCode(m_strParity),
                          Number(m_strDataBits), StopBitsCode(m_strStopBits));
    if (opened) {
        m_SerialPort.SetReadIntervalTimeout(CASYNSerialPort::kDefaultReadIntervalMs);
        m_SerialPort.Purge();
        m_SerialPort.StartReader();
        m_bPortOpen = 1;
    } else {
        ShowError(tr("端口打开失败"));
        m_bPortOpen = 0;
    }
    UpdateStatus();
}

void CVelkaroDlg::OpenParallelPort() {
    if (m_ParallelPort.Open(PortNumberFromName(m_strLptPort.toStdString(), "LPT"))) {
        m_bPortOpen = 1;
    } else {
        ShowError(tr("端口打开失败"));
        m_bPortOpen = 0;
    }
    UpdateStatus();
}

void CVelkaroDlg::OpenUSBPort() {
    const tagUSBDevice* device = ChosenUSBDevice();
    if (!device) {
        ShowError(tr("没有USB打印设备连接！"));
        return;
    }
    if (m_USBPort.Open(&m_PortOwner, device->strDevicePath)) {
        m_USBPort.StartReader();
        m_bPortOpen = 1;
    } else {
        ShowError(tr("USB端口打开失败"));
        m_bPortOpen = 0;
    }
    UpdateStatus();
}

void CVelkaroDlg::OpenNetworkPort() {
    const std::string address = m_strIPAddress.toStdString();
    const std::string port = m_strIPPort.toStdString();
    const int timeout = m_env.connectTimeoutMs;
    m_bConnectCancelled = false;
    m_strStatus = QCoreApplication::translate("velkaro::CVelkaroDlg", "当前状态：%1:%2 正在连接…")
                      .arg(m_strIPAddress, m_strIPPort);
    m_lblStatus->setText(m_strStatus);
    bool connected = RunWithoutFreezing(
        [&] { return m_SocketComm.Connect(&m_PortOwner, address.c_str(), port.c_str(), timeout); },
        [this] { CancelConnect(); });
    m_SocketComm.ClearConnectCancel();
    if (connected && m_bConnectCancelled) {  // it succeeded just as the user gave it up
        m_SocketComm.Close();
        connected = false;
    }
    if (connected) {
        m_nSocketConnection = m_SocketComm.Connection();
        m_SocketComm.StartReader();
        m_bPortOpen = 1;
    } else {
        m_nSocketConnection = 0;
        if (!m_bConnectCancelled) ShowError(tr("网络端口打开失败"));
        m_bPortOpen = 0;
    }
    UpdateStatus();
}

void CVelkaroDlg::CancelConnect() {
    if (!m_bConnecting) return;
    m_bConnectCancelled = true;
    m_SocketComm.CancelConnect();
}

}  // namespace velkaro
