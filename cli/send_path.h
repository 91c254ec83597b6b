// How `send` hands bytes to the printer: streamed in blocks through the connection's port, each
// block written in full before the next is read, so the count of bytes sent is always true.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cli/device_link.h"
#include "platform/event_fd.h"

namespace velkaro::cli {

struct SendOutcome {
    enum class End { Complete, Stopped, SourceFailed, ConnectionLost } end = End::Complete;
    std::uint64_t sent = 0;
    std::string reason;  // for SourceFailed: why reading stopped
};

// Called after every block with the bytes written so far and the total (0 when unknown).
using SendProgress = std::function<void(std::uint64_t sent, std::uint64_t total)>;

// Sends everything readable from `sourceFd` until its end.
SendOutcome SendStream(DeviceLink& link, int sourceFd, std::uint64_t total, const EventFd& stop,
                       const SendProgress& progress);
// Sends `bytes`.
SendOutcome SendBytes(DeviceLink& link, const std::string& bytes, const EventFd& stop,
                      const SendProgress& progress);

}  // namespace velkaro::cli
