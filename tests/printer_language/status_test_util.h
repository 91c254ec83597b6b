// Helpers for the status decoder tests: field lookup and a compact view of a reply.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printer_language/status_reply.h"

namespace velkaro::printer_language::test {

inline const StatusField* FieldOf(const StatusReply& reply, const std::string& key) {
    for (const StatusField& field : reply.fields)
        if (field.key == key) return &field;
    return nullptr;
}

// Everything a reply says, as one string, so two replies compare in one assertion.
inline std::string Describe(const StatusReply& reply) {
    std::string text = std::string(ReplyKindKey(reply.kind)) + (reply.decoded ? "" : " undecoded") +
                       " [" + reply.summary + "] raw=" + reply.raw + "\n";
    for (const StatusField& f : reply.fields)
        text += "  " + f.key + "|" + f.name + "|" + f.raw + "|" + f.meaning + "|" +
                SeverityKey(f.severity) + "\n";
    return text;
}

inline std::string Describe(const std::vector<StatusReply>& replies) {
    std::string text;
    for (const StatusReply& reply : replies) text += Describe(reply);
    return text;
}

}  // namespace velkaro::printer_language::test
