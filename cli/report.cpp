#include "cli/report.h"

#include <unistd.h>

#include <cerrno>

namespace velkaro::cli {

void ReportError(const std::string& subject, const std::string& reason) {
    std::string line = std::string(kProgramName) + ": ";
    if (!subject.empty()) line += subject + ": ";
    line += reason + '\n';
    WriteFully(STDERR_FILENO, line);
}

bool WriteFully(int fd, const char* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, bytes, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace velkaro::cli
