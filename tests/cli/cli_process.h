// Runs a program of the build (the command-line tool, the virtual printer) as a real child
// process: arguments, extra environment, bytes for its standard input, and its output and exit
// status collected without ever blocking on a full pipe.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

namespace velkaro::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when it did not end by itself in time (it was killed)
    std::string out;
    std::string err;
};

class ChildProcess {
  public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env = {}) {
        ::signal(SIGPIPE, SIG_IGN);  // a child that ends early must not take the test with it
        int in[2], out[2], err[2];
        if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC))
            throw std::runtime_error("pipe failed");
        std::vector<std::string> words{program};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        // The environment is built before the fork: the child only calls async-signal-safe code.
        std::vector<std::string> settings;
        for (char** entry = environ; *entry; ++entry) {
            const std::string setting = *entry;
            if (!env.count(setting.substr(0, setting.find('=')))) settings.push_back(setting);
        }
        for (const auto& [name, value] : env) settings.push_back(name + '=' + value);
        std::vector<char*> envp;
        for (std::string& setting : settings) envp.push_back(setting.data());
        envp.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            ::execve(program.c_str(), argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        ::close(err[1]);
        in_.Reset(in[1]);
        out_.Reset(out[0]);
        err_.Reset(err[0]);
        ::fcntl(in_.Get(), F_SETFL, O_NONBLOCK);
    }
    ~ChildProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Feeds `bytes` to standard input, then closes it.
    void SetInput(std::string bytes) { input_ = std::move(bytes); }
    void Signal(int number) const { ::kill(pid_, number); }

    // Pumps the pipes until stdout holds `text` or `timeoutMs` passed; true when it does.
    bool WaitForOutput(const std::string& text, int timeoutMs = 10000) {
        return Pump(timeoutMs, [&] { return result_.out.find(text) != std::string::npos; });
    }
    bool WaitForError(const std::string& text, int timeoutMs = 10000) {
        return Pump(timeoutMs, [&] { return result_.err.find(text) != std::string::npos; });
    }

    // Waits for the end (killing the child after `timeoutMs`) and returns what it left.
    ProcessResult Finish(int timeoutMs = 30000) {
        Pump(timeoutMs, [] { return false; });
        int status = 0;
        if (pid_ > 0) {
            if (out_ || err_) ::kill(pid_, SIGKILL);  // still running: pipes never closed
            ::waitpid(pid_, &status, 0);
            result_.exitCode = (out_ || err_) || !WIFEXITED(status) ? -1 : WEXITSTATUS(status);
            pid_ = -1;
        }
        return result_;
    }

    const ProcessResult& SoFar() const { return result_; }

  private:
    template <typename Done>
    bool Pump(int timeoutMs, Done done) {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (!out_ && !err_) return false;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return false;
            if (in_ && inputDone_ >= input_.size()) in_.Reset();
            pollfd waits[3] = {
                {out_.Get(), POLLIN, 0}, {err_.Get(), POLLIN, 0}, {in_.Get(), POLLOUT, 0}};
            ::poll(waits, 3, static_cast<int>(left.count()));
            Drain(out_, waits[0].revents, &result_.out);
            Drain(err_, waits[1].revents, &result_.err);
            if (in_ && (waits[2].revents & (POLLOUT | POLLERR))) {
                const ssize_t n =
                    ::write(in_.Get(), input_.data() + inputDone_, input_.size() - inputDone_);
                if (n > 0) inputDone_ += static_cast<std::size_t>(n);
                if (n < 0 && errno != EAGAIN) in_.Reset();
            }
        }
        return true;
    }

    static void Drain(UniqueFd& fd, short events, std::string* into) {
        if (!fd || !(events & (POLLIN | POLLHUP | POLLERR))) return;
        char buffer[65536];
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n > 0)
            into->append(buffer, static_cast<std::size_t>(n));
        else
            fd.Reset();
    }

    pid_t pid_ = -1;
    UniqueFd in_, out_, err_;
    std::string input_;
    std::size_t inputDone_ = 0;
    ProcessResult result_;
};

// Runs the program to its end with `input` on its standard input.
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::string& input = {},
                                const std::map<std::string, std::string>& env = {},
                                int timeoutMs = 30000) {
    ChildProcess child(program, args, env);
    child.SetInput(input);
    return child.Finish(timeoutMs);
}

}  // namespace velkaro::test
