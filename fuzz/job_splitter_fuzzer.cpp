// Feeds the printer's stream splitter arbitrary bytes, whole and cut into pieces whose sizes the
// input itself chooses. Both must cut the stream into the same units, and the units together
// with what is still held must be every byte that went in but blanks between units.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "printer_language/job_splitter.h"

using namespace velkaro::printer_language;

namespace {

struct Cut {
    std::string units;  // each unit's kind and bytes, one after another
    std::size_t bytes = 0;
};

JobSplitter::Sink Collect(Cut& cut) {
    return [&cut](const StreamUnit& unit) {
        cut.units += static_cast<char>('0' + static_cast<int>(unit.kind));
        cut.units += std::string(unit.bytes) + '\x1e';
        cut.bytes += unit.bytes.size();
    };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const LanguageSet languages{(data[0] & 1) != 0 || (data[0] & 6) == 0, (data[0] & 2) != 0,
                                (data[0] & 4) != 0};
    const std::size_t piece = data[1] % 17 + 1;
    const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);

    JobSplitter whole(languages);
    Cut wholeCut;
    whole.Feed(input, Collect(wholeCut));

    JobSplitter pieces(languages);
    Cut pieceCut;
    for (std::size_t at = 0; at < input.size(); at += piece)
        pieces.Feed(input.substr(at, piece), Collect(pieceCut));

    if (wholeCut.units != pieceCut.units || whole.Pending() != pieces.Pending()) __builtin_trap();
    std::size_t blanks = 0;
    for (const char c : input) blanks += c == ' ' || c == '\t' || c == '\r' || c == '\n';
    const std::size_t kept = wholeCut.bytes + whole.Pending();
    if (kept > input.size() || kept + blanks < input.size()) __builtin_trap();
    return 0;
}
