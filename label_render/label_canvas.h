// One label's dots while it is being drawn: fields are drawn in their own upright coordinates
// and placed on the label turned by quarter turns, in black, white or inverting what is below.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QTransform>
#include <memory>

#include "label_render/label_barcodes.h"

namespace velkaro::label {

enum class Ink { Black, White, Invert };

// How text of one font and size is drawn: upright, with the top of its cell at y = 0.
struct TextStyle {
    QFont font;
    double scaleX = 1.0;  // horizontal stretch applied to the face
    double height = 0;    // cell height in dots
    double baseline = 0;  // from the top of the cell
    double advance = 0;   // fixed character advance in dots; 0: proportional
};

// A scalable face `height` dots tall and `width` dots wide per character (ZPL font 0).
TextStyle ScalableText(double height, double width);
// A monospace face with cells `cellWidth` x `cellHeight` and `gap` dots between characters.
TextStyle MonospaceText(double cellHeight, double cellWidth, double gap);
double TextWidth(const TextStyle& style, const QString& text);

// Where a field goes: `origin` on the label is either the top-left corner of the turned field's
// bounding box, or the image of `localAnchor` (a point of the upright field).
struct Placement {
    QPointF origin;
    int quarterTurns = 0;  // clockwise
    bool anchorAtPoint = false;
    QPointF localAnchor;
    bool anchorTopLeft = false;  // turn about the field's own top-left corner instead
};

class LabelCanvas {
  public:
    LabelCanvas(int widthDots, int heightDots);
    ~LabelCanvas();
    LabelCanvas(const LabelCanvas&) = delete;
    LabelCanvas& operator=(const LabelCanvas&) = delete;

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    bool Drawn() const { return m_drawn; }
    void Clear();
    // Changes the label's size, keeping what is drawn already.
    void Resize(int widthDots, int heightDots);
    // The finished label, optionally turned upside down, as a 1-bit image.
    QImage Finish(bool upsideDown);

    // Starts a field of upright size `size` placed as given; the drawing calls below use the
    // field's upright coordinates until the next Begin.
    void Begin(const QSizeF& size, const Placement& placement, Ink ink);
    void FillRect(const QRectF& rect);
    void FillPath(const QPainterPath& path);
    void DrawText(const TextStyle& style, const QString& text, const QPointF& topLeft);
    void DrawBars(const BarcodeDrawing& barcode, const QPointF& topLeft);

  private:
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    bool m_drawn = false;
};

}  // namespace velkaro::label
