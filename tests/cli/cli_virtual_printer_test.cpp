// Every device command against the virtual printer, over the network and over its serial line.
#include <gtest/gtest.h>
#include <signal.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <thread>

#include "cli_test_util.h"
#include "support/temp_dir.h"
#include "virtual_printer_process.h"

namespace velkaro::test {
namespace {

using Environment = std::map<std::string, std::string>;

// One printer reached two ways: its TCP port, and COM33 on its pseudo-terminal.
struct Connection {
    std::string name;
    bool serial;
};
const Connection kConnections[] = {{"tcp", false}, {"pty", true}};
void PrintTo(const Connection& connection, std::ostream* out) {
    *out << connection.name;
}

class CliAgainstVirtualPrinter : public ::testing::TestWithParam<Connection> {
  protected:
    // Starts a printer with `flags`; returns the DEVICE text that reaches it this way.
    std::string Start(std::vector<std::string> flags = {}) {
        if (GetParam().serial) flags.insert(flags.end(), {"--language", "zpl"});
        printer_ = std::make_unique<VirtualPrinterProcess>(
            flags, GetParam().serial ? folder_.Path() / "ttyUSB0" : std::filesystem::path());
        return GetParam().serial ? "COM33:9600,N,8,1" : printer_->Device();
    }
    ProcessResult Cli(std::vector<std::string> args, const std::string& input = {}) {
        return RunCli(args, input, {{"VELKARO_DEVICE_FOLDER", folder_.Str()}});
    }

    TempDir folder_;
    std::unique_ptr<VirtualPrinterProcess> printer_;
};

TEST_P(CliAgainstVirtualPrinter, StatusExitCodeFollowsThePrinterState) {
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{}, 0}, {{"--paper-out"}, 1}, {{"--head-open"}, 1}, {{"--paused"}, 1}};
    for (const auto& [flags, exitCode] : cases) {
        const std::string device = Start(flags);
        const ProcessResult result = Cli({"status", device});
        EXPECT_EQ(result.exitCode, exitCode) << (flags.empty() ? "ready" : flags[0]) << result.err;
        EXPECT_NE(result.out.find("~HS"), std::string::npos) << result.out;
        printer_.reset();
    }
}

TEST_P(CliAgainstVirtualPrinter, StatusJsonNamesEachFault) {
    const std::string device = Start({"--paper-out", "--head-open"});
    const ProcessResult result = Cli({"status", device, "--json"});
    EXPECT_EQ(result.exitCode, 1) << result.err;
    QJsonParseError error{};
    const QJsonObject status =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.out;
    EXPECT_FALSE(status.value("ready").toBool());
    EXPECT_EQ(status.value("severity").toString(), "error");
    const QJsonArray replies = status.value("replies").toArray();
    ASSERT_EQ(replies.size(), 2);
    EXPECT_EQ(replies[0].toObject().value("kind").toString().toStdString(), "zpl_host_status");
    EXPECT_EQ(replies[1].toObject().value("kind").toString().toStdString(), "zpl_error_status");
    std::map<std::string, std::string> seen;  // field key -> severity, of the ~HS reply
    for (const auto& field : replies[0].toObject().value("fields").toArray()) {
        const QJsonObject f = field.toObject();
        for (const char* member : {"key", "name", "raw", "meaning", "severity"})
            EXPECT_TRUE(f.value(member).isString()) << member;
        seen[f.value("key").toString().toStdString()] =
            f.value("severity").toString().toStdString();
    }
    EXPECT_EQ(seen["paper_out"], "error");
    EXPECT_EQ(seen["head_up"], "error");
    EXPECT_EQ(seen["paused"], "ok");
    EXPECT_TRUE(replies[0].toObject().value("raw").toString().startsWith(QChar(0x02)));
}

TEST_P(CliAgainstVirtualPrinter, SendIsSpooledByteForByte) {
    const std::string device = Start();
    const std::string label = "^XA^FO50,50^A0N,40,40^FDVelkaro^FS^XZ";
    ProcessResult result = Cli({"send", device, "-"}, label + label);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    result = Cli({"send", device, "--text", R"(^XA^FDLine\x0D\x0A^FS^XZ)", "--escapes"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::string> expected = {label, label, "^XA^FDLine\r\n^FS^XZ"};
    std::vector<std::string> jobs;
    for (int wait = 0; wait < 100 && jobs.size() < expected.size(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        jobs = printer_->Jobs();
    }
    EXPECT_EQ(jobs, expected);
}

TEST_P(CliAgainstVirtualPrinter, SetvarThenGetvar) {
    const std::string device = Start();
    ProcessResult result = Cli({"setvar", device, "device.friendly_name", "LINE-7"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    result = Cli({"getvar", device, "device.friendly_name", "media.status"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "device.friendly_name: LINE-7\nmedia.status: ok\n");
}

TEST_P(CliAgainstVirtualPrinter, ListenHoldsTheLineUntilCtrlC) {
    const std::string device = Start();
    ChildProcess listen(kCli, {"listen", device, "--hex"},
                        {{"VELKARO_DEVICE_FOLDER", folder_.Str()}});
    if (GetParam().serial) {
        // The serial line is held for this program alone: once listen has it, a second opener
        // is told so (until then a line end just reaches the printer).
        ProcessResult second;
        for (int attempt = 0; attempt < 100 && second.exitCode != 3; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            second = Cli({"send", device, "--text", "\r\n"});  // asks for no reply
        }
        EXPECT_EQ(second.exitCode, 3);
        EXPECT_NE(second.err.find("COM33"), std::string::npos) << second.err;
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    listen.Signal(SIGINT);
    const ProcessResult result = listen.Finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");  // the printer speaks only when asked
}

INSTANTIATE_TEST_SUITE_P(Connections, CliAgainstVirtualPrinter, ::testing::ValuesIn(kConnections),
                         [](const auto& info) { return info.param.name; });

TEST(CliStatus, OtherLanguagesAskTheirOwnQuestion) {
    const std::pair<std::string, std::string> cases[] = {{"epl", "epl_error_report"},
                                                         {"cpcl", "cpcl_status"}};
    for (const auto& [language, kind] : cases) {
        VirtualPrinterProcess printer({"--language", language, "--paper-out"});
        const ProcessResult result =
            RunCli({"status", printer.Device(), "--lang", language, "--json"});
        EXPECT_EQ(result.exitCode, 1) << language << result.err;
        const QJsonObject status =
            QJsonDocument::fromJson(QByteArray::fromStdString(result.out)).object();
        const QJsonArray replies = status.value("replies").toArray();
        ASSERT_EQ(replies.size(), 1) << result.out;
        EXPECT_EQ(replies[0].toObject().value("kind").toString().toStdString(), kind);
    }
}

TEST(CliStatus, NoReplyBadReplyAndRefusedConnection) {
    LoopbackListener closed;
    closed.Close();
    {
        LoopbackPrinter silent([](int fd) { ReadFrom(fd, std::string::npos, 30000); });
        const ProcessResult result = RunCli({"status", silent.Device(), "--timeout", "0.5"});
        EXPECT_EQ(result.exitCode, 2) << result.err;
        EXPECT_NE(result.err.find("no status reply"), std::string::npos) << result.err;
    }
    {
        LoopbackPrinter garbled([](int fd) {
            ReadFrom(fd, 3, 30000);
            SendAll(fd,
                    "\x02"
                    "not,a,status\x03\r\n");
            ReadFrom(fd, std::string::npos, 30000);
        });
        const ProcessResult result = RunCli({"status", garbled.Device(), "--timeout", "1"});
        EXPECT_EQ(result.exitCode, 2) << result.err;
    }
    const ProcessResult refused = RunCli({"status", "tcp:127.0.0.1:" + closed.Port()});
    EXPECT_EQ(refused.exitCode, 3) << refused.err;
}

}  // namespace
}  // namespace velkaro::test
