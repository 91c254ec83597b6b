// What the printer sends back, and the end of a network connection.
#include "app/receive_view.h"
#include "app/velkaro_dlg.h"
#include "status/printer_status_window.h"

namespace velkaro {

void CVelkaroDlg::OnPortData(const PortMessage& message) {
    m_nBytesReceived += message.bytes.size();
    RefreshTransferRow();
    m_pReceiveView->Append(message.bytes.data(), static_cast<qsizetype>(message.bytes.size()));
    m_pStatusWindow->Feed(message.bytes.data(), message.bytes.size());
}

void CVelkaroDlg::OnBnClickedClearReceive() {
    m_pReceiveView->Clear();
}

void CVelkaroDlg::OnSocketClosed(const PortMessage& message) {
    // A notice from a connection that was already replaced or closed says nothing about the
    // current one.
    if (message.connection != m_nSocketConnection) return;
    m_nSocketConnection = 0;
    m_bPortOpen = 0;
    UpdateStatus();
}

}  // namespace velkaro
