#include "cli/sgd_reply.h"

namespace velkaro::cli {

std::optional<std::string> TakeQuotedValue(std::string* stream) {
    const std::size_t open = stream->find('"');
    if (open == std::string::npos) return std::nullopt;
    const std::size_t close = stream->find('"', open + 1);
    if (close == std::string::npos) return std::nullopt;
    std::string value = stream->substr(open + 1, close - open - 1);
    stream->erase(0, close + 1);
    return value;
}

}  // namespace velkaro::cli
