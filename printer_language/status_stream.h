// Watches everything a printer sends and picks out its status replies. ZPL's replies carry
// their own framing and are found wherever they appear, whoever asked for them. EPL, CPCL and
// Set-Get-Do replies carry none, so they are decoded only when expected: after sending such a
// query, say which reply comes next.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "printer_language/status_decoder.h"
#include "printer_language/zpl_status_decoder.h"

namespace velkaro::printer_language {

class StatusStream {
  public:
    // The next reply of an unframed kind is decoded as `kind` (a getvar's with `sgdName`).
    // ZPL kinds need no expectation: those replies are always found.
    void Expect(ReplyKind kind, const std::string& sgdName = {});
    void CancelExpected() { expected_.reset(); }
    bool Expecting() const { return expected_ != nullptr; }

    std::vector<StatusReply> Feed(std::string_view bytes);

  private:
    ZplStatusDecoder zpl_;
    std::unique_ptr<StatusDecoder> expected_;
};

// True for the kinds that need an expectation.
bool IsUnframed(ReplyKind kind);

}  // namespace velkaro::printer_language
