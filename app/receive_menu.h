// The receive box's context menu: the views, saving and logging the received bytes, and how
// much the view keeps.
#pragma once

#include <QPoint>
#include <functional>

class QMenu;

namespace velkaro {

class IUiServices;
class ReceiveView;

// Adds the window's own items at the end of the menu; they act through their triggered signal.
using ReceiveMenuExtension = std::function<void(QMenu&)>;

// Pops the menu up at `at` (screen) and carries out the chosen item.
void PopupReceiveMenu(ReceiveView& view, IUiServices& ui, const QPoint& at,
                      const ReceiveMenuExtension& extension = {});

}  // namespace velkaro
