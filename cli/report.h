// What the command-line tool writes for people and scripts: error lines and raw output.
#pragma once

#include <cstddef>
#include <string>

namespace velkaro::cli {

inline constexpr char kProgramName[] = "velkaro-cli";

// One line on stderr: "velkaro-cli: SUBJECT: REASON".
void ReportError(const std::string& subject, const std::string& reason);

// Writes all of `bytes` to `fd`, retrying short writes; false when the output is gone.
bool WriteFully(int fd, const char* bytes, std::size_t length);
inline bool WriteFully(int fd, const std::string& bytes) {
    return WriteFully(fd, bytes.data(), bytes.size());
}

}  // namespace velkaro::cli
