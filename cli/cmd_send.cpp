// velkaro-cli send DEVICE [FILE|-] | --text TEXT [--escapes] [--quiet]
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/escapes.h"
#include "cli/exit_codes.h"
#include "cli/progress_meter.h"
#include "cli/report.h"
#include "cli/send_path.h"
#include "cli/stop_signal.h"
#include "platform/unique_fd.h"

namespace velkaro::cli {
namespace {

int ReportOutcome(const std::string& device, const SendOutcome& outcome, std::uint64_t total) {
    const std::string sent = std::to_string(outcome.sent);
    const std::string of = total > 0 ? " of " + std::to_string(total) : std::string();
    switch (outcome.end) {
        case SendOutcome::End::Complete:
            return kExitOk;
        case SendOutcome::End::Stopped:
            ReportError(device, "stopped after " + sent + of + " bytes");
            return kExitFailed;
        case SendOutcome::End::SourceFailed:
            ReportError(device,
                        "reading the input failed after " + sent + " bytes: " + outcome.reason);
            return kExitFailed;
        case SendOutcome::End::ConnectionLost:
            ReportError(device, "connection lost after " + sent + of + " bytes were sent");
            return kExitConnection;
    }
    return kExitFailed;
}

}  // namespace

int RunSend(const Arguments& args) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, {"--text"}, {"--escapes", "--quiet", "-q"}, &line, &error))
        return UsageError("send", error);
    if (line.operands.empty()) return UsageError("send", "no DEVICE given");
    const std::string& device = line.operands[0];
    const bool hasText = line.values.count("--text") > 0;
    if (line.operands.size() > 2 || (hasText && line.operands.size() > 1))
        return UsageError("send", "give one FILE, - or --text");
    if (line.Has("--escapes") && !hasText) return UsageError("send", "--escapes needs --text");

    // The input is made ready before the device is touched, so a bad file sends nothing.
    std::optional<std::string> text;
    std::string regularFile;  // streamed from disk by the transfer
    UniqueFd file;            // any other input is read here and queued block by block
    int sourceFd = STDIN_FILENO;
    std::uint64_t total = 0;
    if (hasText) {
        text = line.Value("--text");
        if (line.Has("--escapes")) {
            text = DecodeEscapes(*text, &error);
            if (!text) return UsageError("send", error);
        }
        total = text->size();
    } else if (line.operands.size() == 2 && line.operands[1] != "-") {
        const std::string& path = line.operands[1];
        file.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat info {};
        if (!file || ::fstat(file.Get(), &info) != 0) {
            ReportError(path, std::strerror(errno));
            return kExitFailed;
        }
        if (S_ISDIR(info.st_mode)) {
            ReportError(path, "is a folder");
            return kExitFailed;
        }
        if (S_ISREG(info.st_mode)) {
            regularFile = path;
            total = static_cast<std::uint64_t>(info.st_size);
            file.Reset();
        }
        sourceFd = file.Get();
    }

    const EventFd& stop = StopOnSignals();
    int exitCode = kExitOk;
    const auto link = OpenDevice(device, &exitCode);
    if (!link) return exitCode;

    std::optional<ProgressMeter> meter;
    if (!line.Has("--quiet") && !line.Has("-q") && ::isatty(STDERR_FILENO))
        meter.emplace(STDERR_FILENO);
    const SendProgress progress = [&meter](std::uint64_t sent, std::uint64_t all) {
        if (meter) meter->Update(sent, all);
    };
    const SendOutcome outcome = text ? SendBytes(*link, *text, stop, progress)
                                : !regularFile.empty()
                                    ? SendFile(*link, regularFile, total, stop, progress)
                                    : SendStream(*link, sourceFd, stop, progress);
    if (meter) meter->Finish();
    return ReportOutcome(device, outcome, total);
}

}  // namespace velkaro::cli
