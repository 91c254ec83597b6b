// Every status query against the exact bytes a printer in each state answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "virtual_printer/virtual_printer.h"

namespace velkaro::virtual_printer {
namespace {

const std::string kStx = "\x02", kEtx = "\x03", kCrLf = "\r\n";

PrinterState With(bool paperOut, bool headOpen, bool paused, bool ribbonOut = false) {
    PrinterState state;
    state.paperOut = paperOut;
    state.headOpen = headOpen;
    state.paused = paused;
    state.ribbonOut = ribbonOut;
    return state;
}

struct Row {
    const char* condition;
    PrinterState state;
    std::string query;
    std::string reply;
};

std::string HostStatus(const char* paperOut, const char* paused, const char* headUp,
                       const char* ribbonOut) {
    return kStx + "030," + paperOut + "," + paused + ",1218,000,0,0,0,000,0,0,0" + kEtx + kCrLf +
           kStx + "001,0," + headUp + "," + ribbonOut + ",1,2,6,0,00000000,1,000" + kEtx + kCrLf +
           kStx + "1234,0" + kEtx + kCrLf;
}

std::string HostQueryStatus(const char* errors) {
    return kStx + "PRINTER STATUS" + kCrLf + "ERRORS:   " + errors + kCrLf +
           "WARNINGS: 0 00000000 00000000" + kEtx;
}

std::vector<Row> Rows() {
    const PrinterState ready = With(false, false, false);
    const PrinterState paperOut = With(true, false, false);
    const PrinterState headOpen = With(false, true, false);
    const PrinterState paused = With(false, false, true);
    const PrinterState ribbonOut = With(false, false, false, true);
    const PrinterState everything = With(true, true, true, true);
    return {
        // ZPL
        {"ready", ready, "~HS\r\n", HostStatus("0", "0", "0", "0")},
        {"paper out", paperOut, "~HS", HostStatus("1", "0", "0", "0")},
        {"head open", headOpen, "~HS", HostStatus("0", "0", "1", "0")},
        {"paused", paused, "~HS", HostStatus("0", "1", "0", "0")},
        {"ribbon out", ribbonOut, "~HS", HostStatus("0", "0", "0", "1")},
        {"ready", ready, "~HQES", HostQueryStatus("0 00000000 00000000")},
        {"paper out", paperOut, "~HQES", HostQueryStatus("1 00000000 00000001")},
        {"ribbon out", ribbonOut, "~HQES", HostQueryStatus("1 00000000 00000002")},
        {"head open", headOpen, "~HQES", HostQueryStatus("1 00000000 00000004")},
        {"paused", paused, "~HQES", HostQueryStatus("0 00000000 00000000")},
        {"everything", everything, "~HQES", HostQueryStatus("1 00000000 00000007")},
        {"ready", ready, "~HI", kStx + "VELKARO-VP,V1.0.0,8,8192KB" + kEtx},
        // EPL
        {"ready", ready, "^ee\r\n", "00\r\n"},
        {"paper out", paperOut, "^ee\r\n", "07\r\n"},
        {"ribbon out", ribbonOut, "^ee\r\n", "07\r\n"},
        {"head open", headOpen, "^ee\r\n", "11\r\n"},
        {"paused", paused, "^ee\r\n", "12\r\n"},
        {"everything", everything, "^ee\r\n", "07,11,12\r\n"},
        // CPCL
        {"ready", ready, "\x1bh", std::string(1, '\0')},
        {"paper out", paperOut, "\x1bh", "\x02"},
        {"head open", headOpen, "\x1bh", "\x04"},
        {"everything", everything, "\x1b h", "\x06"},
        {"ready", ready, "\x1bi", std::string(1, '\0')},
        {"ribbon out", ribbonOut, "\x1bi", "\x80"},
        {"ready", ready, "\x1bv", std::string("VELKARO-VP CPCL V1.0.0") + '\0'},
        // Set-Get-Do, whatever the language
        {"ready", ready, "! U1 getvar \"media.status\"\r\n", "\"ok\""},
        {"paper out", paperOut, "! U1 getvar \"media.status\"\r\n", "\"out\""},
        {"head open", headOpen, "! U1 getvar \"head.latch\"\r\n", "\"open\""},
        {"ready", ready, "! U1 getvar \"head.latch\"\r\n", "\"ok\""},
        {"ready", ready, "! U1 getvar \"appl.name\"\r\n", "\"V1.0.0\""},
        {"ready", ready, "! U1 getvar \"device.friendly_name\"\r\n", "\"VELKARO-VP\""},
        {"ready", ready, "! U1 getvar \"device.languages\"\r\n", "\"epl_zpl_cpcl\""},
        {"ready", ready, "! U1 getvar \"no.such.name\"\r\n", "\"?\""},
        {"ready", ready, "! U1 getvar \"odometer.total_print_length\"\r\n",
         "\"0 INCHES, 0 CENTIMETERS\""},
        {"paper out", paperOut, "! U1 getvar \"device.host_status\"\r\n",
         "\"030,1,0,1218,000,0,0,0,000,0,0,0,001,0,0,0,1,2,6,0,00000000,1,000,1234,0\""},
        {"ready", ready, "! U1 setvar \"media.status\" \"out\"\r\n", ""},
    };
}

TEST(ReplyTableTest, EachQueryGetsExactlyTheRepliesBytes) {
    for (const Row& row : Rows()) {
        test::TempDir spool;
        VirtualPrinter printer({{true, true, true}, spool.Path(), row.state}, nullptr);
        VirtualPrinter::Input input(printer);
        EXPECT_EQ(input.Feed(row.query), row.reply)
            << row.condition << ", " << ::testing::PrintToString(row.query);
    }
}

TEST(ReplyTableTest, QueriesOfLanguagesItDoesNotSpeakGetNoReply) {
    test::TempDir spool;
    VirtualPrinter printer({{true, false, false}, spool.Path(), {}}, nullptr);
    VirtualPrinter::Input input(printer);
    EXPECT_EQ(input.Feed("^ee\r\nUQ\r\n\x1bh\x1bv"), "");
    EXPECT_EQ(input.Feed("! U1 getvar \"device.languages\"\r\n"), "\"zpl\"");
}

TEST(ReplyTableTest, StateFollowsSetvarAndTheJobsItPrints) {
    test::TempDir spool;
    VirtualPrinter printer({{true, true, true}, spool.Path(), {}}, nullptr);
    VirtualPrinter::Input input(printer);
    input.Feed("! U1 setvar \"head.latch\" \"open\"\r\n");
    EXPECT_EQ(input.Feed("^ee\r\n"), "11\r\n");
    // While the head is open a job waits in the buffer: ~HS shows it, nothing is printed.
    input.Feed("^XA^LL800^PQ3^XZ");
    const std::string waiting = kStx + "030,0,0,0800,001,0,0,0,000,0,0,0" + kEtx;
    EXPECT_EQ(input.Feed("~HS").substr(0, waiting.size()), waiting);
    EXPECT_EQ(printer.State().labelsPrinted, 0);
    input.Feed("! U1 setvar \"head.latch\" \"ok\"\r\n");
    EXPECT_EQ(printer.State().labelsPrinted, 3);
    EXPECT_EQ(input.Feed("! U1 getvar \"odometer.total_label_count\"\r\n"), "\"3\"");
    EXPECT_EQ(input.Feed("! U1 getvar \"odometer.total_print_length\"\r\n"),
              "\"11 INCHES, 30 CENTIMETERS\"");  // 3 x 800 dots at 8 dots/mm = 300 mm
    // ~PP pauses and ~PS resumes; labels of EPL and CPCL count too.
    input.Feed("~PP");
    EXPECT_EQ(input.Feed("^ee\r\n"), "12\r\n");
    input.Feed("N\r\nP2\r\n! 0 200 200 210 4\r\nPRINT\r\n~PS");
    EXPECT_EQ(printer.State().labelsPrinted, 9);
    // Any other name is kept and read back.
    input.Feed("! U1 setvar \"device.friendly_name\" \"Shelf 3\"\r\n");
    EXPECT_EQ(input.Feed("! U1 getvar \"device.friendly_name\"\r\n"), "\"Shelf 3\"");
}

}  // namespace
}  // namespace velkaro::virtual_printer
