#include "widgets/resize_anchors.h"

#include <QDialog>
#include <QEvent>
#include <cmath>

namespace velkaro {

ResizeAnchors::ResizeAnchors(QDialog* dialog) : QObject(dialog), dialog_(dialog) {}

void ResizeAnchors::SetAnchor(QWidget* control, QPointF topLeft, QPointF bottomRight) {
    if (control) anchors_.push_back({control, control->geometry(), topLeft, bottomRight});
}

void ResizeAnchors::SetBottomInset(QWidget* control, int pixels) {
    for (Anchor& anchor : anchors_)
        if (anchor.control == control) anchor.bottomInset = pixels;
    if (!initialSize_.isEmpty()) Apply();
}

void ResizeAnchors::Activate() {
    initialSize_ = dialog_->size();
    dialog_->setMinimumSize(initialSize_);
    dialog_->setSizeGripEnabled(true);
    dialog_->installEventFilter(this);
}

bool ResizeAnchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ && event->type() == QEvent::Resize) Apply();
    return QObject::eventFilter(watched, event);
}

void ResizeAnchors::Apply() {
    const int dx = dialog_->width() - initialSize_.width();
    const int dy = dialog_->height() - initialSize_.height();
    auto share = [](double fraction, int growth) {
        return static_cast<int>(std::lround(fraction * growth));
    };
    dialog_->setUpdatesEnabled(false);  // move them all as one batch, then repaint once
    for (const Anchor& anchor : anchors_) {
        const QRect& r = anchor.initial;
        const int left = r.left() + share(anchor.topLeft.x(), dx);
        const int top = r.top() + share(anchor.topLeft.y(), dy);
        const int right = r.left() + r.width() + share(anchor.bottomRight.x(), dx);
        const int bottom =
            r.top() + r.height() + share(anchor.bottomRight.y(), dy) - anchor.bottomInset;
        anchor.control->setGeometry(left, top, right - left, bottom - top);
    }
    dialog_->setUpdatesEnabled(true);
}

}  // namespace velkaro
