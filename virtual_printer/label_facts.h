// What a label job says about the paper it uses: how many labels it prints and how long they
// are.
#pragma once

#include <optional>
#include <string_view>

#include "printer_language/printer_queries.h"

namespace velkaro::virtual_printer {

// Labels a job prints: ZPL ^PQ, EPL P<n>, CPCL's header quantity; at least 1.
long LabelQuantity(printer_language::Language language, std::string_view job);

// The label length a ZPL job sets with ^LL, in dots.
std::optional<int> ZplLabelLength(std::string_view job);

}  // namespace velkaro::virtual_printer
