#include "virtual_printer/label_facts.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace velkaro::virtual_printer {
namespace {

// The number after the last occurrence of the two-letter ZPL command `first``second` (any
// case). One forward pass with memchr: jobs can be megabytes of graphics.
std::optional<long> LastZplNumber(std::string_view job, char first, char second) {
    std::optional<long> number;
    const char* const begin = job.data();
    const char* const end = begin + job.size();
    for (const char* at = begin; end - at > 3; ++at) {
        at = static_cast<const char*>(std::memchr(at, '^', static_cast<std::size_t>(end - at - 3)));
        if (!at) break;
        if (std::toupper(static_cast<unsigned char>(at[1])) == first &&
            std::toupper(static_cast<unsigned char>(at[2])) == second &&
            std::isdigit(static_cast<unsigned char>(at[3])))
            number =
                std::strtol(std::string(at + 3, std::min<std::ptrdiff_t>(12, end - at - 3)).c_str(),
                            nullptr, 10);
    }
    return number;
}

long AtLeastOne(long count) {
    return count > 0 ? count : 1;
}

}  // namespace

long LabelQuantity(printer_language::Language language, std::string_view job) {
    using printer_language::Language;
    switch (language) {
        case Language::Zpl:
            return AtLeastOne(LastZplNumber(job, 'P', 'Q').value_or(1));
        case Language::Epl: {
            // The job's last line is "P<n>" or "P<n>,<copies>".
            std::size_t at = job.find_last_not_of("\r\n");
            at = at == std::string_view::npos ? 0 : job.rfind('\n', at);
            at = at == std::string_view::npos ? 0 : at + 1;
            return AtLeastOne(
                std::strtol(std::string(job.substr(at + 1, 12)).c_str(), nullptr, 10));
        }
        case Language::Cpcl: {
            // "! offset horizontal-dpi vertical-dpi height quantity"
            const std::string header(job.substr(0, job.find('\n')));
            const char* cursor = header.c_str() + 1;
            char* end = nullptr;
            long value = 1;
            for (int field = 0; field < 5; ++field, cursor = end) {
                value = std::strtol(cursor, &end, 10);
                if (end == cursor) return 1;
            }
            return AtLeastOne(value);
        }
    }
    return 1;
}

std::optional<int> ZplLabelLength(std::string_view job) {
    const auto length = LastZplNumber(job, 'L', 'L');
    if (!length || *length <= 0) return std::nullopt;
    return static_cast<int>(*length);
}

}  // namespace velkaro::virtual_printer
