// ZPL's framed replies: ~HS (three strings), ~HQES (error and warning flags) and ~HI (model,
// firmware, resolution, memory). Each string travels between STX and ETX, or between the
// literal texts "<STX>" and "<ETX>" that some emulators send; bytes outside frames are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "printer_language/status_decoder.h"

namespace velkaro::printer_language {

// Finds STX ... ETX frames in a stream cut anywhere.
class StxEtxFramer {
  public:
    struct Frame {
        std::string body;  // between the markers
        std::string raw;   // with the markers as received
        bool complete = true;
    };
    static constexpr std::size_t kMaxBody = 4096;

    // Appends finished frames; a frame cut short by a new STX, or longer than kMaxBody, comes
    // out with complete = false.
    void Feed(std::string_view bytes, std::vector<Frame>& frames);
    // Ends the input: an open frame comes out incomplete.
    void Finish(std::vector<Frame>& frames);

  private:
    void Open(std::string marker);
    void Close(std::size_t markerLength, std::vector<Frame>& frames);
    void Abandon(std::vector<Frame>& frames);

    bool inFrame_ = false;
    std::string body_;
    std::string opening_;
    std::size_t literalMatch_ = 0;  // how much of "<STX>" was seen outside a frame
};

class ZplStatusDecoder : public StatusDecoder {
  public:
    void Feed(std::string_view bytes, std::vector<StatusReply>& replies) override;
    void Finish(std::vector<StatusReply>& replies) override;

  private:
    void OnFrame(StxEtxFramer::Frame frame, std::vector<StatusReply>& replies);
    void DropHostStatus(std::vector<StatusReply>& replies);

    StxEtxFramer framer_;
    std::vector<StxEtxFramer::Frame> hostStatus_;  // the ~HS strings seen so far, in order
};

// Decoding of single frames, also used on their own.
StatusReply DecodeZplHostStatus(const std::string& string1, const std::string& string2,
                                const std::string& string3, std::string raw);
StatusReply DecodeZplHostQueryStatus(std::string_view body, std::string raw);
StatusReply DecodeZplHostIdentification(std::string_view body, std::string raw);

}  // namespace velkaro::printer_language
