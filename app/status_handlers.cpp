// The "打印机状态" tool window: opened from the "状态" button and the receive box's context
// menu, sending its queries over the open connection and watching everything received.
#include <QAction>
#include <QMenu>
#include <memory>

#include "app/velkaro_dlg.h"
#include "status/printer_status_window.h"
#include "window_services/ui_services.h"

namespace velkaro {

void CVelkaroDlg::BuildStatusWindow() {
    m_pStatusWindow = new PrinterStatusWindow(
        [this](const std::string& bytes) {
            if (!m_bPortOpen) return false;
            return SendToPrinter(QByteArray::fromStdString(bytes));
        },
        this);
}

void CVelkaroDlg::OnBnClickedPrinterStatus() {
    m_pStatusWindow->show();
    m_pStatusWindow->raise();
    m_pStatusWindow->activateWindow();
}

// The receive box's context menu item; it acts through its triggered signal.
QAction* CVelkaroDlg::AddPrinterStatusItem(QMenu& menu) {
    menu.addSeparator();
    QAction* item = menu.addAction(tr("打印机状态"));
    connect(item, &QAction::triggered, this, &CVelkaroDlg::OnBnClickedPrinterStatus);
    return item;
}

}  // namespace velkaro
