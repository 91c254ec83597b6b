// A printer on a parallel node: the read end of a FIFO, read on a thread until end of file,
// which comes once the port has closed the node.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/unique_fd.h"

namespace velkaro::test {

class FifoPrinter {
  public:
    // Opens the existing FIFO at `path`; reading gives up after `giveUpMs` without data, so a
    // node that is never closed ends the test instead of hanging it.
    explicit FifoPrinter(const std::string& path, int giveUpMs = 5000)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)), giveUpMs_(giveUpMs) {}
    ~FifoPrinter() { Join(); }
    FifoPrinter(const FifoPrinter&) = delete;
    FifoPrinter& operator=(const FifoPrinter&) = delete;

    bool Valid() const { return fd_.Valid(); }

    // Starts reading (after `delay`) once the port holds the node.
    void Start(std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
        thread_ = std::thread([this, delay] {
            std::this_thread::sleep_for(delay);
            char buffer[65536];
            for (;;) {
                pollfd p{fd_.Get(), POLLIN, 0};
                if (::poll(&p, 1, giveUpMs_) <= 0) return;
                const ssize_t n = ::read(fd_.Get(), buffer, sizeof buffer);
                if (n > 0) received_.append(buffer, static_cast<std::size_t>(n));
                if (n == 0) {
                    endOfFile_ = true;
                    return;
                }
            }
        });
    }
    // Waits for end of file (or giving up); what arrived before it.
    std::string Received() {
        Join();
        return received_;
    }
    // Waits likewise; whether the node was closed.
    bool EndOfFile() {
        Join();
        return endOfFile_;
    }

  private:
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

    UniqueFd fd_;
    const int giveUpMs_;
    std::thread thread_;
    std::string received_;
    bool endOfFile_ = false;
};

}  // namespace velkaro::test
