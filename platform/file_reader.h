// Reading a whole file to send it: all of it or nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/unique_fd.h"

namespace velkaro {

enum class FileReadResult { Ok, CannotOpen, TooLarge, ReadFailed };

// Files this large are refused before anything is read, so a send never stops half-way.
constexpr std::size_t kMaxSendFileBytes = std::size_t{1} << 30;  // 1 GiB

// Opens a regular file read-only, refusing one that another program holds locked, and reads
// it to the end (a file that grows while it is read is still bounded by `maxBytes`).
FileReadResult ReadWholeFile(const std::string& path, std::string* content,
                             std::size_t maxBytes = kMaxSendFileBytes);

// Opens a regular file read-only for streaming, refusing one that another program holds locked;
// `size` gets its length at this moment. Invalid when it cannot be opened or is not a regular
// file (a pipe or device could block or never end).
UniqueFd OpenFileToSend(const std::string& path, std::uint64_t* size);

}  // namespace velkaro
