// Keeps controls anchored while their dialog is resized: when the client area has grown by
// (dx, dy) since Activate(), a control's left/top edges move by its top-left fractions of that
// growth and its right/bottom edges by its bottom-right fractions. The size at activation is
// the dialog's minimum size, and a size grip sits in the lower-right corner.
#pragma once

#include <QObject>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

class QDialog;

namespace velkaro {

class ResizeAnchors : public QObject {
  public:
    explicit ResizeAnchors(QDialog* dialog);
    void SetAnchor(QWidget* control, QPointF topLeft, QPointF bottomRight);
    void Activate();
    // Raises an anchored control's bottom edge by `pixels` (0 restores it), now and after every
    // resize, to make room for something shown below it for a while.
    void SetBottomInset(QWidget* control, int pixels);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Anchor {
        QWidget* control;
        QRect initial;
        QPointF topLeft;
        QPointF bottomRight;
        int bottomInset = 0;
    };
    void Apply();

    QDialog* dialog_;
    QSize initialSize_;
    std::vector<Anchor> anchors_;
};

}  // namespace velkaro
