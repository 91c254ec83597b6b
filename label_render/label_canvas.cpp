#include "label_render/label_canvas.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>

#include "label_render/label_fonts.h"

namespace velkaro::label {
namespace {

// Cap letters of both faces fill about three quarters of the cell, as printer fonts do.
constexpr double kBaselineShare = 0.8;

}  // namespace

TextStyle ScalableText(double height, double width) {
    TextStyle style;
    height = std::max(1.0, height);
    style.font = ScalableFont(height);
    style.height = height;
    style.baseline = height * kBaselineShare;
    style.scaleX = width > 0 ? width / height : 1.0;
    return style;
}

TextStyle MonospaceText(double cellHeight, double cellWidth, double gap) {
    TextStyle style;
    cellHeight = std::max(1.0, cellHeight);
    style.font = MonospaceFont(cellHeight);
    style.height = cellHeight;
    style.baseline = cellHeight * kBaselineShare;
    const double natural = QFontMetricsF(style.font).horizontalAdvance(QLatin1Char('M'));
    style.scaleX = natural > 0 ? std::max(1.0, cellWidth) / natural : 1.0;
    style.advance = std::max(1.0, cellWidth) + std::max(0.0, gap);
    return style;
}

double TextWidth(const TextStyle& style, const QString& text) {
    if (style.advance > 0) return style.advance * text.size();
    return QFontMetricsF(style.font).horizontalAdvance(text) * style.scaleX;
}

LabelCanvas::LabelCanvas(int widthDots, int heightDots)
    : m_size(std::max(1, widthDots), std::max(1, heightDots)) {}

LabelCanvas::~LabelCanvas() = default;

void LabelCanvas::Clear() {
    // The dots are allocated again when the next label draws something: a job may change the
    // label size many times, or print many empty labels, without costing a full label each.
    m_painter.reset();
    m_image = QImage();
    m_drawn = false;
}

void LabelCanvas::Resize(int widthDots, int heightDots) {
    const QSize size(std::max(1, widthDots), std::max(1, heightDots));
    if (size == m_size) return;
    m_size = size;
    if (m_image.isNull()) return;
    m_painter.reset();
    QImage resized(m_size, QImage::Format_RGB32);
    resized.fill(Qt::white);
    {
        QPainter copy(&resized);
        copy.drawImage(0, 0, m_image);
    }
    m_image = std::move(resized);
}

QPainter& LabelCanvas::Painter() {
    if (!m_painter) {
        if (m_image.isNull()) {
            m_image = QImage(m_size, QImage::Format_RGB32);
            m_image.fill(Qt::white);
        }
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setPen(Qt::NoPen);
    }
    return *m_painter;
}

QImage LabelCanvas::Finish(bool upsideDown) {
    m_painter.reset();
    QImage label;
    if (m_image.isNull()) {
        label = QImage(m_size, QImage::Format_Mono);
        label.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        label.fill(0);
        return label;
    }
    label = m_image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    if (upsideDown) label = label.transformed(QTransform().rotate(180));
    return label;
}

void LabelCanvas::Begin(const QSizeF& size, const Placement& placement, Ink ink) {
    const QTransform turn = QTransform().rotate(90.0 * (((placement.quarterTurns % 4) + 4) % 4));
    QPointF shift;
    if (placement.anchorTopLeft) {
        shift = placement.origin;
    } else if (placement.anchorAtPoint) {
        shift = placement.origin - turn.map(placement.localAnchor);
    } else {
        shift = placement.origin - turn.mapRect(QRectF(QPointF(0, 0), size)).topLeft();
    }
    QPainter& painter = Painter();
    painter.setTransform(turn * QTransform::fromTranslate(shift.x(), shift.y()));
    const QColor color = ink == Ink::Black ? QColor(Qt::black) : QColor(Qt::white);
    painter.setCompositionMode(ink == Ink::Invert ? QPainter::RasterOp_SourceXorDestination
                                                  : QPainter::CompositionMode_SourceOver);
    painter.setBrush(color);
    painter.setPen(color);
    m_drawn = true;
}

void LabelCanvas::FillRect(const QRectF& rect) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    m_painter->fillRect(rect, m_painter->brush());
}

void LabelCanvas::FillPath(const QPainterPath& path) {
    m_painter->fillPath(path, m_painter->brush());
}

void LabelCanvas::DrawText(const TextStyle& style, const QString& text, const QPointF& topLeft) {
    if (text.isEmpty()) return;
    m_painter->save();
    m_painter->translate(topLeft.x(), topLeft.y() + style.baseline);
    m_painter->scale(style.scaleX, 1.0);
    m_painter->setFont(style.font);
    if (style.advance > 0) {
        const double step = style.advance / style.scaleX;
        for (int i = 0; i < text.size(); ++i) {
            // Keep surrogate pairs together.
            if (text.at(i).isLowSurrogate()) continue;
            const int length = text.at(i).isHighSurrogate() ? 2 : 1;
            m_painter->drawText(QPointF(step * i, 0), text.mid(i, length));
        }
    } else {
        m_painter->drawText(QPointF(0, 0), text);
    }
    m_painter->restore();
}

void LabelCanvas::DrawBars(const BarcodeDrawing& barcode, const QPointF& topLeft) {
    for (const QRect& bar : barcode.bars) FillRect(QRectF(bar).translated(topLeft));
}

}  // namespace velkaro::label
