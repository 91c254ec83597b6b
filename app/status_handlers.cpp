// The "打印机状态" tool window: opened from the "状态" button and the receive box's context
// menu, sending its queries over the open connection and watching everything received.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <memory>

#include "app/velkaro_dlg.h"
#include "status/printer_status_window.h"
#include "window_services/ui_services.h"

namespace velkaro {

void CVelkaroDlg::BuildStatusWindow() {
    m_pStatusWindow = new PrinterStatusWindow(
        [this](const std::string& bytes) {
            if (!m_bPortOpen) return false;
            SendBlock(bytes.data(), bytes.size());
            return true;
        },
        this);
    m_edtReceive->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_edtReceive, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { OnReceiveContextMenu(pos); });
}

void CVelkaroDlg::OnBnClickedPrinterStatus() {
    m_pStatusWindow->show();
    m_pStatusWindow->raise();
    m_pStatusWindow->activateWindow();
}

QAction* CVelkaroDlg::AddPrinterStatusItem(QMenu& menu) {
    menu.addSeparator();
    return menu.addAction(tr("打印机状态"));
}

// The receive box's own menu (copy, select all) with the window's items below it.
void CVelkaroDlg::OnReceiveContextMenu(const QPoint& pos) {
    const std::unique_ptr<QMenu> menu(m_edtReceive->createStandardContextMenu(pos));
    QAction* status = AddPrinterStatusItem(*menu);
    QAction* chosen = m_ui.PopupMenu(*menu, m_edtReceive->viewport()->mapToGlobal(pos));
    if (chosen && chosen == status) OnBnClickedPrinterStatus();
}

}  // namespace velkaro
