// The velkaro-printer program itself, started as a user would start it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/loopback.h"
#include "support/temp_dir.h"

extern char** environ;

namespace velkaro::test {
namespace {

// The program running with its stderr piped to the test; stopped with SIGTERM at the end.
class PrinterProgram {
  public:
    // `tmpdir`, when given, is the program's temporary folder.
    explicit PrinterProgram(std::vector<std::string> arguments, const std::string& tmpdir = {}) {
        int pipeFds[2];
        if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        log_.Reset(pipeFds[0]);
        UniqueFd write(pipeFds[1]);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, write.Get(), STDERR_FILENO);
        arguments.insert(arguments.begin(), VELKARO_PRINTER_PROGRAM);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<std::string> environment;
        for (char** entry = environ; *entry; ++entry)
            if (tmpdir.empty() || std::string(*entry).rfind("TMPDIR=", 0) != 0)
                environment.push_back(*entry);
        if (!tmpdir.empty()) environment.push_back("TMPDIR=" + tmpdir);
        std::vector<char*> envp;
        for (std::string& entry : environment) envp.push_back(entry.data());
        envp.push_back(nullptr);
        const int failed =
            ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
        ::posix_spawn_file_actions_destroy(&actions);
        if (failed) throw std::runtime_error("cannot start " VELKARO_PRINTER_PROGRAM);
    }
    ~PrinterProgram() {
        if (pid_ > 0) Stop();
    }

    // Reads the log until a line matches `pattern` (first group returned) or it ends.
    std::string WaitForLine(const std::string& pattern, int timeoutMs = 10000) {
        const std::regex wanted(pattern);
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            std::size_t end;
            while ((end = pending_.find('\n')) != std::string::npos) {
                const std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                lines_.push_back(line);
                std::smatch match;
                if (std::regex_search(line, match, wanted))
                    return match.size() > 1 ? match[1].str() : line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{log_.Get(), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
            char buffer[4096];
            const ssize_t n = ::read(log_.Get(), buffer, sizeof buffer);
            if (n <= 0) return {};
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
    }

    // Sends SIGTERM and returns the exit status.
    int Stop() {
        ::kill(pid_, SIGTERM);
        return Wait();
    }
    int Wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    UniqueFd log_;
    std::string pending_;
    std::vector<std::string> lines_;
};

UniqueFd Connect(std::uint16_t port) {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in to = LoopbackAddress(port);
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)
        return UniqueFd();
    return fd;
}

TEST(PrinterProgramTest, ServesTcpAndAPseudoTerminalLogsEachJobAndQueryAndStopsCleanly) {
    TempDir folder;
    const auto link = folder.Path() / "ttyS0";
    PrinterProgram program({"--listen", "127.0.0.1:0", "--spool",
                            (folder.Path() / "spool").string(), "--pty", link.string(), "--paused",
                            "--language", "zpl", "--language", "epl"});
    const std::string port = program.WaitForLine(R"(listening on 127\.0\.0\.1:(\d+))");
    ASSERT_FALSE(port.empty());
    EXPECT_TRUE(std::filesystem::is_symlink(link));

    UniqueFd client = Connect(static_cast<std::uint16_t>(std::stoi(port)));
    ASSERT_TRUE(client);
    const std::string send = "^ee\r\nN\r\nP1\r\n";
    ASSERT_EQ(::send(client.Get(), send.data(), send.size(), MSG_NOSIGNAL), ssize_t(send.size()));
    EXPECT_EQ(ReadFrom(client.Get(), 4), "12\r\n");
    EXPECT_FALSE(program.WaitForLine("query \\^ee").empty());
    EXPECT_FALSE(program.WaitForLine("job 0001\\.epl: 7 bytes, 1 label, held").empty());

    EXPECT_EQ(program.Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)))
        << "the link goes with the program";
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "spool" / "0001.epl"));
}

TEST(PrinterProgramTest, RefusesABadOptionAndATakenPort) {
    PrinterProgram bad({"--language", "pcl"});
    EXPECT_FALSE(bad.WaitForLine("unknown language: pcl").empty());
    EXPECT_EQ(bad.Wait(), 2);

    TempDir tmp;
    LoopbackListener taken;
    PrinterProgram busy({"--listen", "127.0.0.1:" + taken.Port()}, tmp.Str());
    EXPECT_FALSE(busy.WaitForLine("cannot listen on 127\\.0\\.0\\.1:" + taken.Port()).empty());
    EXPECT_EQ(busy.Wait(), 1);
    EXPECT_TRUE(std::filesystem::is_empty(tmp.Path())) << "no empty spool folder left behind";
}

TEST(PrinterProgramTest, APrivateSpoolFolderGoesWhenItGotNoJobsAndStaysWithJobs) {
    TempDir tmp;
    for (const bool printed : {false, true}) {
        PrinterProgram program({"--listen", "127.0.0.1:0"}, tmp.Str());
        const std::string port = program.WaitForLine(R"(listening on 127\.0\.0\.1:(\d+))");
        ASSERT_FALSE(port.empty());
        if (printed) {
            UniqueFd client = Connect(static_cast<std::uint16_t>(std::stoi(port)));
            const std::string label = "^XA^FDkept^FS^XZ";
            ASSERT_EQ(::send(client.Get(), label.data(), label.size(), MSG_NOSIGNAL),
                      ssize_t(label.size()));
            EXPECT_FALSE(program.WaitForLine("job 0001\\.zpl").empty());
        }
        EXPECT_EQ(program.Stop(), 0);
        EXPECT_EQ(std::filesystem::is_empty(tmp.Path()), !printed);
    }
}

}  // namespace
}  // namespace velkaro::test
