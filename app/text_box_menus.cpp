// The context menus of the send and receive boxes: the box's own editing items, then the
// window's items for that box. The text encoding is one choice shown in both ("发送编码" in
// the send box, "显示编码" in the receive box).
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <memory>

#include "app/receive_view.h"
#include "app/text_encoding.h"
#include "app/velkaro_dlg.h"
#include "window_services/ui_services.h"

namespace velkaro {
namespace {

const char kCharsetProperty[] = "velkaroCharset";

// A submenu of the offered encodings, the current one checked.
QMenu* AddEncodingMenu(QMenu& menu, const QString& title, const QByteArray& current) {
    QMenu* encodings = menu.addMenu(title);
    auto* group = new QActionGroup(encodings);
    for (const TextEncoding& encoding : TextEncodings()) {
        QAction* item = encodings->addAction(encoding.label);
        item->setCheckable(true);
        item->setChecked(encoding.name == current);
        item->setProperty(kCharsetProperty, encoding.name);
        group->addAction(item);
    }
    return encodings;
}

// The encoding an item of AddEncodingMenu stands for; empty for any other item.
QByteArray ChosenCharset(const QAction* chosen) {
    return chosen ? chosen->property(kCharsetProperty).toByteArray() : QByteArray();
}

}  // namespace

void CVelkaroDlg::ConnectTextBoxMenus() {
    m_edtSend->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_edtSend, &QWidget::customContextMenuRequested, this, &CVelkaroDlg::OnSendBoxMenu);
    m_pReceiveView->SetMenuExtension([this](QMenu& menu) {
        menu.addSeparator();
        QMenu* encodings = AddEncodingMenu(
            menu, QCoreApplication::translate("velkaro::CVelkaroDlg", "显示编码"), m_charset);
        for (QAction* item : encodings->actions())
            connect(item, &QAction::triggered, this,
                    [this, item] { SetCharset(ChosenCharset(item)); });
        AddPrinterStatusItem(menu);
    });
}

void CVelkaroDlg::OnSendBoxMenu(const QPoint& at) {
    std::unique_ptr<QMenu> menu(m_edtSend->createStandardContextMenu(at));
    menu->addSeparator();
    AddEncodingMenu(*menu, QCoreApplication::translate("velkaro::CVelkaroDlg", "发送编码"),
                    m_charset);
    QAction* chosen = m_ui.PopupMenu(*menu, m_edtSend->viewport()->mapToGlobal(at));
    if (const QByteArray charset = ChosenCharset(chosen); !charset.isEmpty()) SetCharset(charset);
}

void CVelkaroDlg::OnReceiveBoxMenu(const QPoint& at) {
    m_pReceiveView->PopupMenu(at);
}

void CVelkaroDlg::SetCharset(const QByteArray& charset) {
    m_charset = charset;
    m_pReceiveView->SetCharset(charset);
}

}  // namespace velkaro
