// velkaro-cli listen DEVICE [--hex] [--timestamps]: what the printer sends, until Ctrl+C.
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/report.h"
#include "cli/stop_signal.h"
#include "platform/hex_dump.h"

namespace velkaro::cli {
namespace {

// Local wall-clock time as "[HH:MM:SS.mmm] ".
std::string TimeStamp() {
    timeval now{};
    ::gettimeofday(&now, nullptr);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    char text[32];
    std::snprintf(text, sizeof text, "[%02d:%02d:%02d.%03d] ", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(now.tv_usec / 1000));
    return text;
}

// Turns each block that arrives into output: the bytes as they are, or a hex dump whose
// offsets run on across blocks; with time stamps each block starts a line of its own.
class ListenPrinter {
  public:
    ListenPrinter(bool hex, bool stamps) : m_bHex(hex), m_bStamps(stamps) {}

    std::string Format(const std::string& block) {
        std::string out;
        if (m_bStamps) {
            if (!m_bAtLineStart) out += '\n';
            out += TimeStamp();
            if (m_bHex) out.back() = '\n';
        }
        if (m_bHex) {
            out += HexDump(m_nOffset, block.data(), block.size());
        } else {
            out += block;
            m_bAtLineStart = !block.empty() && block.back() == '\n';
        }
        m_nOffset += block.size();
        return out;
    }

  private:
    bool m_bHex;
    bool m_bStamps;
    bool m_bAtLineStart = true;
    std::uint64_t m_nOffset = 0;
};

}  // namespace

int RunListen(const Arguments& args) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, {}, {"--hex", "--timestamps"}, &line, &error))
        return UsageError("listen", error);
    if (line.operands.size() != 1) return UsageError("listen", "give one DEVICE");
    const std::string& device = line.operands[0];

    const EventFd& stop = StopOnSignals();
    int exitCode = kExitOk;
    const auto link = OpenReceivingDevice(device, "nothing can be received from it", &exitCode);
    if (!link) return exitCode;

    ListenPrinter printer(line.Has("--hex"), line.Has("--timestamps"));
    for (;;) {
        std::string block;
        switch (link->Receive(&block, -1, stop)) {
            case DeviceLink::Wait::Data:
                if (!WriteFully(STDOUT_FILENO, printer.Format(block)))
                    return kExitOk;  // reader gone
                break;
            case DeviceLink::Wait::Stopped:
            case DeviceLink::Wait::TimedOut:
                return kExitOk;
            case DeviceLink::Wait::Closed:
                ReportError(device, "the connection was closed");
                return kExitConnection;
        }
    }
}

}  // namespace velkaro::cli
