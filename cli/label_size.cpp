#include "cli/label_size.h"

#include <cmath>
#include <cstdlib>

namespace velkaro::cli {
namespace {

constexpr double kMmPerInch = 25.4;

std::optional<double> Positive(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || value <= 0 || value > 10000) return std::nullopt;
    return value;
}

}  // namespace

std::optional<LabelSizeMm> ParseLabelSize(const std::string& text) {
    std::string numbers = text;
    double scale = kMmPerInch;
    const auto endsWith = [&](const char* unit) {
        const std::string suffix(unit);
        return numbers.size() > suffix.size() &&
               numbers.compare(numbers.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    if (endsWith("mm")) {
        scale = 1;
        numbers.resize(numbers.size() - 2);
    } else if (endsWith("in")) {
        numbers.resize(numbers.size() - 2);
    }
    const std::size_t x = numbers.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    const auto width = Positive(numbers.substr(0, x));
    const auto height = Positive(numbers.substr(x + 1));
    if (!width || !height) return std::nullopt;
    return LabelSizeMm{*width * scale, *height * scale};
}

}  // namespace velkaro::cli
