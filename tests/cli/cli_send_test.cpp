// `send` as a real process: every byte arrives, in order, over the network and a serial line.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli_test_util.h"
#include "support/fake_sysfs.h"
#include "support/fifo_printer.h"
#include "support/pty_pair.h"
#include "support/temp_dir.h"

namespace velkaro::test {
namespace {

using Environment = std::map<std::string, std::string>;

// Reads what the tool sends until it closes the connection.
std::string ReadToEnd(int fd) {
    return ReadFrom(fd, std::string::npos, 60000);
}

TEST(CliSend, StandardInputFromAPipeArrivesByteForByte) {
    const std::string data = MixedBytes(3 * 1024 * 1024 + 17);
    std::string received;
    ProcessResult result;
    {
        LoopbackPrinter printer([&](int fd) { received = ReadToEnd(fd); });
        result = RunCli({"send", printer.Device(), "-"}, data);
    }
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");  // not a terminal: no progress line
    EXPECT_TRUE(received == data) << received.size() << " of " << data.size() << " bytes";
}

TEST(CliSend, TextIsSentAsGivenAndEscapesOnlyOnRequest) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--text", R"(^XA\r\n^FDA\x41^FS^XZ)"}, R"(^XA\r\n^FDA\x41^FS^XZ)"},
        {{"--text", R"(^XA\r\n^FDA\x41^FS^XZ)", "--escapes"}, "^XA\r\n^FDAA^FS^XZ"},
        {{"--escapes", "--text", R"(\x1Bh)"}, "\x1bh"},
    };
    for (const auto& [options, expected] : cases) {
        std::string received;
        ProcessResult result;
        {
            LoopbackPrinter printer([&](int fd) { received = ReadToEnd(fd); });
            std::vector<std::string> args{"send", printer.Device()};
            args.insert(args.end(), options.begin(), options.end());
            result = RunCli(args);
        }
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(received, expected);
    }
}

TEST(CliSend, FileOverASerialLine) {
    TempDir folder;
    PtyPair pty;
    pty.LinkAs(folder.Path(), "ttyUSB0");  // COM33
    pty.CloseSlave();  // the tool refuses a serial line another program holds open
    const std::string data = MixedBytes(200 * 1024, 11);
    const std::string file = (folder.Path() / "label.bin").string();
    std::ofstream(file, std::ios::binary) << data;

    ChildProcess cli(kCli, {"send", "COM33:115200,N,8,1", file, "--quiet"},
                     {{"VELKARO_DEVICE_FOLDER", folder.Str()}});
    const std::string received = pty.Receive(data.size(), 60000);
    const ProcessResult result = cli.Finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(received == data) << received.size() << " of " << data.size() << " bytes";
}

TEST(CliSend, FileOverTheNetwork) {
    TempDir folder;
    const std::string data = MixedBytes(5 * 1024 * 1024 + 3, 5);
    const std::string file = (folder.Path() / "labels.zpl").string();
    std::ofstream(file, std::ios::binary) << data;
    std::string received;
    ProcessResult result;
    {
        LoopbackPrinter printer([&](int fd) { received = ReadToEnd(fd); });
        result = RunCli({"send", printer.Device(), file});
    }
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(received == data) << received.size() << " of " << data.size() << " bytes";
}

TEST(CliSend, CtrlCStopsAndReportsExactlyWhatThePrinterGot) {
    TempDir folder;
    const std::string file = (folder.Path() / "big.bin").string();
    std::ofstream(file).close();
    std::filesystem::resize_file(file, 256u << 20);  // sparse: nothing to write
    LoopbackListener listener;
    ChildProcess cli(kCli, {"send", "tcp:127.0.0.1:" + listener.Port(), file});
    const UniqueFd printer = listener.Accept(30000);
    ASSERT_TRUE(printer);
    const std::string first = ReadFrom(printer.Get(), 1 << 20, 30000);  // then it stops reading
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    cli.Signal(SIGINT);
    ASSERT_TRUE(cli.WaitForError("stopped after"));
    const std::string rest = ReadFrom(printer.Get(), std::string::npos, 60000);
    const ProcessResult result = cli.Finish();
    EXPECT_EQ(result.exitCode, 1);
    const std::string reported = std::to_string(first.size() + rest.size());
    EXPECT_NE(result.err.find("stopped after " + reported + " of 268435456 bytes"),
              std::string::npos)
        << result.err;
}

TEST(CliSend, PrinterHangingUpMidSendIsAConnectionError) {
    LoopbackPrinter printer([](int fd) { ReadFrom(fd, 1 << 20, 30000); });  // then closes
    const std::string data(64u << 20, 'x');
    const ProcessResult result = RunCli({"send", printer.Device(), "-"}, data);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(printer.Device() + ": connection lost after"), std::string::npos)
        << result.err;
}

TEST(CliSend, ParallelPortAndTheUsbPrinterAtAPosition) {
    TempDir dev, sys;
    const std::string data = MixedBytes(100 * 1024, 3);
    const Environment env = {{"VELKARO_DEVICE_FOLDER", dev.Str()},
                             {"VELKARO_SYSFS_ROOT", sys.Str()}};
    {
        const std::string node = (dev.Path() / "lp0").string();  // LPT1
        ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
        FifoPrinter printer(node, 30000);
        printer.Start();
        const ProcessResult result = RunCli({"send", "LPT1", "-"}, data, env);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(printer.Received() == data);
    }
    PtyPair second;
    AddFakeUsbPrinter(sys.Path(), dev.Path(), {0, "1-1", "MFG:Zebra;MDL:ZD420;"});
    FakeUsbPrinter usb{1, "1-2", "MFG:Zebra;MDL:ZT410;", UsbNode::kSymlink, second.SlaveName()};
    AddFakeUsbPrinter(sys.Path(), dev.Path(), usb);
    ChildProcess cli(kCli, {"send", "USB:1", "-"}, env);
    cli.SetInput(data);
    std::string received;
    std::thread reader([&] { received = second.Receive(data.size(), 60000); });
    const ProcessResult result = cli.Finish();
    reader.join();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(received == data) << received.size() << " of " << data.size() << " bytes";
}

TEST(CliSend, ErrorsNameTheDeviceAndTheReason) {
    TempDir folder;
    LoopbackListener closed;
    closed.Close();  // nobody listens there any more: the connection is refused
    const std::string refused = "tcp:127.0.0.1:" + closed.Port();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::vector<std::string> mentions;
    };
    const Case cases[] = {
        {{"send", refused, "--text", "x"}, 3, {refused, "cannot connect"}},
        {{"send", "COM40", "--text", "x"}, 3, {"COM40", folder.Str() + "/ttyUSB7"}},
        {{"send", "COM999", "--text", "x"}, 3, {"COM999", "no serial device"}},
        {{"send", "LPT2", "--text", "x"}, 3, {"LPT2", "/lp1"}},
        {{"send", "USB:1", "--text", "x"}, 3, {"USB:1", "no USB printer"}},
        {{"send", "COM1:9600,Q", "--text", "x"}, 64, {"COM1:9600,Q", "parity"}},
        {{"send", refused, folder.Str() + "/missing.zpl"}, 1, {"missing.zpl", "No such file"}},
        {{"send"}, 64, {"DEVICE"}},
        {{"frobnicate"}, 64, {"unknown command"}},
    };
    for (const Case& c : cases) {
        const ProcessResult result =
            RunCli(c.args, {},
                   {{"VELKARO_DEVICE_FOLDER", folder.Str()}, {"VELKARO_SYSFS_ROOT", folder.Str()}});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args[0] << ' ' << result.err;
        const std::string last =
            result.err.substr(result.err.rfind('\n', result.err.size() - 2) + 1);
        for (const std::string& mention : c.mentions)
            EXPECT_NE(last.find(mention), std::string::npos) << "'" << mention << "' in " << last;
    }
}

}  // namespace
}  // namespace velkaro::test
