#include "platform/hex_dump.h"

#include <gtest/gtest.h>

#include <string>

namespace velkaro {
namespace {

TEST(HexDump, FullLineShortLastLineAndControlBytes) {
    const std::string bytes = std::string(
                                  "\x02"
                                  "030,1,1,1225,00",
                                  16) +
                              std::string(
                                  "\0\x7f\xff"
                                  "A",
                                  4);
    EXPECT_EQ(HexDump(0, bytes.data(), bytes.size()),
              "00000000  02 30 33 30 2C 31 2C 31  2C 31 32 32 35 2C 30 30  .030,1,1,1225,00\n"
              "00000010  00 7F FF 41                                       ...A\n");
}

TEST(HexDump, OffsetIsCarriedAndEmptyInputGivesNothing) {
    const unsigned char one = 'x';
    EXPECT_EQ(HexDumpLine(0x1234abcd, &one, 1).substr(0, 10), "1234ABCD  ");
    EXPECT_EQ(HexDump(0, "", 0), "");
}

}  // namespace
}  // namespace velkaro
