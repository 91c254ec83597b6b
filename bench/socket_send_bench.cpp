// Times sending a 200 MB file to a loopback sink through CSocketComm's file transfer (the path
// "发送文件" takes), against socat doing the same, and counts the progress reports on the way.
// Both timings include reading the file, connecting, and the sink counting every byte.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "connections/socket_comm.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kFileSize = 200u << 20;

// Accepts one connection on 127.0.0.1 and counts what it reads until `expected` bytes arrived.
class Sink {
  public:
    explicit Sink(std::size_t expected)
        : listen_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)), expected_(expected) {
        sockaddr_in self{};
        self.sin_family = AF_INET;
        self.sin_addr.s_addr = ::inet_addr("127.0.0.1");
        socklen_t size = sizeof self;
        if (!listen_ || ::bind(listen_.Get(), reinterpret_cast<sockaddr*>(&self), size) != 0 ||
            ::listen(listen_.Get(), 1) != 0 ||
            ::getsockname(listen_.Get(), reinterpret_cast<sockaddr*>(&self), &size) != 0)
            throw std::runtime_error("sink listener failed");
        port_ = ntohs(self.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~Sink() { thread_.join(); }

    std::string Port() const { return std::to_string(port_); }
    // Waits until every expected byte arrived or the peer went away; returns the count.
    std::size_t Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return finished_; });
        return count_;
    }

  private:
    void Run() {
        const velkaro::UniqueFd peer(::accept4(listen_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        std::vector<char> buffer(1 << 20);  // read and dropped, as /dev/null would
        std::size_t count = 0;
        while (peer && count < expected_) {
            const ssize_t n = ::recv(peer.Get(), buffer.data(), buffer.size(), 0);
            if (n <= 0) break;
            count += static_cast<std::size_t>(n);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        count_ = count;
        finished_ = true;
        done_.notify_all();
    }

    velkaro::UniqueFd listen_;
    const std::size_t expected_;
    int port_ = 0;
    std::mutex mutex_;
    std::condition_variable done_;
    std::size_t count_ = 0;
    bool finished_ = false;
    std::thread thread_;
};

class DiscardingOwner : public velkaro::IPortOwner {
  public:
    void PostPortMessage(velkaro::PortMessage) override {}
};

// Counts the progress reports, as the window would receive them.
class CountingOwner : public velkaro::IPortOwner {
  public:
    void PostPortMessage(velkaro::PortMessage message) override {
        if (message.type == velkaro::WM_TRANSFER_PROGRESS) ++progress;
    }
    std::atomic<int> progress{0};
};

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void WriteRandomFile(const std::string& path) {
    std::vector<std::uint64_t> words(kFileSize / sizeof(std::uint64_t));
    std::mt19937_64 random(20240601);
    for (std::uint64_t& w : words) w = random();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(words.data()), static_cast<std::streamsize>(kFileSize));
    if (!out) throw std::runtime_error("cannot write " + path);
}

struct SendTiming {
    double seconds = 0;
    int progressEvents = 0;
};

// The window's path: the file streamed from disk by the port's transfer (sendfile).
SendTiming TimeSocketComm(const std::string& path) {
    Sink sink(kFileSize);
    CountingOwner owner;
    velkaro::CSocketComm comm;
    const auto start = Clock::now();
    if (!comm.Connect(&owner, "127.0.0.1", sink.Port().c_str()))
        throw std::runtime_error("connect failed");
    if (comm.SendFile(path) != velkaro::Transfer::Result::Queued)
        throw std::runtime_error("send failed");
    if (sink.Wait() != kFileSize) throw std::runtime_error("the sink missed bytes");
    return SendTiming{Seconds(start), owner.progress.load()};
}

// Ends a sink nobody connected to: one connection that leaves at once.
void Release(Sink& sink) {
    DiscardingOwner owner;
    velkaro::CSocketComm poke;
    poke.Connect(&owner, "127.0.0.1", sink.Port().c_str());
    poke.Close();
    sink.Wait();
}

// Negative when socat is missing or fails.
double TimeSocat(const std::string& path) {
    Sink sink(kFileSize);
    const std::string from = "FILE:" + path;
    const std::string to = "TCP:127.0.0.1:" + sink.Port();
    char* argv[] = {const_cast<char*>("socat"), const_cast<char*>("-u"),
                    const_cast<char*>(from.c_str()), const_cast<char*>(to.c_str()), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    int status = 0;
    if (::posix_spawnp(&pid, "socat", nullptr, nullptr, argv, environ) != 0 ||
        ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        Release(sink);
        return -1;
    }
    // socat is done writing; the time counts until the sink has read everything.
    if (sink.Wait() != kFileSize) return -1;
    return Seconds(start);
}

}  // namespace

int main() {
    try {
        std::string dir = (std::filesystem::temp_directory_path() / "socket-bench-XXXXXX");
        if (!::mkdtemp(dir.data())) throw std::runtime_error("mkdtemp failed");
        const std::string path = dir + "/payload.bin";
        WriteRandomFile(path);

        // Best of three each, alternating, so a busy moment of the machine does not decide.
        SendTiming timing = TimeSocketComm(path);
        double socat = TimeSocat(path);
        for (int round = 1; round < 3 && socat > 0; ++round) {
            const SendTiming again = TimeSocketComm(path);
            if (again.seconds < timing.seconds) timing = again;
            const double once = TimeSocat(path);
            socat = once > 0 ? std::min(socat, once) : -1;
        }
        const double send = timing.seconds;
        std::printf("send_s: %.3f\n", send);
        std::printf("progress_events_per_s: %.1f\n", timing.progressEvents / send);
        if (socat > 0) {
            std::printf("socat_send_s: %.3f\n", socat);
            std::printf("send_ratio_vs_socat: %.3f\n", send / socat);
        } else {
            std::printf("socat_send_s: unavailable\n");
        }
        std::filesystem::remove_all(dir);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "socket_send_bench: %s\n", e.what());
        return 1;
    }
}
