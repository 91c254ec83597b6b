// What the status window says about the replies it shows: the one-line summary, and raw bytes
// in a readable form.
#pragma once

#include <string>
#include <vector>

#include "printer_language/status_reply.h"

namespace velkaro {

// The faults of all replies, each named once, joined by " · "; without faults, the replies'
// own summaries ("就绪" once however many say it).
std::string CombinedSummary(const std::vector<printer_language::StatusReply>& replies);
printer_language::Severity CombinedSeverity(
    const std::vector<printer_language::StatusReply>& replies);

// Control bytes spelled out: STX as "<STX>", ETX as "<ETX>", CR LF as "<CR><LF>", others as
// "<0x1B>".
std::string ReadableBytes(const std::string& raw);

}  // namespace velkaro
