// velkaro-cli status DEVICE [--lang zpl|epl|cpcl] [--json] [--timeout S]
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/report.h"
#include "cli/status_report.h"
#include "cli/stop_signal.h"
#include "printer_language/printer_queries.h"
#include "printer_language/status_stream.h"

namespace velkaro::cli {
namespace {

namespace pl = printer_language;

struct Query {
    std::string bytes;
    pl::ReplyKind reply;
};

// What each language is asked, in order, and which reply answers each question.
std::vector<Query> QueriesFor(const std::string& language) {
    if (language == "epl") return {{pl::kEplErrorReport, pl::ReplyKind::EplErrorReport}};
    if (language == "cpcl") return {{pl::kCpclStatus, pl::ReplyKind::CpclStatus}};
    return {{pl::kZplHostStatus, pl::ReplyKind::ZplHostStatus},
            {pl::kZplHostQueryStatus, pl::ReplyKind::ZplHostQueryStatus}};
}

bool Answered(const std::vector<pl::StatusReply>& replies, pl::ReplyKind kind) {
    return std::any_of(replies.begin(), replies.end(),
                       [kind](const pl::StatusReply& reply) { return reply.kind == kind; });
}

}  // namespace

int RunStatus(const Arguments& args) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, {"--lang", "--timeout"}, {"--json"}, &line, &error))
        return UsageError("status", error);
    if (line.operands.size() != 1) return UsageError("status", "give one DEVICE");
    const std::string language = line.Value("--lang", "zpl");
    if (language != "zpl" && language != "epl" && language != "cpcl")
        return UsageError("status", "--lang is zpl, epl or cpcl");
    const auto timeoutMs = SecondsToMs(line.Value("--timeout", "3"));
    if (!timeoutMs) return UsageError("status", "bad --timeout (seconds)");
    const std::string& device = line.operands[0];

    const EventFd& stop = StopOnSignals();
    int exitCode = kExitOk;
    const auto link = OpenReceivingDevice(device, "it cannot read a printer's status", &exitCode);
    if (!link) return exitCode;

    // The replies of one language come back in the order asked; unframed ones are decoded only
    // as the answer to their own question, so each query waits for its answer (or the
    // deadline) before the next one is sent.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(*timeoutMs);
    StatusReport report{device, language, {}};
    pl::StatusStream stream;
    bool connectionLost = false;
    for (const Query& query : QueriesFor(language)) {
        if (pl::IsUnframed(query.reply)) stream.Expect(query.reply);
        if (!link->Write(query.bytes, stop)) {
            connectionLost = !stop.IsSignalled();
            break;
        }
        while (!Answered(report.replies, query.reply)) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) break;
            std::string bytes;
            const DeviceLink::Wait wait =
                link->Receive(&bytes, static_cast<int>(left.count()), stop);
            if (wait == DeviceLink::Wait::Closed) connectionLost = true;
            if (wait != DeviceLink::Wait::Data) break;
            for (pl::StatusReply& reply : stream.Feed(bytes))
                if (reply.kind == query.reply || !reply.decoded)
                    report.replies.push_back(std::move(reply));
        }
        if (!Answered(report.replies, query.reply)) break;  // no use asking on
    }
    if (stop.IsSignalled()) return kExitFailed;

    if (report.replies.empty()) {
        ReportError(device, connectionLost
                                ? "the connection was closed before the printer answered"
                                : "no status reply within " + line.Value("--timeout", "3") + " s");
        return connectionLost ? kExitConnection : kExitNoReply;
    }
    const std::string out =
        line.Has("--json") ? FormatStatusJson(report) : FormatStatusTable(report);
    if (!WriteFully(STDOUT_FILENO, out)) return kExitFailed;
    if (!report.AllDecoded()) {
        ReportError(device, "the printer's reply could not be read");
        return kExitNoReply;
    }
    return report.Ready() ? kExitOk : kExitFailed;
}

}  // namespace velkaro::cli
