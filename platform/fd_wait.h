// Waiting on a device descriptor together with a stop event, never polling in a loop.
#pragma once

namespace velkaro {

class EventFd;

enum class WaitResult { Ready, Stopped, TimedOut };

// Waits until `fd` is readable (or hung up / in error, which a following read reports),
// `stop` is signalled, or `timeoutMs` passes (-1 waits for ever). The stop event wins ties.
WaitResult WaitReadable(int fd, const EventFd& stop, int timeoutMs);

// The same for writability.
WaitResult WaitWritable(int fd, const EventFd& stop, int timeoutMs);

}  // namespace velkaro
