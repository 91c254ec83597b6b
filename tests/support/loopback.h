// A printer stand-in on the loopback address: a listening socket with a port the system picks,
// and a reader for the printer's end of an accepted connection.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/unique_fd.h"

namespace velkaro::test {

constexpr char kLoopback[] = "127.0.0.1";

inline sockaddr_in LoopbackAddress(std::uint16_t port = 0) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::inet_addr(kLoopback);
    address.sin_port = htons(port);
    return address;
}

class LoopbackListener {
  public:
    explicit LoopbackListener(int backlog = 8)
        : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in self = LoopbackAddress();
        socklen_t size = sizeof self;
        if (!fd_ || ::bind(fd_.Get(), reinterpret_cast<sockaddr*>(&self), size) != 0 ||
            ::listen(fd_.Get(), backlog) != 0 ||
            ::getsockname(fd_.Get(), reinterpret_cast<sockaddr*>(&self), &size) != 0)
            throw std::runtime_error("loopback listener failed");
        port_ = ntohs(self.sin_port);
    }

    std::uint16_t Number() const { return port_; }
    std::string Port() const { return std::to_string(port_); }
    // Stops listening; the port number stays known, so a connect to it is refused.
    void Close() { fd_.Reset(); }

    // The printer's end of the next connection, or an empty descriptor after `timeoutMs`.
    UniqueFd Accept(int timeoutMs = 5000) const {
        pollfd p{fd_.Get(), POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return UniqueFd();
        return UniqueFd(::accept4(fd_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    }

  private:
    UniqueFd fd_;
    std::uint16_t port_ = 0;
};

// Fills the listener's accept queue: `connects` non-blocking connects that nobody accepts, kept
// open as long as the caller holds them. The kernel completes them in the background, so the
// caller gives it a moment before relying on a full queue.
inline std::vector<UniqueFd> FillAcceptQueue(const LoopbackListener& listener, int connects = 4) {
    std::vector<UniqueFd> waiting;
    const sockaddr_in to = LoopbackAddress(listener.Number());
    for (int i = 0; i < connects; ++i) {
        UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to);
        waiting.push_back(std::move(fd));
    }
    return waiting;
}

// Reads until `count` bytes or end of stream arrived, or `timeoutMs` passed.
inline std::string ReadFrom(int fd, std::size_t count, int timeoutMs = 5000) {
    using Clock = std::chrono::steady_clock;
    std::string got;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<char> buffer(1 << 16);
    while (got.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
        const ssize_t n = ::recv(fd, buffer.data(), std::min(buffer.size(), count - got.size()), 0);
        if (n <= 0) break;
        got.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return got;
}

}  // namespace velkaro::test
