// EPL's replies: the error report of "^ee" (two-digit codes joined by commas, perhaps with the
// labels remaining as "Pnnn", ended by CR LF) and the configuration lines of "UQ", which have no
// end of their own and so end with the input.
#pragma once

#include <string_view>
#include <vector>

#include "printer_language/status_decoder.h"
#include "printer_language/status_line_splitter.h"

namespace velkaro::printer_language {

class EplErrorReportDecoder : public StatusDecoder {
  public:
    void Feed(std::string_view bytes, std::vector<StatusReply>& replies) override;
    void Finish(std::vector<StatusReply>& replies) override;

  private:
    LineSplitter lines_{256};
};

class EplConfigurationDecoder : public StatusDecoder {
  public:
    static constexpr std::size_t kMaxLines = 256;

    void Feed(std::string_view bytes, std::vector<StatusReply>& replies) override;
    void Finish(std::vector<StatusReply>& replies) override;

  private:
    LineSplitter splitter_{256};
    std::vector<LineSplitter::Line> lines_;
    bool overflow_ = false;
};

StatusReply DecodeEplErrorLine(std::string_view line, std::string raw);
StatusReply DecodeEplConfiguration(const std::vector<std::string>& lines, std::string raw);

}  // namespace velkaro::printer_language
