#include "virtual_printer/spool_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/unique_fd.h"

namespace velkaro::virtual_printer {
namespace {

std::runtime_error Failure(const std::string& what, const std::filesystem::path& path) {
    return std::runtime_error(what + " " + path.string() + ": " + std::strerror(errno));
}

}  // namespace

const char* SpoolExtension(printer_language::Language language) {
    switch (language) {
        case printer_language::Language::Zpl:
            return ".zpl";
        case printer_language::Language::Epl:
            return ".epl";
        case printer_language::Language::Cpcl:
            return ".cpcl";
    }
    return ".prn";
}

SpoolWriter::SpoolWriter(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::filesystem::create_directories(folder_);
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        const std::string stem = entry.path().stem().string();
        if (stem.empty() || stem.find_first_not_of("0123456789") != std::string::npos) continue;
        lastNumber_ = std::max(lastNumber_, std::atoi(stem.c_str()));
    }
}

std::filesystem::path SpoolWriter::Write(printer_language::Language language,
                                         std::string_view bytes) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d%s", lastNumber_ + 1, SpoolExtension(language));
    const std::filesystem::path path = folder_ / name;
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd) throw Failure("cannot create", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw Failure("cannot write", path);
        done += static_cast<std::size_t>(n);
    }
    ++lastNumber_;
    return path;
}

std::filesystem::path MakePrivateSpoolFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velkaro-printer-XXXXXX");
    if (!::mkdtemp(pattern.data())) throw Failure("cannot create", std::filesystem::path(pattern));
    return pattern;
}

}  // namespace velkaro::virtual_printer
