#include "cli/send_path.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace velkaro::cli {
namespace {

constexpr int kProgressSliceMs = 100;
constexpr int kRoomRetryMs = 20;

std::uint64_t WrittenSoFar(DeviceLink& link) {
    return link.SendTally().written + link.Sender().Current().written;
}

// Waits for the transfer to drain (or stops it) and reads the outcome from its reports.
SendOutcome Finish(DeviceLink& link, std::uint64_t total, const EventFd& stop,
                   const SendProgress& progress, SendOutcome outcome) {
    while (!link.Sender().WaitIdle(kProgressSliceMs)) {
        if (stop.IsSignalled()) {
            link.Sender().Stop();
            break;
        }
        if (progress) progress(WrittenSoFar(link), total);
    }
    const DeviceLink::Tally tally = link.SendTally();
    outcome.sent = tally.written;
    if (progress) progress(outcome.sent, total);
    if (outcome.end != SendOutcome::End::Complete) return outcome;
    if (stop.IsSignalled()) {
        outcome.end = SendOutcome::End::Stopped;
    } else if (tally.cutShort) {
        switch (tally.end) {
            case TransferEnd::FileShrank:
                outcome.end = SendOutcome::End::SourceFailed;
                outcome.reason = "the file became shorter while it was sent";
                break;
            case TransferEnd::FileReadFailed:
                outcome.end = SendOutcome::End::SourceFailed;
                outcome.reason = "the file could not be read";
                break;
            case TransferEnd::Stopped:
                outcome.end = SendOutcome::End::Stopped;
                break;
            case TransferEnd::Drained:
            case TransferEnd::DeviceLost:
                outcome.end = SendOutcome::End::ConnectionLost;
                break;
        }
    }
    return outcome;
}

SendOutcome::End FromQueueResult(Transfer::Result result) {
    return result == Transfer::Result::NoDevice ? SendOutcome::End::ConnectionLost
                                                : SendOutcome::End::Complete;
}

// Queues `block`, waiting while the transfer has no room. False when the block cannot go.
bool QueueWhenRoom(DeviceLink& link, const std::string& block, const EventFd& stop,
                   const SendProgress& progress, SendOutcome* outcome) {
    for (;;) {
        const Transfer::Result result = link.QueueBytes(block);
        if (result != Transfer::Result::Full) {
            outcome->end = FromQueueResult(result);
            return outcome->end == SendOutcome::End::Complete;
        }
        pollfd wait{stop.Fd(), POLLIN, 0};
        if (::poll(&wait, 1, kRoomRetryMs) > 0) {
            outcome->end = SendOutcome::End::Stopped;
            return false;
        }
        if (progress) progress(WrittenSoFar(link), 0);
    }
}

}  // namespace

SendOutcome SendFile(DeviceLink& link, const std::string& path, std::uint64_t size,
                     const EventFd& stop, const SendProgress& progress) {
    SendOutcome outcome;
    switch (link.QueueFile(path)) {
        case Transfer::Result::Queued:
        case Transfer::Result::Empty:
        case Transfer::Result::Full:
            break;
        case Transfer::Result::NoDevice:
            outcome.end = SendOutcome::End::ConnectionLost;
            break;
        case Transfer::Result::CannotOpen:
            outcome.end = SendOutcome::End::SourceFailed;
            outcome.reason = "cannot open it for sending";
            break;
    }
    return Finish(link, size, stop, progress, outcome);
}

SendOutcome SendStream(DeviceLink& link, int sourceFd, const EventFd& stop,
                       const SendProgress& progress) {
    SendOutcome outcome;
    std::vector<char> buffer(Transfer::kFileBlock);
    while (!stop.IsSignalled()) {
        const ssize_t n = ::read(sourceFd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;  // the stop event says whether to go on
        if (n < 0) {
            outcome.end = SendOutcome::End::SourceFailed;
            outcome.reason = std::strerror(errno);
            break;
        }
        if (n == 0) break;
        const std::string block(buffer.data(), static_cast<std::size_t>(n));
        if (!QueueWhenRoom(link, block, stop, progress, &outcome)) break;
        if (progress) progress(WrittenSoFar(link), 0);
    }
    return Finish(link, 0, stop, progress, outcome);
}

SendOutcome SendBytes(DeviceLink& link, const std::string& bytes, const EventFd& stop,
                      const SendProgress& progress) {
    SendOutcome outcome;
    outcome.end = FromQueueResult(link.QueueBytes(bytes));
    return Finish(link, bytes.size(), stop, progress, outcome);
}

}  // namespace velkaro::cli
