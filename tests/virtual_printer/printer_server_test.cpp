// The virtual printer on its ports: TCP on an ephemeral loopback port and a pseudo-terminal
// opened by the program's own serial port class.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "connections/serial_port.h"
#include "running_printer.h"
#include "support/loopback.h"
#include "support/recording_owner.h"

namespace velkaro::test {
using virtual_printer::PrinterConfig;
namespace {

UniqueFd Connect(std::uint16_t port) {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in to = LoopbackAddress(port);
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)
        return UniqueFd();
    return fd;
}

void Send(int fd, const std::string& bytes) {
    ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
}

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::filesystem::path> SpoolFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool WaitForJobs(RunningPrinter& printer, int count) {
    for (int i = 0; i < 500 && printer.Printer().JobsSpooled() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return printer.Printer().JobsSpooled() >= count;
}

TEST(PrinterServerTest, SpoolFilesHoldExactlyWhatWasSentWhateverTheWritesAndConnections) {
    RunningPrinter printer({{true, true, true}, {}, {}});
    std::string binary(300, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7);
    const std::vector<std::string> jobs = {
        "^XA\r\n^FO50,50^ADN,36,20^FDZEBRA^FS\r\n^XZ",
        "^XA^FO0,0^GFB,300,300,10," + binary + "^FS^XZ",
        "N\r\nA50,0,0,1,1,1,N,\"Example 1\"\r\nP1\r\n",
        "! 0 200 200 210 1\r\nTEXT 7 0 210 60 HORIZ.\r\nFORM\r\nPRINT\r\n",
    };
    std::string stream;
    for (const std::string& job : jobs) stream += job + "\r\n";
    // The first connection sends the stream in odd pieces and leaves in the middle of a job;
    // the second one finishes it: jobs are cut by language, not by connection.
    const std::size_t cut = stream.size() - 20;
    {
        UniqueFd first = Connect(printer.Port());
        ASSERT_TRUE(first);
        for (std::size_t at = 0; at < cut; at += 13)
            Send(first.Get(), stream.substr(at, std::min<std::size_t>(13, cut - at)));
    }
    UniqueFd second = Connect(printer.Port());
    ASSERT_TRUE(second);
    Send(second.Get(), stream.substr(cut));
    ASSERT_TRUE(WaitForJobs(printer, 4));

    const auto files = SpoolFiles(printer.Spool());
    ASSERT_EQ(files.size(), 4u);
    const char* names[] = {"0001.zpl", "0002.zpl", "0003.epl", "0004.cpcl"};
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(files[i].filename(), names[i]);
        EXPECT_EQ(FileText(files[i]), jobs[i]) << names[i];
    }
    const auto log = printer.LogLines();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& line) { return line.rfind("job ", 0) == 0; }),
              4);
}

TEST(PrinterServerTest, ServesOneClientAtATimeAndKeepsAccepting) {
    PrinterConfig config;
    config.initial.paused = true;
    RunningPrinter printer(config);
    UniqueFd first = Connect(printer.Port());
    ASSERT_TRUE(first);
    Send(first.Get(), "~HS");
    const std::string reply = ReadFrom(first.Get(), 82);
    ASSERT_EQ(reply.size(), 82u);
    EXPECT_EQ(reply.substr(0, 8),
              "\x02"
              "030,0,1");

    // A second client waits in the queue until the first one leaves, then gets its answer.
    UniqueFd second = Connect(printer.Port());
    ASSERT_TRUE(second);
    Send(second.Get(), "! U1 getvar \"device.pause\"\r\n");
    EXPECT_EQ(ReadFrom(second.Get(), 3, 300), "");
    first.Reset();
    EXPECT_EQ(ReadFrom(second.Get(), 3), "\"1\"");
}

TEST(PrinterServerTest, PseudoTerminalServesTheSerialPortClass) {
    TempDir devices;
    RunningPrinter printer({}, devices.Path() / "ttyS0");
    ASSERT_TRUE(std::filesystem::is_symlink(devices.Path() / "ttyS0"));

    RecordingOwner owner;
    CASYNSerialPort port;
    port.SetDeviceFolder(devices.Str());
    ASSERT_TRUE(port.Open(&owner, 1, 9600, kParityNone, 8, kOneStopBit));
    ASSERT_TRUE(port.StartReader());
    const std::string query = "~HQES";
    ASSERT_TRUE(port.Write(query.data(), query.size()));
    const std::string expected =
        std::string("\x02PRINTER STATUS\r\nERRORS:   0 00000000 00000000\r\n") +
        "WARNINGS: 0 00000000 00000000\x03";
    ASSERT_TRUE(owner.WaitForBytes(expected.size()));
    EXPECT_EQ(owner.AllBytes(), expected);

    const std::string label = "^XA^FDserial^FS^XZ";
    ASSERT_TRUE(port.Write(label.data(), label.size()));
    ASSERT_TRUE(WaitForJobs(printer, 1));
    EXPECT_EQ(FileText(printer.Spool() / "0001.zpl"), label);
}

}  // namespace
}  // namespace velkaro::test
