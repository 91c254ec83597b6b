// Feeds a status decoder arbitrary bytes, whole and cut into pieces whose sizes the input
// itself chooses. Both must give the same replies, and an undecoded reply has no fields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "printer_language/status_decoder.h"

using namespace velkaro::printer_language;

namespace {

std::string Describe(const std::vector<StatusReply>& replies) {
    std::string text;
    for (const StatusReply& reply : replies) {
        if (!reply.decoded && !reply.fields.empty()) __builtin_trap();
        if (reply.summary.empty() && reply.decoded && reply.kind != ReplyKind::SgdValue)
            __builtin_trap();
        text += std::string(ReplyKindKey(reply.kind)) + reply.summary + '\x1f' + reply.raw + '\x1e';
        for (const StatusField& f : reply.fields)
            text += f.key + '\x1f' + f.raw + '\x1f' + f.meaning + SeverityKey(f.severity) + '\x1e';
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = data[0] % 17 + 1;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

    auto whole = MakeStatusDecoder(ReplyKind::FUZZ_REPLY_KIND, "media.status");
    std::vector<StatusReply> wholeReplies = whole->Decode(input);
    whole->Finish(wholeReplies);

    auto pieces = MakeStatusDecoder(ReplyKind::FUZZ_REPLY_KIND, "media.status");
    std::vector<StatusReply> pieceReplies;
    for (std::size_t at = 0; at < input.size(); at += piece)
        pieces->Feed(input.substr(at, piece), pieceReplies);
    pieces->Finish(pieceReplies);

    if (Describe(wholeReplies) != Describe(pieceReplies)) __builtin_trap();
    return 0;
}
