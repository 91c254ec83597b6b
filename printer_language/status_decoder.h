// The common face of the status decoders: bytes go in, in pieces cut anywhere; complete replies
// come out. Bytes that are not a reply are skipped or come out as undecoded replies; no input
// makes a decoder guess, grow without bound or crash.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "printer_language/status_reply.h"

namespace velkaro::printer_language {

class StatusDecoder {
  public:
    virtual ~StatusDecoder() = default;

    // Appends every reply that `bytes` completes to `replies`.
    virtual void Feed(std::string_view bytes, std::vector<StatusReply>& replies) = 0;
    // The input has ended: a reply that ends only with its input (EPL UQ) is completed, a
    // reply cut short comes out undecoded. The decoder then starts afresh.
    virtual void Finish(std::vector<StatusReply>& replies) = 0;

    std::vector<StatusReply> Decode(std::string_view bytes) {
        std::vector<StatusReply> replies;
        Feed(bytes, replies);
        return replies;
    }
    std::vector<StatusReply> Finish() {
        std::vector<StatusReply> replies;
        Finish(replies);
        return replies;
    }
};

// The decoder for one kind of reply; `sgdName` names the variable a getvar asked for.
std::unique_ptr<StatusDecoder> MakeStatusDecoder(ReplyKind kind, const std::string& sgdName = {});

}  // namespace velkaro::printer_language
