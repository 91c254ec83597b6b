// Opening a file to send it: regular files only, never one another program holds locked.
#pragma once

#include <cstdint>
#include <string>

#include "platform/unique_fd.h"

namespace velkaro {

// Opens a regular file read-only for streaming, refusing one that another program holds locked;
// `size` gets its length at this moment. Invalid when it cannot be opened or is not a regular
// file (a pipe or device could block or never end).
UniqueFd OpenFileToSend(const std::string& path, std::uint64_t* size);

}  // namespace velkaro
