#include "printer_language/status_line_splitter.h"

namespace velkaro::printer_language {

void LineSplitter::Feed(std::string_view bytes, std::vector<Line>& lines) {
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (current_.raw.empty()) continue;  // the LF of CR LF, or an empty line
            if (!dropping_) current_.raw += c;
            lines.push_back(std::move(current_));
            current_ = Line();
            dropping_ = false;
            continue;
        }
        if (dropping_) continue;
        if (current_.text.size() == maxLength_) {
            current_.tooLong = true;
            dropping_ = true;
            continue;
        }
        current_.text += c;
        current_.raw += c;
    }
}

bool LineSplitter::TakeRest(Line* line) {
    const bool any = !current_.raw.empty();
    *line = std::move(current_);
    current_ = Line();
    dropping_ = false;
    return any;
}

}  // namespace velkaro::printer_language
