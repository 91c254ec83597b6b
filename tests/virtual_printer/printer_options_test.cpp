// The command line of velkaro-printer.
#include "virtual_printer/printer_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace velkaro::virtual_printer {
namespace {

bool Parse(std::vector<const char*> args, PrinterOptions& options, std::string& error) {
    args.insert(args.begin(), "velkaro-printer");
    return ParsePrinterOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(PrinterOptionsTest, DefaultsToZplOnLoopbackPort9100) {
    PrinterOptions options;
    std::string error;
    ASSERT_TRUE(Parse({}, options, error));
    EXPECT_EQ(options.listen.host, "127.0.0.1");
    EXPECT_EQ(options.listen.port, 9100);
    EXPECT_TRUE(options.languages.zpl);
    EXPECT_FALSE(options.languages.epl || options.languages.cpcl);
    EXPECT_TRUE(options.pty.empty() && options.spool.empty());
    EXPECT_FALSE(options.initial.paperOut || options.initial.headOpen || options.initial.paused);
}

TEST(PrinterOptionsTest, ReadsEveryOption) {
    PrinterOptions options;
    std::string error;
    ASSERT_TRUE(
        Parse({"--listen", "0.0.0.0:9200", "--pty", "/tmp/p", "--language", "epl", "--language",
               "cpcl", "--spool", "/tmp/s", "--paper-out", "--head-open", "--paused"},
              options, error))
        << error;
    EXPECT_EQ(options.listen.host, "0.0.0.0");
    EXPECT_EQ(options.listen.port, 9200);
    EXPECT_EQ(options.pty, "/tmp/p");
    EXPECT_EQ(options.spool, "/tmp/s");
    EXPECT_FALSE(options.languages.zpl);
    EXPECT_TRUE(options.languages.epl && options.languages.cpcl);
    EXPECT_TRUE(options.initial.paperOut && options.initial.headOpen && options.initial.paused);
}

TEST(PrinterOptionsTest, RefusesWhatItDoesNotUnderstand) {
    for (const auto& args : std::vector<std::vector<const char*>>{{"--listen", "localhost:9100"},
                                                                  {"--listen", "127.0.0.1:99999"},
                                                                  {"--listen"},
                                                                  {"--language", "pcl"},
                                                                  {"--colour"}}) {
        PrinterOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace velkaro::virtual_printer
