// What the three language readers share: the job, the options, the result they fill and the
// limits that keep a hostile job from taking all memory.
#pragma once

#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "label_render/label_canvas.h"
#include "label_render/label_render.h"

namespace velkaro::label {

// Labels are at most this many dots in area (a 4 x 6 in label at 24 dots/mm has 8.9 million)
// and a job shows at most this many labels.
constexpr long kMaxLabelArea = 16'000'000;
constexpr int kMaxLabelSide = 16'000;
constexpr std::size_t kMaxLabels = 200;

struct LabelSize {
    int width = 0;
    int height = 0;
};

// The size a label of `widthDots` x `heightDots` is drawn at, within the limits.
LabelSize BoundedSize(long widthDots, long heightDots);

class JobContext {
  public:
    JobContext(const std::string& job, const RenderOptions& options, RenderResult& result);

    const std::string& job;
    const RenderOptions& options;
    RenderResult& result;

    int DotsPerMm() const { return m_dotsPerMm; }
    LabelSize DefaultSize() const { return m_defaultSize; }

    void NotUnderstood(const QString& command, std::size_t offset, std::size_t length);
    // Adds the canvas's label to the result (if there is room) and clears the canvas.
    void EmitLabel(LabelCanvas& canvas, bool upsideDown);

  private:
    int m_dotsPerMm;
    LabelSize m_defaultSize;
};

// A decimal number at the start of `text` (leading spaces allowed), or `fallback`.
int ParseInt(const QString& text, int fallback);
double ParseDouble(const QString& text, double fallback);

}  // namespace velkaro::label
