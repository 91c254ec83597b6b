// The --size option of `render`: "4x6in", "100x150mm", or "4x6" (inches).
#pragma once

#include <optional>
#include <string>

namespace velkaro::cli {

struct LabelSizeMm {
    double width = 0;
    double height = 0;
};

std::optional<LabelSizeMm> ParseLabelSize(const std::string& text);

}  // namespace velkaro::cli
