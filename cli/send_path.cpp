#include "cli/send_path.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace velkaro::cli {
namespace {

// Small enough that progress moves on a slow serial line, large enough for a network printer.
constexpr std::size_t kBlockSize = 16 * 1024;

SendOutcome::End WriteBlock(DeviceLink& link, const char* data, std::size_t length,
                            const EventFd& stop) {
    if (link.Write(data, length, stop)) return SendOutcome::End::Complete;
    return stop.IsSignalled() ? SendOutcome::End::Stopped : SendOutcome::End::ConnectionLost;
}

}  // namespace

SendOutcome SendStream(DeviceLink& link, int sourceFd, std::uint64_t total, const EventFd& stop,
                       const SendProgress& progress) {
    SendOutcome outcome;
    std::vector<char> block(kBlockSize);
    for (;;) {
        if (stop.IsSignalled()) {
            outcome.end = SendOutcome::End::Stopped;
            return outcome;
        }
        const ssize_t n = ::read(sourceFd, block.data(), block.size());
        if (n < 0 && errno == EINTR) continue;  // the stop event says whether to go on
        if (n < 0) {
            outcome.end = SendOutcome::End::SourceFailed;
            outcome.reason = std::strerror(errno);
            return outcome;
        }
        if (n == 0) return outcome;
        outcome.end = WriteBlock(link, block.data(), static_cast<std::size_t>(n), stop);
        if (outcome.end != SendOutcome::End::Complete) return outcome;
        outcome.sent += static_cast<std::uint64_t>(n);
        if (progress) progress(outcome.sent, std::max(total, outcome.sent));
    }
}

SendOutcome SendBytes(DeviceLink& link, const std::string& bytes, const EventFd& stop,
                      const SendProgress& progress) {
    SendOutcome outcome;
    for (std::size_t done = 0; done < bytes.size();) {
        const std::size_t length = std::min(kBlockSize, bytes.size() - done);
        outcome.end = WriteBlock(link, bytes.data() + done, length, stop);
        if (outcome.end != SendOutcome::End::Complete) return outcome;
        done += length;
        outcome.sent = done;
        if (progress) progress(outcome.sent, bytes.size());
    }
    return outcome;
}

}  // namespace velkaro::cli
