#include "virtual_printer/label_facts.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace velkaro::virtual_printer {
namespace {

// The number after the last occurrence of the two-letter ZPL command `code` (any case).
std::optional<long> LastZplNumber(std::string_view job, char first, char second) {
    for (std::size_t at = job.rfind('^'); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : job.rfind('^', at - 1)) {
        if (at + 3 < job.size() && std::toupper(static_cast<unsigned char>(job[at + 1])) == first &&
            std::toupper(static_cast<unsigned char>(job[at + 2])) == second &&
            std::isdigit(static_cast<unsigned char>(job[at + 3])))
            return std::strtol(std::string(job.substr(at + 3, 12)).c_str(), nullptr, 10);
    }
    return std::nullopt;
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
