// Times the virtual printer taking 200 MB of ZPL over loopback (cutting it into jobs and
// spooling every job to a file) against a plain sink that reads the same stream and drops it, and
// against one that saves it to a single file.
// Both timings run from connecting until the last byte has been dealt with.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/unique_fd.h"
#include "virtual_printer/printer_server.h"
#include "virtual_printer/virtual_printer.h"

namespace {

using Clock = std::chrono::steady_clock;
using velkaro::UniqueFd;
constexpr std::size_t kStreamSize = 200u << 20;

// A label with a 20 KB hex graphic (a logo) and a few text fields: about 40 KB of ZPL.
std::string Label(int serial) {
    std::string label = "^XA^PW812^LL1218^FO50,50^GFA,20000,20000,50,";
    for (int i = 0; i < 20000; ++i) label += "0123456789ABCDEF"[(i * 7 + serial) & 15];
    label += "^FS";
    for (int line = 0; line < 20; ++line)
        label += "^FO50," + std::to_string(400 + line * 30) + "^A0N,28,28^FDSerial " +
                 std::to_string(serial) + " line " + std::to_string(line) + "^FS\r\n";
    return label + "^XZ\r\n";
}

// CPU seconds the whole process has used so far (sender, receiver, spool writes).
double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

UniqueFd Connect(std::uint16_t port) {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = ::inet_addr("127.0.0.1");
    to.sin_port = htons(port);
    if (::connect(fd.Get(), reinterpret_cast<sockaddr*>(&to), sizeof to) != 0)
        throw std::runtime_error("connect failed");
    return fd;
}

void SendAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + done,
                                 std::min<std::size_t>(bytes.size() - done, 1 << 20), MSG_NOSIGNAL);
        if (n <= 0) throw std::runtime_error("send failed");
        done += static_cast<std::size_t>(n);
    }
}

// Reads everything one connection sends, as fast as it comes, and drops it, or with `keep`
// writes it to that one file (what a plain receiver that saves the stream does).
double SinkSeconds(const std::string& stream, const std::filesystem::path& keep = {}) {
    UniqueFd listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_addr.s_addr = ::inet_addr("127.0.0.1");
    socklen_t size = sizeof self;
    if (::bind(listener.Get(), reinterpret_cast<sockaddr*>(&self), size) != 0 ||
        ::listen(listener.Get(), 1) != 0 ||
        ::getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&self), &size) != 0)
        throw std::runtime_error("sink listener failed");
    std::size_t received = 0;
    std::thread reader([&] {
        UniqueFd peer(::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        UniqueFd file;
        if (!keep.empty())
            file.Reset(::open(keep.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        std::vector<char> buffer(256 * 1024);
        for (ssize_t n; (n = ::read(peer.Get(), buffer.data(), buffer.size())) > 0;) {
            received += static_cast<std::size_t>(n);
            if (file && ::write(file.Get(), buffer.data(), static_cast<std::size_t>(n)) != n)
                throw std::runtime_error("file sink failed");
        }
    });
    const auto start = Clock::now();
    {
        UniqueFd fd = Connect(ntohs(self.sin_port));
        SendAll(fd.Get(), stream);
    }
    reader.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (received != stream.size()) throw std::runtime_error("sink lost bytes");
    if (!keep.empty()) std::filesystem::remove(keep);
    return seconds;
}

// Memory-backed when the system has /dev/shm, so that the figure is the printer's own work and
// not the disk's speed.
std::filesystem::path SpoolRoot() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// Wall seconds; `cpu` gets the process's CPU seconds over the same span.
double PrinterSeconds(const std::string& stream, int jobs, double& cpu) {
    const std::filesystem::path spool =
        SpoolRoot() / ("velkaro-ingest-" + std::to_string(::getpid()));
    std::filesystem::remove_all(spool);
    double seconds = 0;
    {
        velkaro::virtual_printer::VirtualPrinter printer({{}, spool, {}}, nullptr);
        velkaro::virtual_printer::PrinterServer server(printer, {"127.0.0.1", 0});
        std::thread serving([&] { server.Run(); });
        const auto start = Clock::now();
        const double cpuStart = CpuSeconds();
        {
            UniqueFd fd = Connect(server.Port());
            SendAll(fd.Get(), stream);
        }
        while (printer.JobsSpooled() < jobs)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        cpu = CpuSeconds() - cpuStart;
        server.Stop();
        serving.join();
    }
    std::filesystem::remove_all(spool);
    return seconds;
}

}  // namespace

int main() {
    std::string stream;
    int jobs = 0;
    while (stream.size() < kStreamSize) stream += Label(jobs++);
    // Best of three, alternating, so that both see the same machine load.
    double sink = 1e9, fileSink = 1e9, printer = 1e9, sinkCpu = 1e9, printerCpu = 1e9;
    const std::filesystem::path keep =
        SpoolRoot() / ("velkaro-ingest-sink-" + std::to_string(::getpid()));
    for (int round = 0; round < 3; ++round) {
        fileSink = std::min(fileSink, SinkSeconds(stream, keep));
        double before = CpuSeconds();
        sink = std::min(sink, SinkSeconds(stream));
        sinkCpu = std::min(sinkCpu, CpuSeconds() - before);
        double cpu = 0;
        printer = std::min(printer, PrinterSeconds(stream, jobs, cpu));
        printerCpu = std::min(printerCpu, cpu);
    }
    const double megabytes = static_cast<double>(stream.size()) / (1 << 20);
    std::printf("printer_ingest_jobs: %d\n", jobs);
    std::printf("sink_ingest_mb_per_s: %.1f\n", megabytes / sink);
    std::printf("printer_ingest_mb_per_s: %.1f\n", megabytes / printer);
    std::printf("printer_ingest_ratio_vs_sink: %.3f\n", printer / sink);
    std::printf("printer_ingest_cpu_ratio_vs_sink: %.3f\n", printerCpu / sinkCpu);
    // The printer must also write every byte to a spool file: against a sink that saves the
    // stream to one file in the same folder.
    std::printf("file_sink_ingest_mb_per_s: %.1f\n", megabytes / fileSink);
    std::printf("printer_ingest_ratio_vs_file_sink: %.3f\n", printer / fileSink);
    return 0;
}
