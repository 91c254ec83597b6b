// A pseudo-terminal standing in for a serial or USB printer: the port under test opens the
// slave side through a symlink in a test folder, the test plays the printer on the master.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/unique_fd.h"

namespace velkaro::test {

class PtyPair {
  public:
    PtyPair() {
        int master = -1, slave = -1;
        char name[256] = {};
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&master, &slave, name, &raw, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        master_.Reset(master);
        slave_.Reset(slave);  // keeps the slave side alive until the port has opened it
        slaveName_ = name;
    }

    // Makes <folder>/<node> point at the slave side.
    void LinkAs(const std::filesystem::path& folder, const std::string& node) const {
        std::filesystem::create_directories(folder);
        std::filesystem::create_symlink(slaveName_, folder / node);
    }

    const std::string& SlaveName() const { return slaveName_; }
    int Master() const { return master_.Get(); }
    int Slave() const { return slave_.Get(); }
    void CloseSlave() { slave_.Reset(); }
    void CloseMaster() { master_.Reset(); }

    void Send(const std::string& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_.Get(), bytes.data() + done, bytes.size() - done);
            if (n <= 0) throw std::runtime_error("pty write failed");
            done += static_cast<std::size_t>(n);
        }
    }

    // Reads from the master until `count` bytes arrived or `timeoutMs` passed.
    std::string Receive(std::size_t count, int timeoutMs = 5000) const {
        std::string got;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{master_.Get(), POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            char buffer[4096];
            const ssize_t n = ::read(master_.Get(), buffer, sizeof buffer);
            if (n < 0 && errno == EIO && !slave_) {
                // Nobody has the slave side open yet (another process is about to).
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

  private:
    UniqueFd master_;
    UniqueFd slave_;
    std::string slaveName_;
};

// A printer that never stops talking: sends 64-byte chunks on the pty's master side every
// millisecond from a thread of its own, from construction until Stop() or destruction.
class FlowingPrinter {
  public:
    explicit FlowingPrinter(const PtyPair& pty) : pty_(pty), thread_([this] { Run(); }) {}
    ~FlowingPrinter() { Stop(); }
    FlowingPrinter(const FlowingPrinter&) = delete;
    FlowingPrinter& operator=(const FlowingPrinter&) = delete;

    // Ends the flow and waits for the thread; harmless when already stopped.
    void Stop() {
        flowing_ = false;
        if (thread_.joinable()) thread_.join();
    }

  private:
    void Run() {
        while (flowing_) {
            pty_.Send(std::string(64, 'z'));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    const PtyPair& pty_;
    std::atomic<bool> flowing_{true};
    std::thread thread_;  // last, so that it starts once the rest is in place
};

}  // namespace velkaro::test
