// velkaro-cli getvar DEVICE NAME... [--json] [--timeout S] / setvar DEVICE NAME VALUE
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <chrono>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/report.h"
#include "cli/sgd_reply.h"
#include "cli/stop_signal.h"
#include "printer_language/printer_queries.h"

namespace velkaro::cli {
namespace {

const std::string kUnknownVariable = "?";  // what a printer answers for a name it does not know

enum class Answer { Value, NoReply, Stopped, Closed };

// Waits for the next quoted value, at most `timeoutMs` in all.
Answer AwaitValue(DeviceLink& link, std::string* stream, int timeoutMs, const EventFd& stop,
                  std::string* value) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (auto found = TakeQuotedValue(stream)) {
            *value = std::move(*found);
            return Answer::Value;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return Answer::NoReply;
        switch (link.Receive(stream, static_cast<int>(left.count()), stop)) {
            case DeviceLink::Wait::Data:
                break;
            case DeviceLink::Wait::TimedOut:
                return Answer::NoReply;
            case DeviceLink::Wait::Stopped:
                return Answer::Stopped;
            case DeviceLink::Wait::Closed:
                return Answer::Closed;
        }
    }
}

}  // namespace

int RunGetvar(const Arguments& args) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, {"--timeout"}, {"--json"}, &line, &error))
        return UsageError("getvar", error);
    if (line.operands.size() < 2) return UsageError("getvar", "give DEVICE and at least one NAME");
    const auto timeoutMs = SecondsToMs(line.Value("--timeout", "3"));
    if (!timeoutMs) return UsageError("getvar", "bad --timeout (seconds)");
    const std::string& device = line.operands[0];
    const bool json = line.Has("--json");
    const bool several = line.operands.size() > 2;

    const EventFd& stop = StopOnSignals();
    int exitCode = kExitOk;
    const auto link = OpenReceivingDevice(device, "it cannot read a printer's answer", &exitCode);
    if (!link) return exitCode;

    QJsonObject values;
    std::string stream;
    std::string text;
    for (std::size_t i = 1; i < line.operands.size(); ++i) {
        const std::string& name = line.operands[i];
        const std::string query = printer_language::SgdGetvar(name);
        if (!link->Write(query, stop)) {
            ReportError(device, "connection lost while asking for " + name);
            return kExitConnection;
        }
        std::string value;
        const QString key = QString::fromStdString(name);
        switch (AwaitValue(*link, &stream, *timeoutMs, stop, &value)) {
            case Answer::Value:
                break;
            case Answer::NoReply:
                ReportError(device, "no answer for " + name + " within " +
                                        line.Value("--timeout", "3") + " s");
                return kExitNoReply;
            case Answer::Stopped:
                return kExitFailed;
            case Answer::Closed:
                ReportError(device, "the connection was closed");
                return kExitConnection;
        }
        if (value == kUnknownVariable) {
            ReportError(device, name + " is not supported by the printer");
            exitCode = kExitFailed;
            values.insert(key, QJsonValue::Null);
            continue;
        }
        values.insert(key, QString::fromUtf8(value.data(), static_cast<int>(value.size())));
        text += (several ? name + ": " : std::string()) + value + '\n';
    }
    const std::string out = json ? QJsonDocument(values).toJson().toStdString() : text;
    if (!WriteFully(STDOUT_FILENO, out)) return kExitFailed;
    return exitCode;
}

int RunSetvar(const Arguments& args) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, {}, {}, &line, &error)) return UsageError("setvar", error);
    if (line.operands.size() != 3) return UsageError("setvar", "give DEVICE, NAME and VALUE");
    const std::string& device = line.operands[0];
    const EventFd& stop = StopOnSignals();
    int exitCode = kExitOk;
    const auto link = OpenDevice(device, &exitCode);
    if (!link) return exitCode;
    const std::string command = printer_language::SgdSetvar(line.operands[1], line.operands[2]);
    if (!link->Write(command, stop)) {
        ReportError(device, stop.IsSignalled() ? "stopped" : "connection lost while sending");
        return stop.IsSignalled() ? kExitFailed : kExitConnection;
    }
    return kExitOk;
}

}  // namespace velkaro::cli
