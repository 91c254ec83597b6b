#include "cli/escapes.h"

#include <cctype>

namespace velkaro::cli {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::string> DecodeEscapes(const std::string& text, std::string* error) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        const char kind = i + 1 < text.size() ? text[i + 1] : '\0';
        switch (kind) {
            case 'r':
                bytes += '\r';
                break;
            case 'n':
                bytes += '\n';
                break;
            case 't':
                bytes += '\t';
                break;
            case '\\':
                bytes += '\\';
                break;
            case 'x': {
                const int high = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
                const int low = i + 3 < text.size() ? HexValue(text[i + 3]) : -1;
                if (high < 0 || low < 0) {
                    *error =
                        "\\x needs two hexadecimal digits (at offset " + std::to_string(i) + ")";
                    return std::nullopt;
                }
                bytes += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                *error = "unknown escape \\" + std::string(kind ? 1 : 0, kind) + " at offset " +
                         std::to_string(i) + " (\\r \\n \\t \\\\ \\xHH)";
                return std::nullopt;
        }
        ++i;
    }
    return bytes;
}

}  // namespace velkaro::cli
