// The hexadecimal dump layout shared by the receive box and the command-line tool: an 8-digit
// offset, 16 bytes in hex, then the bytes as printable ASCII ('.' for anything else):
//   00000000  02 30 33 30 2C 31 2C 31  2C 31 32 32 35 2C 30 30  .030,1,1,1225,00
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velkaro {

inline constexpr std::size_t kHexDumpBytesPerLine = 16;

// One line for up to 16 bytes at `offset`, without a line end; a short last line is padded so
// its character column lines up with the full lines above it.
std::string HexDumpLine(std::uint64_t offset, const unsigned char* bytes, std::size_t count);

// Every line for `size` bytes starting at `offset`, each ended by '\n'.
std::string HexDump(std::uint64_t offset, const void* data, std::size_t size);

}  // namespace velkaro
