#include "status/status_summary.h"

#include <algorithm>
#include <cstdio>

namespace velkaro {

using printer_language::Severity;
using printer_language::StatusReply;

namespace {

void AddOnce(std::vector<std::string>& list, const std::string& text) {
    if (!text.empty() && std::find(list.begin(), list.end(), text) == list.end())
        list.push_back(text);
}

}  // namespace

std::string CombinedSummary(const std::vector<StatusReply>& replies) {
    std::vector<std::string> faults, quiet;
    for (const StatusReply& reply : replies) {
        for (const std::string& fault : reply.faults) AddOnce(faults, fault);
        AddOnce(quiet, reply.summary);
    }
    return printer_language::JoinFaults(faults.empty() ? quiet : faults);
}

Severity CombinedSeverity(const std::vector<StatusReply>& replies) {
    Severity worst = Severity::Ok;
    for (const StatusReply& reply : replies) worst = std::max(worst, reply.severity);
    return worst;
}

std::string ReadableBytes(const std::string& raw) {
    std::string text;
    for (const char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0x02) {
            text += "<STX>";
        } else if (u == 0x03) {
            text += "<ETX>";
        } else if (c == '\r') {
            text += "<CR>";
        } else if (c == '\n') {
            text += "<LF>";
        } else if (u < 0x20 || u == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<0x%02X>", u);
            text += hex;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace velkaro
