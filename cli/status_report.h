// How `status` shows decoded replies: a table for people, JSON for scripts, and the overall
// verdict behind the exit code.
#pragma once

#include <string>
#include <vector>

#include "printer_language/status_reply.h"

namespace velkaro::cli {

struct StatusReport {
    std::string device;
    std::string language;  // "zpl", "epl", "cpcl"
    std::vector<printer_language::StatusReply> replies;

    // Ready only when every reply was decoded and none reports an error or a warning.
    bool Ready() const;
    bool AllDecoded() const;
    // The faults of all replies joined, or "就绪".
    std::string Summary() const;
    printer_language::Severity WorstSeverity() const;
};

std::string FormatStatusTable(const StatusReport& report);
std::string FormatStatusJson(const StatusReport& report);

// Columns of terminal text: East Asian wide characters take two cells.
std::size_t DisplayWidth(const std::string& utf8);

}  // namespace velkaro::cli
