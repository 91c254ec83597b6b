// CPCL's replies: ESC h and ESC i each answer one status byte, ESC v a NUL-terminated model
// and version string. A status byte carries no framing, so this decoder takes every byte it is
// fed as one reply: feed it only what follows the query.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "printer_language/status_decoder.h"

namespace velkaro::printer_language {

class CpclStatusDecoder : public StatusDecoder {
  public:
    // `kind` is CpclStatus (ESC h) or CpclExtendedStatus (ESC i).
    explicit CpclStatusDecoder(ReplyKind kind) : kind_(kind) {}
    void Feed(std::string_view bytes, std::vector<StatusReply>& replies) override;
    void Finish(std::vector<StatusReply>&) override {}

  private:
    const ReplyKind kind_;
};

class CpclVersionDecoder : public StatusDecoder {
  public:
    static constexpr std::size_t kMaxLength = 256;

    void Feed(std::string_view bytes, std::vector<StatusReply>& replies) override;
    void Finish(std::vector<StatusReply>& replies) override;

  private:
    std::string text_;
    bool tooLong_ = false;
};

StatusReply DecodeCpclStatusByte(unsigned char status);
StatusReply DecodeCpclExtendedStatusByte(unsigned char status);
StatusReply DecodeCpclVersion(std::string_view text, std::string raw);

}  // namespace velkaro::printer_language
