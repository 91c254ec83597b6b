#include "platform/event_fd.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <cstdint>
#include <stdexcept>

namespace velkaro {

EventFd::EventFd() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!fd_) throw std::runtime_error("eventfd failed");
}

void EventFd::Signal() const {
    const std::uint64_t one = 1;
    // A full counter is still signalled, so a failed write loses nothing.
    [[maybe_unused]] ssize_t n = ::write(fd_.Get(), &one, sizeof one);
}

void EventFd::Reset() const {
    std::uint64_t value = 0;
    [[maybe_unused]] ssize_t n = ::read(fd_.Get(), &value, sizeof value);
}

bool EventFd::IsSignalled() const {
    pollfd p{fd_.Get(), POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

}  // namespace velkaro
