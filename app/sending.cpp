// Sending the send box or a file over the open connection, byte for byte; files stream from
// disk in the background.

#include <QCoreApplication>
#include <QPlainTextEdit>

#include "app/receive_view.h"
#include "app/text_encoding.h"
#include "app/velkaro_dlg.h"
#include "platform/device_names.h"
#include "window_services/ui_services.h"

namespace velkaro {

void CVelkaroDlg::OnBnClickedSendData() {
    UpdateData(true);
    if (!m_bPortOpen) return;
    if (m_strSendData.isEmpty()) {
        m_ui.MessageBox(this, tr("无数据可发送！"), IUiServices::Icon::Exclamation);
        return;
    }
    // A line break typed with Enter goes out as CR LF; nothing else is added or interpreted.
    QString text = m_strSendData;
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    QString unencodable;
    const auto bytes = EncodeExactly(text, m_charset, &unencodable);
    if (!bytes) {  // never a silent substitute: the printer would print something else
        ShowError(UnencodableMessage(unencodable, m_charset));
        return;
    }
    SendToPrinter(*bytes);
}

void CVelkaroDlg::OnBnClickedSendFile() {
    UpdateData(true);
    if (!m_bPortOpen) {
        ShowError(tr("端口未打开！"));
        return;
    }
    const QString path = m_ui.GetOpenFileName(this);
    if (path.isEmpty()) return;
    SendToPrinter(QByteArray(), path);
}

bool CVelkaroDlg::SendToPrinter(const QByteArray& bytes, const QString& filePath) {
    const std::string path = filePath.toStdString();
    std::string block(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    Transfer::Result result = Transfer::Result::NoDevice;
    const auto send = [&](auto& port) {
        result = path.empty() ? port.SendBytes(std::move(block)) : port.SendFile(path);
    };
    if (m_strPortType == QLatin1String("COM")) {
        send(m_SerialPort);
    } else if (m_strPortType == QLatin1String("LPT")) {
        if (!m_ParallelPort.Open(PortNumberFromName(m_strLptPort.toStdString(), "LPT"))) {
            ShowError(QCoreApplication::translate("velkaro::CVelkaroDlg", "端口打开失败"));
            m_bPortOpen = 0;
            UpdateStatus();
            return false;
        }
        send(m_ParallelPort);
        m_ParallelPort.Close();  // the device closes once the queue has drained
    } else if (m_strPortType == QLatin1String("USB")) {
        send(m_USBPort);
    } else if (m_strPortType == QLatin1String("ETHERNET")) {
        send(m_SocketComm);
    }
    switch (result) {
        case Transfer::Result::Queued:
            if (path.empty()) m_pReceiveView->AppendSent(bytes);
            RefreshTransferRow();
            return true;
        case Transfer::Result::Empty:
            if (!path.empty())
                m_ui.MessageBox(this,
                                QCoreApplication::translate("velkaro::CVelkaroDlg",
                                                            "文件为空，没有发送任何数据。"),
                                IUiServices::Icon::Information);
            return false;
        case Transfer::Result::Full:
            m_ui.MessageBox(this,
                            QCoreApplication::translate("velkaro::CVelkaroDlg",
                                                        "打印机未接收数据，发送队列已满（16 MB），"
                                                        "本次数据没有发送。"),
                            IUiServices::Icon::Exclamation);
            return false;
        case Transfer::Result::CannotOpen:
            ShowError(QCoreApplication::translate("velkaro::CVelkaroDlg", "文件打开失败！"));
            return false;
        case Transfer::Result::NoDevice:
            return false;
    }
    return false;
}

}  // namespace velkaro
