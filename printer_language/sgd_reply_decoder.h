// The answer to a Set-Get-Do getvar: the value in double quotes; "?" means the printer does
// not know the variable. White space between answers is skipped; anything else outside quotes
// comes out undecoded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "printer_language/status_decoder.h"

namespace velkaro::printer_language {

class SgdReplyDecoder : public StatusDecoder {
  public:
    static constexpr std::size_t kMaxValue = 4096;

    // `name` is the variable asked for; it names the field.
    explicit SgdReplyDecoder(std::string name) : name_(std::move(name)) {}
    void Feed(std::string_view bytes, std::vector<StatusReply>& replies) override;
    void Finish(std::vector<StatusReply>& replies) override;

  private:
    void FlushStray(std::vector<StatusReply>& replies);

    const std::string name_;
    bool inValue_ = false;
    bool tooLong_ = false;
    std::string value_;
    std::string stray_;
};

StatusReply DecodeSgdValue(const std::string& name, std::string_view value, std::string raw);

}  // namespace velkaro::printer_language
