#include "app/connect_gate.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace velkaro {
namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

}  // namespace

ConnectGate::ConnectGate(QWidget* window, QWidget* openButton, std::function<void()> cancel)
    : window_(window), openButton_(openButton), cancel_(std::move(cancel)) {
    QCoreApplication::instance()->installEventFilter(this);
}

ConnectGate::~ConnectGate() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool ConnectGate::eventFilter(QObject* watched, QEvent* event) {
    if (!IsUserInput(event->type())) return false;
    if (watched == openButton_) return false;  // the button's own click cancels the attempt
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == window_) {
            cancel_();
            return true;
        }
    }
    return true;
}

}  // namespace velkaro
