#include "widgets/artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace velkaro {
namespace {

QPixmap Canvas(QSize size, qreal scale) {
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap DrawAppIcon(int size) {
    QPixmap pixmap = Canvas(QSize(size, size), 1.0);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // printer body
    p.setPen(QPen(QColor(40, 44, 52), 2));
    p.setBrush(QColor(70, 78, 92));
    p.drawRoundedRect(QRectF(6, 8, 52, 30), 6, 6);
    p.setBrush(QColor(30, 200, 120));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(50, 16), 3, 3);
    // label coming out of the slot
    p.setBrush(QColor(20, 22, 26));
    p.drawRect(QRectF(12, 34, 40, 3));
    p.setPen(QPen(QColor(120, 120, 120), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(14, 35, 36, 25));
    // barcode
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const double bars[] = {2, 1, 1, 3, 1, 2, 2, 1, 3, 1, 1, 2, 1, 1};
    double x = 18;
    for (int i = 0; i < 14 && x < 46; ++i) {
        if (i % 2 == 0) p.drawRect(QRectF(x, 39, bars[i], 15));
        x += bars[i] + 0.6;
    }
    return pixmap;
}

QPixmap DrawPin(bool pressed, qreal scale) {
    QPixmap pixmap = Canvas(kPinSize, scale);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor head(200, 30, 30);
    const QColor rim(120, 10, 10);
    if (pressed) {
        // seen from above: the head, its rim and a small shadow where it meets the surface
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawEllipse(QRectF(5, 5, 9, 9));
        p.setPen(QPen(rim, 1));
        p.setBrush(head);
        p.drawEllipse(QRectF(3, 3, 9, 9));
        p.setBrush(QColor(255, 150, 150));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(5, 5, 3, 3));
    } else {
        // lying on its side: head at the left, needle pointing right
        p.setPen(QPen(QColor(90, 90, 90), 1.2));
        p.drawLine(QPointF(9, 7.5), QPointF(15, 7.5));
        p.setPen(QPen(rim, 1));
        p.setBrush(head);
        p.drawRect(QRectF(5, 5, 4, 5));
        p.drawRoundedRect(QRectF(1, 3, 4, 9), 1.5, 1.5);
    }
    return pixmap;
}

QIcon PinIcon(bool pressed) {
    QIcon icon;
    icon.addPixmap(DrawPin(pressed, 1.0));
    icon.addPixmap(DrawPin(pressed, 2.0));
    return icon;
}

}  // namespace

QIcon AppIcon() {
    static const QIcon icon = [] {
        QIcon result;
        for (int size : {16, 20, 24, 32, 40, 48, 64, 96, 128, 256})
            result.addPixmap(DrawAppIcon(size));
        return result;
    }();
    return icon;
}

QIcon PinPressedIcon() {
    return PinIcon(true);
}
QIcon PinLyingIcon() {
    return PinIcon(false);
}

}  // namespace velkaro
