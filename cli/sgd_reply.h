// Reading Set-Get-Do getvar replies from a byte stream: each is a value in double quotes.
#pragma once

#include <optional>
#include <string>

namespace velkaro::cli {

// Takes the first complete quoted value from the front of `stream` (and anything before it)
// and returns it without its quotes; nothing while the closing quote has not arrived.
std::optional<std::string> TakeQuotedValue(std::string* stream);

}  // namespace velkaro::cli
