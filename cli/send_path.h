// How `send` hands bytes to the printer: through the port's transfer, the same path the window
// sends by. A regular file is streamed from disk by the transfer itself; standard input and
// other streams are read in blocks and queued as the transfer makes room.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cli/device_link.h"
#include "platform/event_fd.h"

namespace velkaro::cli {

struct SendOutcome {
    enum class End { Complete, Stopped, SourceFailed, ConnectionLost } end = End::Complete;
    std::uint64_t sent = 0;  // bytes the port wrote to the device
    std::string reason;      // for SourceFailed: why the input could not be read to its end
};

// Called while the transfer runs with the bytes written so far and the total (0 when unknown).
using SendProgress = std::function<void(std::uint64_t sent, std::uint64_t total)>;

// Each returns once everything was written, `stop` was signalled (what is still queued is
// dropped), the input failed or the connection was lost.
SendOutcome SendFile(DeviceLink& link, const std::string& path, std::uint64_t size,
                     const EventFd& stop, const SendProgress& progress);
SendOutcome SendStream(DeviceLink& link, int sourceFd, const EventFd& stop,
                       const SendProgress& progress);
SendOutcome SendBytes(DeviceLink& link, const std::string& bytes, const EventFd& stop,
                      const SendProgress& progress);

}  // namespace velkaro::cli
