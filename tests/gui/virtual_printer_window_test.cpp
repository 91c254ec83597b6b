// The window against the virtual printer as its network peer, chosen and opened the way the
// command line does it; and the command line's start options themselves.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/command_line.h"
#include "gui_test_util.h"
#include "virtual_printer/running_printer.h"

namespace velkaro::test {
namespace {

StartOptions NetworkOptions(std::uint16_t port) {
    StartOptions options;
    QString error;
    EXPECT_TRUE(ParseStartOptions({"--tcp", QStringLiteral("127.0.0.1:%1").arg(port), "--open"},
                                  options, error))
        << error.toStdString();
    return options;
}

TEST(VirtualPrinterWindow, StatusQueryFromTheZplMenuGetsThePrintersReply) {
    virtual_printer::PrinterConfig config;
    config.initial.paperOut = true;
    RunningPrinter printer(config);
    WindowFixture w;
    w.dialog->ApplyStartOptions(NetworkOptions(printer.Port()));
    ASSERT_TRUE(w.dialog->PortOpen()) << w.ui.MessageTexts().join(' ').toStdString();
    EXPECT_EQ(w.dialog->Status(),
              QStringLiteral("当前状态：127.0.0.1:%1 打开").arg(printer.Port()));

    w.ui.chooseItem = 0;  // "状态查询": ~HS
    w.Click(IDC_ZPL);
    w.Click(IDC_SEND_DATA);
    ASSERT_TRUE(WaitUntil([&] { return w.ReceivedText().contains("1234,0"); }))
        << w.ReceivedText().toStdString();
    EXPECT_TRUE(w.ReceivedText().contains("030,1,0,1218,000,0,0,0,000,0,0,0"))
        << "paper out shows in the first string";

    w.ui.chooseItem = 1;  // the barcode label: printed into the spool folder as sent
    w.Click(IDC_ZPL);
    w.Click(IDC_SEND_DATA);
    ASSERT_TRUE(WaitUntil([&] { return printer.Printer().JobsSpooled() == 1; }));
    std::ifstream spooled(printer.Spool() / "0001.zpl", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(spooled), {}};
    EXPECT_EQ(bytes, "^XA\r\n^FO100,100^BY3\r\n^BCN,100,Y,N,N\r\n^FD123456\r\n^XZ");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST(VirtualPrinterWindow, WithoutOptionsTheWindowStartsAsBefore) {
    WindowFixture w;
    StartOptions none;
    QString error;
    ASSERT_TRUE(ParseStartOptions({}, none, error));
    w.dialog->ApplyStartOptions(none);
    EXPECT_EQ(w.dialog->PortType(), "COM");
    EXPECT_FALSE(w.dialog->PortOpen());
    EXPECT_EQ(w.dialog->Status(), "当前状态：COM1,9600,NONE,8,1 关闭");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST(VirtualPrinterWindow, StartOptionsChooseTheKindAndItsSettings) {
    struct Case {
        QStringList arguments;
        QString status;
    };
    const Case cases[] = {
        {{"--com", "com3", "--baud", "115200"}, "当前状态：COM3,115200,NONE,8,1 关闭"},
        {{"--lpt", "LPT2"}, "当前状态：LPT2 打开"},  // a parallel port counts as open
        {{"--tcp", "10.1.2.3:6101"}, "当前状态：10.1.2.3:6101 关闭"},
    };
    for (const Case& c : cases) {
        WindowFixture w;
        StartOptions options;
        QString error;
        ASSERT_TRUE(ParseStartOptions(c.arguments, options, error)) << error.toStdString();
        w.dialog->ApplyStartOptions(options);
        EXPECT_EQ(w.dialog->Status(), c.status);
    }
}

TEST(VirtualPrinterWindow, MalformedStartOptionsAreRefused) {
    const QStringList bad[] = {
        {"--tcp", "printer:9100"},
        {"--tcp", "127.0.0.1"},
        {"--tcp", "127.0.0.1:0"},
        {"--com", "ttyS0"},
        {"--lpt", "LPT"},
        {"--baud", "fast"},
        {"--tcp"},
        {"--com", "COM1", "--tcp", "127.0.0.1:9100"},
    };
    for (const QStringList& arguments : bad) {
        StartOptions options;
        QString error;
        EXPECT_FALSE(ParseStartOptions(arguments, options, error))
            << arguments.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    StartOptions options;
    QString error;
    ASSERT_TRUE(ParseStartOptions({"--version"}, options, error));
    EXPECT_EQ(options.unknown, QStringList{"--version"}) << "left for the caller to judge";
}

}  // namespace
}  // namespace velkaro::test
