#include "connections/uucp_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/unique_fd.h"

namespace velkaro {
namespace {

std::string ReadSmallFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd) return {};
    char buffer[64];
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool ProcessAlive(int pid) {
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// Writes our PID into a fresh file beside the lock and links it to the lock's name: link() fails
// when the name exists, so two programs never both believe they hold the lock.
UucpLock::Result Create(const std::string& folder, const std::string& path) {
    std::string temp = folder + "/LTMP.velkaro.XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd) return UucpLock::Result::FolderUnusable;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
    const bool written = ::fchmod(fd.Get(), 0644) == 0 && ::write(fd.Get(), text, length) == length;
    fd.Reset();
    const bool linked = written && ::link(temp.c_str(), path.c_str()) == 0;
    const int error = errno;
    ::unlink(temp.c_str());
    if (linked) return UucpLock::Result::Taken;
    return written && error == EEXIST ? UucpLock::Result::HeldByOther
                                      : UucpLock::Result::FolderUnusable;
}

}  // namespace

int LockFilePid(const std::string& content) {
    if (content.size() == 4 && (content[3] == '\0' || content[0] == '\0')) {
        int pid = 0;
        std::memcpy(&pid, content.data(), 4);
        return pid > 0 ? pid : 0;
    }
    char* end = nullptr;
    const long pid = std::strtol(content.c_str(), &end, 10);
    return end != content.c_str() && pid > 0 && pid < (1L << 30) ? static_cast<int>(pid) : 0;
}

UucpLock::Result UucpLock::Acquire(const std::string& folder, const std::string& devicePath) {
    Release();
    holder_ = 0;
    const std::size_t slash = devicePath.find_last_of('/');
    const std::string name = slash == std::string::npos ? devicePath : devicePath.substr(slash + 1);
    const std::string path = folder + "/LCK.." + name;
    if (::access(folder.c_str(), W_OK) != 0) return Result::FolderUnusable;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Result result = Create(folder, path);
        if (result == Result::Taken) path_ = path;
        if (result != Result::HeldByOther) return result;
        // A lock naming no PID is being written or is not ours to judge: it counts as held.
        const int pid = LockFilePid(ReadSmallFile(path));
        if (pid == 0 || ProcessAlive(pid)) {
            holder_ = pid;
            return Result::HeldByOther;
        }
        ::unlink(path.c_str());  // stale: its process has gone
    }
    return Result::HeldByOther;
}

void UucpLock::Release() {
    if (path_.empty()) return;
    // Only a lock that still names us is ours to remove.
    if (LockFilePid(ReadSmallFile(path_)) == ::getpid()) ::unlink(path_.c_str());
    path_.clear();
}

}  // namespace velkaro
