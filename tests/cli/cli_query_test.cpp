// getvar and setvar as real processes against a printer stand-in that answers Set-Get-Do.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <map>

#include "cli_test_util.h"

namespace velkaro::test {
namespace {

// Answers each `! U1 getvar "name"` line: the value in quotes, "?" for a name it does not know,
// nothing at all for "silent.name". Returns everything it received.
std::string AnswerGetvars(int fd, const std::map<std::string, std::string>& variables) {
    std::string received, pending;
    for (;;) {
        const std::string got = ReadFrom(fd, 1, 30000);
        if (got.empty()) return received;
        received += got;
        pending += got;
        for (std::size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
            const std::string command = pending.substr(0, end);
            pending.erase(0, end + 2);
            const std::string prefix = "! U1 getvar \"";
            if (command.rfind(prefix, 0) != 0) continue;
            const std::string name =
                command.substr(prefix.size(), command.size() - prefix.size() - 1);
            if (name == "silent.name") continue;
            const auto found = variables.find(name);
            SendAll(fd, '"' + (found == variables.end() ? "?" : found->second) + '"');
        }
    }
}

const std::map<std::string, std::string> kVariables = {
    {"device.friendly_name", "ZT410-LINE3"},
    {"media.status", "ok"},
};

ProcessResult GetvarFromPrinter(const std::vector<std::string>& options) {
    LoopbackPrinter printer([](int fd) { AnswerGetvars(fd, kVariables); });
    std::vector<std::string> args{"getvar", printer.Device()};
    args.insert(args.end(), options.begin(), options.end());
    return RunCli(args);
}

TEST(CliGetvar, PrintsOneValueBare) {
    const ProcessResult result = GetvarFromPrinter({"device.friendly_name"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "ZT410-LINE3\n");
}

TEST(CliGetvar, JsonHoldsEveryNameWithNullForUnsupported) {
    const ProcessResult result =
        GetvarFromPrinter({"--json", "device.friendly_name", "media.status", "no.such"});
    EXPECT_EQ(result.exitCode, 1);  // one name is not supported
    EXPECT_NE(result.err.find("no.such"), std::string::npos);
    QJsonParseError error{};
    const QJsonObject values =
        QJsonDocument::fromJson(QByteArray::fromStdString(result.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.out;
    EXPECT_EQ(values.value("device.friendly_name").toString(), "ZT410-LINE3");
    EXPECT_EQ(values.value("media.status").toString(), "ok");
    EXPECT_TRUE(values.value("no.such").isNull());
    EXPECT_EQ(values.size(), 3);
}

TEST(CliGetvar, NoAnswerInTimeIsExitTwo) {
    const ProcessResult result = GetvarFromPrinter({"--timeout", "0.5", "silent.name"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("silent.name"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
}

TEST(CliSetvar, SendsTheCommandExactly) {
    std::string received;
    ProcessResult result;
    {
        LoopbackPrinter printer([&](int fd) { received = ReadFrom(fd, std::string::npos, 30000); });
        result = RunCli({"setvar", printer.Device(), "device.friendly_name", "LINE 4"});
    }
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(received, "! U1 setvar \"device.friendly_name\" \"LINE 4\"\r\n");
}

}  // namespace
}  // namespace velkaro::test
