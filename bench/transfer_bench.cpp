// Memory and serial speed of the file transfer path.
//   send_file_peak_rss_mb: peak resident memory of a process streaming a 1 GiB sparse file to a
//     loopback sink through CSocketComm (run in a child process of its own).
//   serial_send_ratio_vs_cat: 32 MB through a pty pair, CASYNSerialPort's file transfer against
//     `cat FILE > slave`, both timed until the master side has read every byte, best of three
//     each (higher is better).
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "connections/serial_port.h"
#include "connections/socket_comm.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t kSparseSize = std::uint64_t{1} << 30;
constexpr std::size_t kSerialSize = 32u << 20;

class NullOwner : public velkaro::IPortOwner {
  public:
    void PostPortMessage(velkaro::PortMessage) override {}
};

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Reads and drops everything from `fd` until `expected` bytes arrived or it ends.
std::uint64_t CountAll(int fd, std::uint64_t expected, bool socket) {
    std::vector<char> buffer(1 << 20);
    std::uint64_t count = 0;
    while (count < expected) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20000) <= 0) break;
        const ssize_t n = socket ? ::recv(fd, buffer.data(), buffer.size(), 0)
                                 : ::read(fd, buffer.data(), buffer.size());
        if (n <= 0) break;
        count += static_cast<std::uint64_t>(n);
    }
    return count;
}

// The child: streams a sparse 1 GiB file to its own sink and prints its peak memory.
int RssChild(const std::string& dir) {
    const std::string path = dir + "/sparse.bin";
    {
        const velkaro::UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
        if (!file || ::ftruncate(file.Get(), static_cast<off_t>(kSparseSize)) != 0) return 1;
    }
    const velkaro::UniqueFd listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_addr.s_addr = ::inet_addr("127.0.0.1");
    socklen_t size = sizeof self;
    if (::bind(listener.Get(), reinterpret_cast<sockaddr*>(&self), size) != 0 ||
        ::listen(listener.Get(), 1) != 0 ||
        ::getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&self), &size) != 0)
        return 1;
    std::atomic<std::uint64_t> received{0};
    std::thread sink([&] {
        const velkaro::UniqueFd peer(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        received = CountAll(peer.Get(), kSparseSize, true);
    });
    NullOwner owner;
    velkaro::CSocketComm comm;
    const std::string port = std::to_string(ntohs(self.sin_port));
    const bool sent = comm.Connect(&owner, "127.0.0.1", port.c_str()) &&
                      comm.SendFile(path) == velkaro::Transfer::Result::Queued;
    if (!sent) ::shutdown(listener.Get(), SHUT_RDWR);
    sink.join();
    std::filesystem::remove(path);
    if (!sent || received != kSparseSize) return 1;
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

double PeakRssMb(const std::string& dir) {
    int out[2];
    if (::pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>("transfer_bench"), const_cast<char*>("--rss-child"),
                    const_cast<char*>(dir.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char buffer[64];
    for (ssize_t n; spawned == 0 && (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return std::stod(text);
}

struct Pty {
    velkaro::UniqueFd master, slave;
    std::string name;
    Pty() {
        int m = -1, s = -1;
        char path[256] = {};
        termios raw{};
        ::cfmakeraw(&raw);
        if (::openpty(&m, &s, path, &raw, nullptr) != 0) throw std::runtime_error("openpty");
        master.Reset(m);
        slave.Reset(s);
        name = path;
    }
};

// The port's path: COM1 leads to the pty's slave through a folder of our own.
double TimeSerialPort(const std::string& dir, const std::string& file) {
    Pty pty;
    const std::string folder = dir + "/dev";
    std::filesystem::create_directories(folder);
    std::filesystem::remove(folder + "/ttyS0");
    std::filesystem::create_symlink(pty.name, folder + "/ttyS0");
    NullOwner owner;
    velkaro::CASYNSerialPort port;
    port.SetDeviceFolder(folder);
    if (!port.Open(&owner, 1, 115200, velkaro::kParityNone, 8, velkaro::kOneStopBit))
        throw std::runtime_error("serial open failed");
    std::uint64_t got = 0;
    const auto start = Clock::now();
    std::thread reader([&] { got = CountAll(pty.master.Get(), kSerialSize, false); });
    if (port.SendFile(file) != velkaro::Transfer::Result::Queued)
        throw std::runtime_error("serial send failed");
    reader.join();
    const double seconds = Seconds(start);
    if (got != kSerialSize) throw std::runtime_error("the pty missed bytes");
    return seconds;
}

double TimeCat(const std::string& file) {
    Pty pty;
    const std::string command = "cat '" + file + "' > '" + pty.name + "'";
    char* argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"),
                    const_cast<char*>(command.c_str()), nullptr};
    std::uint64_t got = 0;
    const auto start = Clock::now();
    std::thread reader([&] { got = CountAll(pty.master.Get(), kSerialSize, false); });
    pid_t pid = 0;
    int status = 0;
    const bool ok = ::posix_spawnp(&pid, "sh", nullptr, nullptr, argv, environ) == 0 &&
                    ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                    WEXITSTATUS(status) == 0;
    reader.join();
    const double seconds = Seconds(start);
    if (!ok || got != kSerialSize) return -1;
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--rss-child") == 0) return RssChild(argv[2]);
    try {
        std::string dir = (std::filesystem::temp_directory_path() / "transfer-bench-XXXXXX");
        if (!::mkdtemp(dir.data())) throw std::runtime_error("mkdtemp failed");

        const double rss = PeakRssMb(dir);
        if (rss > 0)
            std::printf("send_file_peak_rss_mb: %.1f\n", rss);
        else
            std::printf("send_file_peak_rss_mb: unavailable\n");

        const std::string file = dir + "/serial.bin";
        {
            std::string bytes(kSerialSize, '\0');
            unsigned x = 7;
            for (char& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
            std::ofstream(file, std::ios::binary) << bytes;
        }
        // Best of three each, alternating, so a busy moment of the machine does not decide.
        double port = 1e9, cat = 1e9;
        for (int round = 0; round < 3; ++round) {
            port = std::min(port, TimeSerialPort(dir, file));
            const double once = TimeCat(file);
            cat = once > 0 ? std::min(cat, once) : -1;
            if (cat < 0) break;
        }
        std::printf("serial_send_s: %.3f\n", port);
        if (cat > 0) {
            std::printf("cat_send_s: %.3f\n", cat);
            std::printf("serial_send_ratio_vs_cat: %.3f\n", cat / port);
        } else {
            std::printf("cat_send_s: unavailable\n");
        }
        std::filesystem::remove_all(dir);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "transfer_bench: %s\n", e.what());
        return 1;
    }
}
