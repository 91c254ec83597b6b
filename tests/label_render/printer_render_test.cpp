// velkaro-printer --render: a job sent over TCP comes out as a PNG beside its spool file,
// with barcodes that still scan.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "label_render/label_test_util.h"
#include "support/loopback.h"
#include "support/temp_dir.h"

extern char** environ;

namespace velkaro::label::test {
namespace {

using velkaro::test::TempDir;

// The program with its log piped here; stopped with SIGTERM at the end.
class RenderingPrinter {
  public:
    explicit RenderingPrinter(const std::filesystem::path& spool) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        m_log.Reset(fds[0]);
        UniqueFd write(fds[1]);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, write.Get(), STDERR_FILENO);
        std::vector<std::string> arguments{VELKARO_PRINTER_PROGRAM, "--listen",
                                           "127.0.0.1:0",           "--spool",
                                           spool.string(),          "--render"};
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        const int failed = ::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        ::posix_spawn_file_actions_destroy(&actions);
        if (failed) throw std::runtime_error("cannot start " VELKARO_PRINTER_PROGRAM);
    }
    ~RenderingPrinter() {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }

    // The first group of the first log line matching `pattern`, or empty after 20 s.
    std::string WaitForLine(const std::string& pattern) {
        const std::regex wanted(pattern);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            std::size_t end;
            while ((end = m_pending.find('\n')) != std::string::npos) {
                const std::string line = m_pending.substr(0, end);
                m_pending.erase(0, end + 1);
                std::smatch match;
                if (std::regex_search(line, match, wanted))
                    return match.size() > 1 ? match[1].str() : line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{m_log.Get(), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
            char buffer[4096];
            const ssize_t n = ::read(m_log.Get(), buffer, sizeof buffer);
            if (n <= 0) return {};
            m_pending.append(buffer, static_cast<std::size_t>(n));
        }
    }

  private:
    pid_t m_pid = -1;
    UniqueFd m_log;
    std::string m_pending;
};

TEST(PrinterRender, EachSpooledJobGetsItsPicture) {
    TempDir folder;
    RenderingPrinter printer(folder.Path());
    const std::string port = printer.WaitForLine(R"(listening on 127\.0\.0\.1:(\d+))");
    ASSERT_FALSE(port.empty());
    UniqueFd client(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in to =
        velkaro::test::LoopbackAddress(static_cast<std::uint16_t>(std::stoi(port)));
    ASSERT_EQ(::connect(client.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to), 0);
    const std::string job =
        "^XA^FO100,100^GB200,100,100^FS^XZ\r\n"
        "^XA^FO50,50^ADN,36,20^FDSECOND^FS^XZ\r\n";
    ASSERT_EQ(::send(client.Get(), job.data(), job.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(job.size()));
    EXPECT_FALSE(printer.WaitForLine("drew 0001\\.zpl: 0001\\.png").empty());
    EXPECT_FALSE(printer.WaitForLine("drew 0002\\.zpl: 0002\\.png").empty());
    const QImage first(QString::fromStdString((folder.Path() / "0001.png").string()));
    ASSERT_EQ(first.size(), QSize(813, 1219));
    EXPECT_EQ(InkBounds(first), QRect(100, 100, 200, 100));
    const QImage second(QString::fromStdString((folder.Path() / "0002.png").string()));
    EXPECT_FALSE(InkBounds(second).isNull());
}

}  // namespace
}  // namespace velkaro::label::test
