#include "label_render/label_fields.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <algorithm>

namespace velkaro::label {

void DrawTextLine(LabelCanvas& canvas, const TextStyle& style, const QString& text,
                  Placement placement, Ink ink, bool onBand) {
    if (text.isEmpty()) return;
    placement.localAnchor = QPointF(0, style.baseline);
    const QSizeF size(TextWidth(style, text), style.height);
    canvas.Begin(size, placement, onBand ? Ink::Invert : ink);
    if (onBand) canvas.FillRect(QRectF(QPointF(0, 0), size));
    canvas.DrawText(style, text, QPointF(0, 0));
}

TextStyle InterpretationStyle(int narrow) {
    const int magnification = std::max(1, narrow / 2);
    return MonospaceText(18.0 * magnification, 10.0 * magnification, 2.0 * magnification);
}

void DrawBarcodeField(LabelCanvas& canvas, const BarcodeDrawing& barcode,
                      Interpretation interpretation, const TextStyle& textStyle,
                      Placement placement, Ink ink) {
    if (!barcode.ok) return;
    const bool withText = interpretation != Interpretation::None && !barcode.twoDimensional &&
                          !barcode.humanReadable.isEmpty();
    const double textWidth = withText ? TextWidth(textStyle, barcode.humanReadable) : 0;
    const double gap = withText ? std::max(2.0, textStyle.height / 6) : 0;
    const double textBand = withText ? textStyle.height + gap : 0;
    const double width = std::max<double>(barcode.width, textWidth);
    const double barsTop = interpretation == Interpretation::Above ? textBand : 0;
    const double barsLeft = (width - barcode.width) / 2;
    placement.localAnchor = QPointF(barsLeft, barsTop + barcode.height);
    canvas.Begin(QSizeF(width, barcode.height + textBand), placement, ink);
    canvas.DrawBars(barcode, QPointF(barsLeft, barsTop));
    if (withText) {
        const double textTop = interpretation == Interpretation::Above ? 0 : barcode.height + gap;
        canvas.DrawText(textStyle, barcode.humanReadable,
                        QPointF((width - textWidth) / 2, textTop));
    }
}

void DrawBox(LabelCanvas& canvas, double width, double height, double thickness, double radius,
             const Placement& placement, Ink ink) {
    thickness = std::max(1.0, thickness);
    width = std::max(width, thickness);
    height = std::max(height, thickness);
    canvas.Begin(QSizeF(width, height), placement, ink);
    const bool solid = thickness * 2 >= std::min(width, height);
    if (radius > 0) {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        path.addRoundedRect(QRectF(0, 0, width, height), radius, radius);
        if (!solid) {
            const double inner = std::max(0.0, radius - thickness);
            path.addRoundedRect(
                QRectF(thickness, thickness, width - 2 * thickness, height - 2 * thickness), inner,
                inner);
        }
        canvas.FillPath(path);
        return;
    }
    if (solid) {
        canvas.FillRect(QRectF(0, 0, width, height));
        return;
    }
    // Four strips that do not overlap, so an inverting box inverts each dot once.
    canvas.FillRect(QRectF(0, 0, width, thickness));
    canvas.FillRect(QRectF(0, height - thickness, width, thickness));
    canvas.FillRect(QRectF(0, thickness, thickness, height - 2 * thickness));
    canvas.FillRect(QRectF(width - thickness, thickness, thickness, height - 2 * thickness));
}

void DrawEllipse(LabelCanvas& canvas, double width, double height, double thickness,
                 const Placement& placement, Ink ink) {
    thickness = std::max(1.0, thickness);
    width = std::max(width, thickness);
    height = std::max(height, thickness);
    canvas.Begin(QSizeF(width, height), placement, ink);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addEllipse(QRectF(0, 0, width, height));
    if (thickness * 2 < std::min(width, height)) {
        path.addEllipse(
            QRectF(thickness, thickness, width - 2 * thickness, height - 2 * thickness));
    }
    canvas.FillPath(path);
}

void DrawLine(LabelCanvas& canvas, QPointF from, QPointF to, double thickness, Ink ink) {
    thickness = std::max(1.0, thickness);
    Placement atOrigin;
    atOrigin.anchorAtPoint = true;
    canvas.Begin(QSizeF(1, 1), atOrigin, ink);
    if (from.x() == to.x() || from.y() == to.y()) {
        // Straight lines grow right and down from their ends, as the printers draw them.
        const QRectF span = QRectF(from, to).normalized();
        canvas.FillRect(
            from.y() == to.y()
                ? QRectF(span.left(), span.top(), std::max(1.0, span.width()), thickness)
                : QRectF(span.left(), span.top(), thickness, std::max(1.0, span.height())));
        return;
    }
    const QPointF direction = to - from;
    const double length = std::hypot(direction.x(), direction.y());
    const QPointF normal(-direction.y() / length * thickness, direction.x() / length * thickness);
    QPainterPath path;
    path.addPolygon(QPolygonF({from, to, to + normal, from + normal}));
    path.closeSubpath();
    canvas.FillPath(path);
}

}  // namespace velkaro::label
