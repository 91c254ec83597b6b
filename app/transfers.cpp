// Sends in progress: the progress row, stopping, the counters, the question before a queue
// would be dropped, and the device that went away.
#include <QCoreApplication>
#include <QLabel>

#include "app/transfer_row.h"
#include "app/velkaro_dlg.h"
#include "window_services/ui_services.h"

namespace velkaro {

Transfer& CVelkaroDlg::ActiveSender() {
    if (m_strPortType == QLatin1String("LPT")) return m_ParallelPort.Sender();
    if (m_strPortType == QLatin1String("USB")) return m_USBPort.Sender();
    if (m_strPortType == QLatin1String("ETHERNET")) return m_SocketComm.Sender();
    return m_SerialPort.Sender();
}

std::uint64_t CVelkaroDlg::ActiveConnection() const {
    if (m_strPortType == QLatin1String("LPT")) return m_ParallelPort.Connection();
    if (m_strPortType == QLatin1String("USB")) return m_USBPort.Connection();
    if (m_strPortType == QLatin1String("ETHERNET")) return m_SocketComm.Connection();
    return m_SerialPort.Connection();
}

bool CVelkaroDlg::IsActiveTransfer(const PortMessage& message) {
    return message.sender == &ActiveSender() && message.connection == ActiveConnection();
}

std::uint64_t CVelkaroDlg::BytesSent() {
    return m_nBytesSentBefore + ActiveSender().Current().written;
}

void CVelkaroDlg::ResetCounters() {
    m_nBytesSentBefore = 0;
    m_nBytesReceived = 0;
    RefreshTransferRow();
}

// The row follows the sender itself; messages only say when to look.
void CVelkaroDlg::RefreshTransferRow() {
    const Transfer::Counts counts = ActiveSender().Current();
    m_pTransferRow->Show(counts.written, counts.queued);
    m_pTransferRow->SetCounters(m_nBytesSentBefore + counts.written, m_nBytesReceived);
}

void CVelkaroDlg::OnTransferProgress(const PortMessage& message) {
    (void)message;
    RefreshTransferRow();
}

void CVelkaroDlg::OnTransferDone(const PortMessage& message) {
    if (m_nOwnStops > 0 && message.end == TransferEnd::Stopped) {
        --m_nOwnStops;  // already counted and shown when the window stopped it
    } else if (IsActiveTransfer(message)) {
        m_nBytesSentBefore += message.written;
        const QString counts = QCoreApplication::translate("velkaro::CVelkaroDlg", "%1 / %2 字节")
                                   .arg(message.written)
                                   .arg(message.queued);
        if (message.end == TransferEnd::Stopped) {
            m_strStatus =
                QCoreApplication::translate("velkaro::CVelkaroDlg", "已停止：已发送 ") + counts;
            m_lblStatus->setText(m_strStatus);
        } else if (message.end == TransferEnd::FileShrank) {
            ShowError(QCoreApplication::translate("velkaro::CVelkaroDlg",
                                                  "文件在发送中变短，发送已停止：已发送 ") +
                      counts);
        } else if (message.end == TransferEnd::FileReadFailed) {
            ShowError(QCoreApplication::translate("velkaro::CVelkaroDlg",
                                                  "文件读取失败，发送已停止：已发送 ") +
                      counts);
        }
    }
    RefreshTransferRow();
    if (m_fnAfterDrain && ActiveSender().Idle()) std::exchange(m_fnAfterDrain, nullptr)();
}

void CVelkaroDlg::OnDeviceLost(const PortMessage& message) {
    const bool parallel = m_strPortType == QLatin1String("LPT");
    if (IsActiveTransfer(message) && (m_bPortOpen || parallel)) {
        m_nBytesSentBefore += message.written;
        if (!parallel) {  // every parallel send opens the node anew
            m_bPortOpen = 0;
            UpdateStatus();
        }
        const std::uint64_t undelivered = message.queued - message.written;
        ShowError(undelivered > 0
                      ? QCoreApplication::translate("velkaro::CVelkaroDlg",
                                                    "与打印机的连接已断开，%1 字节未送达。")
                            .arg(undelivered)
                      : QCoreApplication::translate("velkaro::CVelkaroDlg",
                                                    "与打印机的连接已断开，没有未送达的数据。"));
    }
    RefreshTransferRow();
    if (m_fnAfterDrain && ActiveSender().Idle()) std::exchange(m_fnAfterDrain, nullptr)();
}

void CVelkaroDlg::OnBnClickedStopSending() {
    const Transfer::Counts counts = ActiveSender().Stop();
    if (counts.queued > 0) {
        ++m_nOwnStops;
        m_nBytesSentBefore += counts.written;
        m_strStatus =
            QCoreApplication::translate("velkaro::CVelkaroDlg", "已停止：已发送 %1 / %2 字节")
                .arg(counts.written)
                .arg(counts.queued);
        m_lblStatus->setText(m_strStatus);
    }
    RefreshTransferRow();
    if (m_fnAfterDrain) std::exchange(m_fnAfterDrain, nullptr)();
}

bool CVelkaroDlg::ConfirmDropQueued(std::function<void()> action) {
    Transfer& sender = ActiveSender();
    const std::uint64_t pending = sender.Pending();
    if (sender.Idle() || pending == 0) return true;
    const int answer = m_ui.AskWithButtons(
        this,
        QCoreApplication::translate(
            "velkaro::CVelkaroDlg",
            "还有 %1 字节尚未发送到打印机。\n等待发送完成后继续，还是放弃这些数据？")
            .arg(pending),
        {QCoreApplication::translate("velkaro::CVelkaroDlg", "等待发送完成"),
         QCoreApplication::translate("velkaro::CVelkaroDlg", "放弃发送")});
    if (answer == 0) {  // carried on by OnTransferDone once the queue has drained
        m_fnAfterDrain = std::move(action);
        return false;
    }
    if (answer != 1) return false;
    const Transfer::Counts counts = sender.Stop();
    if (counts.queued > 0) {
        ++m_nOwnStops;
        m_nBytesSentBefore += counts.written;
    }
    RefreshTransferRow();
    return true;
}

}  // namespace velkaro
