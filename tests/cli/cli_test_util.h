// Shared pieces of the command-line tool's tests: where the programs are, test data, and a
// printer stand-in on a loopback socket that runs on a thread of its own.
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "cli_process.h"
#include "support/loopback.h"

namespace velkaro::test {

inline const std::string kCli = VELKARO_CLI_PATH;

inline ProcessResult RunCli(const std::vector<std::string>& args, const std::string& input = {},
                            const std::map<std::string, std::string>& env = {}) {
    return RunProcess(kCli, args, input, env);
}

// `size` bytes covering every byte value, in an order no two runs of a block share.
inline std::string MixedBytes(std::size_t size, unsigned seed = 7) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

inline void SendAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// A loopback printer that accepts one connection and hands it to `serve` on its own thread.
class LoopbackPrinter {
  public:
    explicit LoopbackPrinter(std::function<void(int fd)> serve)
        : thread_([this, serve = std::move(serve)] {
              UniqueFd peer = listener_.Accept(30000);
              if (peer) serve(peer.Get());
          }) {}
    ~LoopbackPrinter() { thread_.join(); }

    std::string Device() const { return "tcp:127.0.0.1:" + listener_.Port(); }

  private:
    LoopbackListener listener_;
    std::thread thread_;  // last: starts once the listener is ready
};

}  // namespace velkaro::test
