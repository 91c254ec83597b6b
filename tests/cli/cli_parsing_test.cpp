// The command-line tool's readers of DEVICE names and --escapes text, and its open errors.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "cli/device_link.h"
#include "cli/device_spec.h"
#include "cli/escapes.h"
#include "support/temp_dir.h"

namespace velkaro::cli {
namespace {

TEST(CliDeviceSpec, ReadsEveryForm) {
    struct Case {
        std::string text;
        DeviceKind kind;
        int port;
        std::string line;  // serial settings as DescribeLine writes them
        int usbIndex;
        std::string host;
        int tcpPort;
    };
    const Case cases[] = {
        {"COM1", DeviceKind::Serial, 1, "9600,N,8,1", 0, "", 9100},
        {"com33:115200", DeviceKind::Serial, 33, "115200,N,8,1", 0, "", 9100},
        {"COM33:115200,N,8,1", DeviceKind::Serial, 33, "115200,N,8,1", 0, "", 9100},
        {"COM2:19200,e,7,2", DeviceKind::Serial, 2, "19200,E,7,2", 0, "", 9100},
        {"COM65:9600,O,8,1.5", DeviceKind::Serial, 65, "9600,O,8,1.5", 0, "", 9100},
        {"COM3:4800,M,5,1", DeviceKind::Serial, 3, "4800,M,5,1", 0, "", 9100},
        {"COM4:4800,S,6", DeviceKind::Serial, 4, "4800,S,6,1", 0, "", 9100},
        {"LPT1", DeviceKind::Parallel, 1, "9600,N,8,1", 0, "", 9100},
        {"USB", DeviceKind::Usb, 0, "9600,N,8,1", 0, "", 9100},
        {"usb:2", DeviceKind::Usb, 0, "9600,N,8,1", 2, "", 9100},
        {"tcp:192.168.1.20", DeviceKind::Tcp, 0, "9600,N,8,1", 0, "192.168.1.20", 9100},
        {"TCP:10.0.0.1:6101", DeviceKind::Tcp, 0, "9600,N,8,1", 0, "10.0.0.1", 6101},
        {"tcp:printer.local:9100", DeviceKind::Tcp, 0, "9600,N,8,1", 0, "printer.local", 9100},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto spec = ParseDeviceSpec(c.text, &error);
        ASSERT_TRUE(spec) << c.text << ": " << error;
        EXPECT_EQ(spec->kind, c.kind) << c.text;
        EXPECT_EQ(spec->port, c.port) << c.text;
        EXPECT_EQ(DescribeLine(spec->line), c.line) << c.text;
        EXPECT_EQ(spec->usbIndex, c.usbIndex) << c.text;
        EXPECT_EQ(spec->host, c.host) << c.text;
        EXPECT_EQ(spec->tcpPort, c.tcpPort) << c.text;
    }
}

TEST(CliDeviceSpec, NamesWhatIsWrong) {
    const std::pair<std::string, std::string> cases[] = {
        {"COM", "unknown device"},
        {"COMx", "unknown device"},
        {"COM0", "unknown device"},
        {"COM1:fast", "baud"},
        {"COM1:9600,X", "parity"},
        {"COM1:9600,N,9", "data bits"},
        {"COM1:9600,N,8,3", "stop bits"},
        {"COM1:9600,N,8,1,1", "too many"},
        {"LPT1:9600", "no settings"},
        {"USB:first", "USB position"},
        {"tcp:", "address"},
        {"tcp:10.0.0.1:0", "TCP port"},
        {"tcp:10.0.0.1:70000", "TCP port"},
        {"/dev/ttyS0", "unknown device"},
        {"", "unknown device"},
    };
    for (const auto& [text, problem] : cases) {
        std::string error;
        EXPECT_FALSE(ParseDeviceSpec(text, &error)) << text;
        EXPECT_NE(error.find(problem), std::string::npos) << text << ": " << error;
    }
}

TEST(CliEscapes, ReadsTheListedEscapesOnly) {
    std::string error;
    EXPECT_EQ(DecodeEscapes(R"(^XA\r\n~HS\x1B\x00end\\\t)", &error),
              std::string("^XA\r\n~HS\x1b") + '\0' + "end\\\t");
    EXPECT_EQ(DecodeEscapes("no escapes at all", &error), "no escapes at all");
    for (const std::string bad : {"\\", "\\q", "\\x4", "\\xZZ", "tail\\x"}) {
        EXPECT_FALSE(DecodeEscapes(bad, &error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

TEST(CliOpenFailure, SaysWhyANodeDidNotOpen) {
    test::TempDir folder;
    const std::string node = (folder.Path() / "ttyUSB0").string();
    EXPECT_EQ(DescribeOpenFailure(node, "dialout"), "no such device " + node);
    std::ofstream(node).close();
    ::chmod(node.c_str(), 0);
    if (::geteuid() == 0) GTEST_SKIP() << "root opens any node: no permission problem to show";
    const std::string reason = DescribeOpenFailure(node, "dialout");
    EXPECT_NE(reason.find("permission denied on " + node), std::string::npos) << reason;
    EXPECT_NE(reason.find("usermod -aG"), std::string::npos) << reason;
}

}  // namespace
}  // namespace velkaro::cli
