// Sending the send box or a whole file over the open connection, byte for byte.

#include <QPlainTextEdit>
#include <climits>

#include "app/locale_text.h"
#include "app/velkaro_dlg.h"
#include "platform/device_names.h"
#include "platform/file_reader.h"
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
    const QByteArray bytes = EncodeForPrinter(text, m_charset);
    SendBlock(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void CVelkaroDlg::OnBnClickedSendFile() {
    UpdateData(true);
    if (!m_bPortOpen) {
        ShowError(tr("端口未打开！"));
        return;
    }
    const QString path = m_ui.GetOpenFileName(this);
    if (path.isEmpty()) return;
    std::string content;
    switch (ReadWholeFile(path.toStdString(), &content)) {
        case FileReadResult::Ok:
            break;
        case FileReadResult::CannotOpen:
            ShowError(tr("文件打开失败！"));
            return;
        case FileReadResult::TooLarge:
            ShowError(tr("文件太大，无法发送！没有发送任何数据。"));
            return;
        case FileReadResult::ReadFailed:
            ShowError(tr("文件读取失败！没有发送任何数据。"));
            return;
    }
    SendBlock(content.data(), content.size());
}

void CVelkaroDlg::SendBlock(const char* data, std::size_t length) {
    if (m_strPortType == QLatin1String("COM"))
        m_SerialPort.Write(data, length);
    else if (m_strPortType == QLatin1String("LPT"))
        SendParallel(data, length);
    else if (m_strPortType == QLatin1String("USB"))
        m_USBPort.Write(data, length);
    else if (m_strPortType == QLatin1String("ETHERNET"))
        m_SocketComm.Send(data, static_cast<int>(std::min<std::size_t>(length, INT_MAX)));
}

void CVelkaroDlg::SendParallel(const char* data, std::size_t length) {
    if (!m_ParallelPort.Open(PortNumberFromName(m_strLptPort.toStdString(), "LPT"))) {
        ShowError(tr("端口打开失败"));
        m_bPortOpen = 0;
        UpdateStatus();
        return;
    }
    m_ParallelPort.Write(data, length);
    m_ParallelPort.Close();  // the device closes once the block has drained
}

}  // namespace velkaro
