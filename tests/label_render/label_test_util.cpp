#include "label_render/label_test_util.h"

#include <gtest/gtest.h>

namespace velkaro::label::test {

bool Black(const QImage& label, int x, int y) {
    return label.valid(x, y) && qGray(label.pixel(x, y)) < 128;
}

QRect InkBounds(const QImage& label, QRect area) {
    if (area.isEmpty()) area = label.rect();
    area &= label.rect();
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!Black(label, x, y)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

std::multiset<int> BarWidths(const QImage& label, int y) {
    std::multiset<int> widths;
    int run = 0;
    for (int x = 0; x <= label.width(); ++x) {
        if (x < label.width() && Black(label, x, y)) {
            ++run;
        } else if (run > 0) {
            widths.insert(run);
            run = 0;
        }
    }
    return widths;
}

QImage RenderOne(const std::string& job, const RenderOptions& options) {
    const RenderResult result = Render(job, options);
    EXPECT_EQ(result.labels.size(), 1u) << job;
    for (const NotUnderstood& item : result.notUnderstood) {
        ADD_FAILURE() << "not understood: " << item.command.toStdString() << " at " << item.offset
                      << " in " << job;
    }
    return result.labels.empty() ? QImage() : result.labels.front();
}

}  // namespace velkaro::label::test
