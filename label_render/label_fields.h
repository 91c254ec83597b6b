// Fields every language has: a line of text, a barcode with its interpretation line, and
// boxes and lines, drawn onto a canvas at a placement.
#pragma once

#include <QString>

#include "label_render/label_barcodes.h"
#include "label_render/label_canvas.h"

namespace velkaro::label {

// One line of text. With placement.anchorAtPoint the anchor is the left end of the baseline.
// `onBand`: white text on a black band the size of the text (reverse text).
void DrawTextLine(LabelCanvas& canvas, const TextStyle& style, const QString& text,
                  Placement placement, Ink ink, bool onBand = false);

enum class Interpretation { None, Below, Above };

// A barcode; with placement.anchorAtPoint the anchor is the bottom-left corner of the bars.
void DrawBarcodeField(LabelCanvas& canvas, const BarcodeDrawing& barcode,
                      Interpretation interpretation, const TextStyle& textStyle,
                      Placement placement, Ink ink);

// The interpretation line's face for bars `narrow` dots wide.
TextStyle InterpretationStyle(int narrow);

// A rectangle frame `thickness` dots thick (filled when thick enough), with corners rounded
// by `radius` dots.
void DrawBox(LabelCanvas& canvas, double width, double height, double thickness, double radius,
             const Placement& placement, Ink ink);
// An ellipse ring of `thickness` dots inside a `width` x `height` box.
void DrawEllipse(LabelCanvas& canvas, double width, double height, double thickness,
                 const Placement& placement, Ink ink);
// A line from `from` to `to` (label coordinates) `thickness` dots wide.
void DrawLine(LabelCanvas& canvas, QPointF from, QPointF to, double thickness, Ink ink);

}  // namespace velkaro::label
