#include "platform/fd_wait.h"

#include <poll.h>

#include <cerrno>
#include <chrono>

#include "platform/event_fd.h"

namespace velkaro {
namespace {

WaitResult WaitFor(int fd, short events, const EventFd& stop, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int remaining = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            remaining = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        pollfd fds[2] = {{stop.Fd(), POLLIN, 0}, {fd, events, 0}};
        const int n = ::poll(fds, 2, remaining);
        if (n < 0) {
            if (errno == EINTR) continue;
            return WaitResult::Ready;  // let the caller's read or write report the error
        }
        if (fds[0].revents & POLLIN) return WaitResult::Stopped;
        if (n == 0) return WaitResult::TimedOut;
        return WaitResult::Ready;
    }
}

}  // namespace

WaitResult WaitReadable(int fd, const EventFd& stop, int timeoutMs) {
    return WaitFor(fd, POLLIN, stop, timeoutMs);
}

WaitResult WaitWritable(int fd, const EventFd& stop, int timeoutMs) {
    return WaitFor(fd, POLLOUT, stop, timeoutMs);
}

}  // namespace velkaro
