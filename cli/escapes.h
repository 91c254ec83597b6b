// The escapes `send --escapes` reads in its text: \r \n \t \\ and \xHH.
#pragma once

#include <optional>
#include <string>

namespace velkaro::cli {

// The bytes `text` stands for, or nothing with `error` naming the first bad escape.
std::optional<std::string> DecodeEscapes(const std::string& text, std::string* error);

}  // namespace velkaro::cli
