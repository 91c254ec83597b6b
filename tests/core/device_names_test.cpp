#include "platform/device_names.h"

#include <gtest/gtest.h>

namespace velkaro {
namespace {

TEST(DeviceNames, SerialPortsMapToTheDocumentedNodes) {
    const struct {
        int port;
        const char* path;
    } cases[] = {
        {1, "/dev/ttyS0"},
        {32, "/dev/ttyS31"},
        {33, "/dev/ttyUSB0"},
        {64, "/dev/ttyUSB31"},
        {65, "/dev/ttyACM0"},
        {97, "/dev/ttyAMA0"},
        {128, "/dev/ttyAMA31"},
        {129, "/dev/rfcomm0"},
        {160, "/dev/rfcomm31"},
        {0, ""},
        {-3, ""},
        {161, ""},
        {255, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SerialDevicePath(c.port), c.path) << c.port;
    EXPECT_EQ(SerialDevicePath(34, "/tmp/x"), "/tmp/x/ttyUSB1");
}

TEST(DeviceNames, ParallelPortsMapToLpNodes) {
    EXPECT_EQ(ParallelDevicePath(1), "/dev/lp0");
    EXPECT_EQ(ParallelDevicePath(10), "/dev/lp9");
    EXPECT_EQ(ParallelDevicePath(0), "");
    EXPECT_EQ(ParallelDevicePath(11), "");
    EXPECT_EQ(ParallelDevicePath(2, "/tmp/d"), "/tmp/d/lp1");
}

TEST(DeviceNames, PortNumbersAreReadLikeAtoiAfterRemovingThePrefix) {
    const struct {
        const char* text;
        const char* prefix;
        int number;
    } cases[] = {
        {"COM12", "COM", 12},
        {"COM1", "COM", 1},
        {"COM", "COM", 0},
        {"COMx", "COM", 0},
        {"com3", "COM", 0},
        {"LPT2", "LPT", 2},
        {" 7", "", 7},
        {"-4", "", -4},
        {"12ab", "", 12},
        {"", "", 0},
        {"99999999999", "", 2147483647},
        {"CCOMOM5", "COM", 0},  // one pass: "COM5" is left, which has no leading digits
    };
    for (const auto& c : cases) EXPECT_EQ(PortNumberFromName(c.text, c.prefix), c.number) << c.text;
}

}  // namespace
}  // namespace velkaro
