#include "platform/file_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

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

FileReadResult ReadWholeFile(const std::string& path, std::string* content, std::size_t maxBytes) {
    content->clear();
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) return FileReadResult::CannotOpen;
    struct stat info {};
    // Only regular files: a pipe or device could block or never end.
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return FileReadResult::CannotOpen;
    if (::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return FileReadResult::CannotOpen;  // another program holds it exclusively
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    if (static_cast<std::size_t>(info.st_size) > maxBytes) return FileReadResult::TooLarge;
    try {
        content->reserve(static_cast<std::size_t>(info.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                content->clear();
                return FileReadResult::ReadFailed;
            }
            if (content->size() + static_cast<std::size_t>(n) > maxBytes) {
                content->clear();
                return FileReadResult::TooLarge;
            }
            content->append(buffer, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        std::string().swap(*content);
        return FileReadResult::TooLarge;
    }
    return FileReadResult::Ok;
}

}  // namespace velkaro
