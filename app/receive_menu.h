// The receive box's context menu: the views, saving and logging the received bytes, and how
// much the view keeps.
#pragma once

#include <QPoint>

class QMenu;

namespace velkaro {

class IUiServices;
class ReceiveView;

// Pops the menu up at `at` (screen) and carries out the chosen item.
void PopupReceiveMenu(ReceiveView& view, IUiServices& ui, const QPoint& at);

}  // namespace velkaro
