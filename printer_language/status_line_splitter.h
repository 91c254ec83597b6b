// Cuts a byte stream into lines at CR, LF or CR LF, bounded in length: a longer line comes out
// cut short and marked so, and the rest of it up to its end is dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::printer_language {

class LineSplitter {
  public:
    struct Line {
        std::string text;  // without the line end
        std::string raw;   // as received, line end included
        bool tooLong = false;
    };

    explicit LineSplitter(std::size_t maxLength) : maxLength_(maxLength) {}

    // Appends each line that `bytes` ends; empty lines are skipped.
    void Feed(std::string_view bytes, std::vector<Line>& lines);
    // The unended last line, if any; the splitter then starts afresh.
    bool TakeRest(Line* line);

  private:
    const std::size_t maxLength_;
    Line current_;
    bool dropping_ = false;
};

}  // namespace velkaro::printer_language
