#include "app/receive_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

#include "app/receive_view.h"
#include "window_services/ui_services.h"

namespace velkaro {
namespace {

constexpr quint64 kCapsMb[] = {1, 8, 64, 512};

QAction* AddCheckItem(QMenu& menu, const QString& text, bool checked) {
    QAction* action = menu.addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

void SaveReceived(ReceiveView& view, IUiServices& ui) {
    const QString path = ui.GetSaveFileName(&view, QStringLiteral("received.bin"));
    if (path.isEmpty()) return;
    if (!view.SaveReceived(path))
        ui.MessageBox(&view, QCoreApplication::translate("velkaro::ReceiveMenu", "文件保存失败！"),
                      IUiServices::Icon::Error);
}

void ToggleLog(ReceiveView& view, IUiServices& ui) {
    if (view.Logging()) {
        view.StopLog();
        return;
    }
    const QString path = ui.GetSaveFileName(&view, QStringLiteral("received.log"));
    if (path.isEmpty()) return;
    if (!view.StartLog(path))
        ui.MessageBox(&view, QCoreApplication::translate("velkaro::ReceiveMenu", "文件打开失败！"),
                      IUiServices::Icon::Error);
}

}  // namespace

void PopupReceiveMenu(ReceiveView& view, IUiServices& ui, const QPoint& at,
                      const ReceiveMenuExtension& extension) {
    QMenu menu(&view);
    QAction* hex = AddCheckItem(
        menu, QCoreApplication::translate("velkaro::ReceiveMenu", "十六进制显示(&H)"), view.Hex());
    QAction* times =
        AddCheckItem(menu, QCoreApplication::translate("velkaro::ReceiveMenu", "显示时间戳(&T)"),
                     view.Timestamps());
    QAction* sent =
        AddCheckItem(menu, QCoreApplication::translate("velkaro::ReceiveMenu", "显示发送数据(&S)"),
                     view.ShowSent());
    QAction* find =
        menu.addAction(QCoreApplication::translate("velkaro::ReceiveMenu", "查找(&F)…"));
    find->setShortcut(QKeySequence::Find);
    menu.addSeparator();
    QAction* save =
        menu.addAction(QCoreApplication::translate("velkaro::ReceiveMenu", "保存接收数据(&A)…"));
    QAction* log =
        AddCheckItem(menu, QCoreApplication::translate("velkaro::ReceiveMenu", "记录到文件(&L)…"),
                     view.Logging());
    menu.addSeparator();
    auto* caps = new QActionGroup(&menu);
    QAction* capItems[std::size(kCapsMb)];
    for (std::size_t i = 0; i < std::size(kCapsMb); ++i) {
        capItems[i] = AddCheckItem(
            menu,
            QCoreApplication::translate("velkaro::ReceiveMenu", "视图保留 %1 MB").arg(kCapsMb[i]),
            view.Cap() == kCapsMb[i] << 20);
        caps->addAction(capItems[i]);
    }
    if (extension) extension(menu);

    QAction* chosen = ui.PopupMenu(menu, at);
    if (!chosen) return;
    const bool own = chosen == hex || chosen == times || chosen == sent || chosen == find ||
                     chosen == save || chosen == log || chosen->actionGroup() == caps;
    if (!own) {  // an item the window added acts on its own
        chosen->trigger();
        return;
    }
    // The view's own state decides, not the item's check mark: the item may not have toggled.
    if (chosen == hex) view.SetHex(!view.Hex());
    if (chosen == times) view.SetTimestamps(!view.Timestamps());
    if (chosen == sent) view.SetShowSent(!view.ShowSent());
    if (chosen == find) view.ShowFindBar();
    if (chosen == save) SaveReceived(view, ui);
    if (chosen == log) ToggleLog(view, ui);
    for (std::size_t i = 0; i < std::size(kCapsMb); ++i)
        if (chosen == capItems[i]) view.SetCap(kCapsMb[i] << 20);
}

}  // namespace velkaro
