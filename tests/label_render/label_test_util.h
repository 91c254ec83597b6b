// Looking at rendered labels: single dots, the box around everything black, bar widths.
#pragma once

#include <QImage>
#include <QRect>
#include <set>
#include <string>

#include "label_render/label_render.h"

namespace velkaro::label::test {

bool Black(const QImage& label, int x, int y);
// The smallest rectangle holding every black dot within `area` (whole label if empty).
QRect InkBounds(const QImage& label, QRect area = {});
// The widths of the black runs along row `y`.
std::multiset<int> BarWidths(const QImage& label, int y);
// Renders a job that must give exactly one label and nothing not understood.
QImage RenderOne(const std::string& job, const RenderOptions& options = {});

}  // namespace velkaro::label::test
