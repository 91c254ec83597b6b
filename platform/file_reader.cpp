#include "platform/file_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/unique_fd.h"

namespace velkaro {

UniqueFd OpenFileToSend(const std::string& path, std::uint64_t* size) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) return UniqueFd();
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return UniqueFd();
    if (::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return UniqueFd();  // another program holds it exclusively
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    if (size) *size = static_cast<std::uint64_t>(info.st_size);
    return fd;
}

}  // namespace velkaro
