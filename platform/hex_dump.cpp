#include "platform/hex_dump.h"

namespace velkaro {

std::string HexDumpLine(std::uint64_t offset, const unsigned char* bytes, std::size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    if (count > kHexDumpBytesPerLine) count = kHexDumpBytesPerLine;
    std::string line;
    line.reserve(10 + kHexDumpBytesPerLine * 3 + 2 + kHexDumpBytesPerLine);
    for (int shift = 28; shift >= 0; shift -= 4) line += kDigits[(offset >> shift) & 0xf];
    line += ' ';
    for (std::size_t i = 0; i < kHexDumpBytesPerLine; ++i) {
        line += ' ';
        if (i == kHexDumpBytesPerLine / 2) line += ' ';  // a gap between the two halves
        if (i < count) {
            line += kDigits[bytes[i] >> 4];
            line += kDigits[bytes[i] & 0xf];
        } else {
            line += "  ";
        }
    }
    line += "  ";
    for (std::size_t i = 0; i < count; ++i)
        line += (bytes[i] >= 0x20 && bytes[i] < 0x7f) ? static_cast<char>(bytes[i]) : '.';
    return line;
}

std::string HexDump(std::uint64_t offset, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string out;
    for (std::size_t done = 0; done < size; done += kHexDumpBytesPerLine) {
        out += HexDumpLine(offset + done, bytes + done, size - done);
        out += '\n';
    }
    return out;
}

}  // namespace velkaro
