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
    : m_image(std::max(1, widthDots), std::max(1, heightDots), QImage::Format_RGB32) {
    Clear();
}

LabelCanvas::~LabelCanvas() = default;

void LabelCanvas::Clear() {
    m_painter.reset();
    m_image.fill(Qt::white);
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, false);
    m_painter->setPen(Qt::NoPen);
    m_drawn = false;
}

void LabelCanvas::Resize(int widthDots, int heightDots) {
    widthDots = std::max(1, widthDots);
    heightDots = std::max(1, heightDots);
    if (widthDots == m_image.width() && heightDots == m_image.height()) return;
    m_painter.reset();
    QImage resized(widthDots, heightDots, QImage::Format_RGB32);
    resized.fill(Qt::white);
    {
        QPainter copy(&resized);
        copy.drawImage(0, 0, m_image);
    }
    m_image = std::move(resized);
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, false);
    m_painter->setPen(Qt::NoPen);
}

QImage LabelCanvas::Finish(bool upsideDown) {
    m_painter->end();
    QImage label = m_image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    if (upsideDown) label = label.transformed(QTransform().rotate(180));
    m_painter->begin(&m_image);
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
    m_painter->setTransform(turn * QTransform::fromTranslate(shift.x(), shift.y()));
    const QColor color = ink == Ink::Black ? QColor(Qt::black) : QColor(Qt::white);
    m_painter->setCompositionMode(ink == Ink::Invert ? QPainter::RasterOp_SourceXorDestination
                                                     : QPainter::CompositionMode_SourceOver);
    m_painter->setBrush(color);
    m_painter->setPen(color);
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
