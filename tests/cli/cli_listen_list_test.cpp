// `listen` until Ctrl+C or the printer hangs up, and `list` over a fake device tree.
#include <gtest/gtest.h>
#include <signal.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <regex>

#include "cli_test_util.h"
#include "platform/hex_dump.h"
#include "support/fake_sysfs.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace velkaro::test {
namespace {

const std::string kReply =
    "\x02"
    "030,1,1,1225,000,0,0,0,000,0,0,0\x03\r\n";

TEST(CliListen, HexDumpUntilCtrlC) {
    LoopbackListener listener;
    ChildProcess cli(kCli, {"listen", "tcp:127.0.0.1:" + listener.Port(), "--hex"});
    const UniqueFd printer = listener.Accept(30000);
    ASSERT_TRUE(printer);
    SendAll(printer.Get(), kReply.substr(0, 20));
    ASSERT_TRUE(cli.WaitForOutput("00000000  02 30"));
    SendAll(printer.Get(), kReply.substr(20));
    ASSERT_TRUE(cli.WaitForOutput("00000014  "));
    cli.Signal(SIGINT);
    const ProcessResult result = cli.Finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    // Offsets run on across the two deliveries.
    EXPECT_EQ(result.out,
              HexDump(0, kReply.data(), 20) + HexDump(20, kReply.data() + 20, kReply.size() - 20));
}

TEST(CliListen, TimestampedTextFromASerialLineUntilTheLineCloses) {
    TempDir folder;
    PtyPair pty;
    pty.LinkAs(folder.Path(), "ttyS0");  // COM1
    pty.CloseSlave();  // the tool refuses a serial line another program holds open
    ChildProcess cli(kCli, {"listen", "COM1", "--timestamps"},
                     {{"VELKARO_DEVICE_FOLDER", folder.Str()}});
    pty.Send("OK\r\n");
    ASSERT_TRUE(cli.WaitForOutput("OK\r\n"));
    cli.Signal(SIGTERM);
    const ProcessResult result = cli.Finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(std::regex_match(result.out, std::regex(R"(\[\d\d:\d\d:\d\d\.\d{3}\] OK\r\n)")))
        << result.out;
}

TEST(CliListen, PrinterHangingUpIsAConnectionError) {
    LoopbackListener listener;
    const std::string device = "tcp:127.0.0.1:" + listener.Port();
    ChildProcess cli(kCli, {"listen", device});
    {
        const UniqueFd printer = listener.Accept(30000);
        ASSERT_TRUE(printer);
        SendAll(printer.Get(), "bye");
        ASSERT_TRUE(cli.WaitForOutput("bye"));
    }
    const ProcessResult result = cli.Finish();
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(device), std::string::npos) << result.err;
}

TEST(CliList, JsonNamesEachPortAsDeviceText) {
    TempDir dev, sys;
    namespace fs = std::filesystem;
    for (const char* node : {"ttyS0", "ttyS1", "ttyUSB0", "lp0"}) std::ofstream(dev.Path() / node);
    for (const auto& [node, type] : {std::pair{"ttyS0", "0"}, std::pair{"ttyS1", "4"}}) {
        fs::create_directories(sys.Path() / "class/tty" / node);
        std::ofstream(sys.Path() / "class/tty" / node / "type") << type << "\n";
    }
    FakeUsbPrinter usb;
    usb.port = "1-1.4";
    usb.deviceId = "MFG:Zebra Technologies;CMD:ZPL;MDL:ZT410;";
    AddFakeUsbPrinter(sys.Path(), dev.Path(), usb);

    const ProcessResult result =
        RunCli({"list", "--json"}, {},
               {{"VELKARO_DEVICE_FOLDER", dev.Str()}, {"VELKARO_SYSFS_ROOT", sys.Str()}});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    QJsonParseError error{};
    const QJsonArray ports =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.out), &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.out;
    std::vector<std::string> seen;
    for (const auto& port : ports) {
        const QJsonObject entry = port.toObject();
        seen.push_back(entry.value("device").toString().toStdString() + " " +
                       entry.value("node").toString().toStdString().substr(dev.Str().size()) + " " +
                       entry.value("description").toString().toStdString());
    }
    // ttyS0 has no UART behind it; the USB printer is named by its port and model.
    const std::vector<std::string> expected = {"COM2 /ttyS1 on-board UART",
                                               "COM33 /ttyUSB0 USB serial adapter", "LPT1 /lp0 ",
                                               "USB:0 /usb/lp0 1-1.4 Zebra Technologies ZT410"};
    EXPECT_EQ(seen, expected);

    const ProcessResult table = RunCli(
        {"list"}, {}, {{"VELKARO_DEVICE_FOLDER", dev.Str()}, {"VELKARO_SYSFS_ROOT", sys.Str()}});
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_NE(table.out.find("USB:0"), std::string::npos) << table.out;
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 5) << table.out;
}

}  // namespace
}  // namespace velkaro::test
