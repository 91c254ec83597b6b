// The job framing: whatever pieces the bytes come in, the same units come out, byte for byte.
#include "printer_language/job_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkaro::printer_language {
namespace {

using Kind = StreamUnit::Kind;

struct Unit {
    Kind kind;
    std::string bytes;
    bool operator==(const Unit& other) const { return kind == other.kind && bytes == other.bytes; }
};

void PrintTo(const Unit& unit, std::ostream* out) {
    *out << static_cast<int>(unit.kind) << ":" << ::testing::PrintToString(unit.bytes);
}

// Feeds `stream` in pieces of `piece` bytes (0: all at once) and collects the units.
std::vector<Unit> Split(const std::string& stream, LanguageSet languages, std::size_t piece) {
    JobSplitter splitter(languages);
    std::vector<Unit> units;
    const auto sink = [&](const StreamUnit& unit) {
        units.push_back({unit.kind, std::string(unit.bytes)});
    };
    if (piece == 0) piece = stream.size();
    for (std::size_t at = 0; at < stream.size(); at += piece)
        splitter.Feed(std::string_view(stream).substr(at, piece), sink);
    return units;
}

const LanguageSet kZpl{true, false, false};
const LanguageSet kEpl{false, true, false};
const LanguageSet kCpcl{false, false, true};
const LanguageSet kAll{true, true, true};

const std::string kZplLabel = "^XA\r\n^FO100,100^BY3\r\n^BCN,100,Y,N,N\r\n^FD123456\r\n^XZ";
const std::string kEplLabel = "N\r\nB10,10,0,3,3,7,200,B,\"998152-001\"\r\nP1\r\n";
const std::string kCpclLabel = "! 0 200 200 210 1\r\nTEXT 7 0 210 60 HORIZ.\r\nFORM\r\nPRINT\r\n";

struct Case {
    const char* name;
    LanguageSet languages;
    std::vector<Unit> units;  // the stream is their bytes, with `between` after each
    std::string between = "\r\n";
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"zpl jobs and queries",
         kZpl,
         {{Kind::Query, "~HS"},
          {Kind::Job, kZplLabel},
          {Kind::Query, "~HQES"},
          {Kind::Query, "~HI"},
          {Kind::Job, "^xa^FDlower case^fs^xz"}}},
        {"zpl tilde commands outside formats",
         kZpl,
         {{Kind::Command, "~PS"}, {Kind::Command, "~JSB"}, {Kind::Job, "^XA^FD~ stays^XZ"}},
         ""},
        {"zpl binary graphic holding ^XZ",
         kZpl,
         {{Kind::Job, "^XA^FO0,0^GFB,8,8,1," + std::string("^XZ\0\x01^XZ", 8) + "^FS^XZ"}}},
        {"zpl skips what it does not know",
         kZpl,
         {{Kind::Ignored, "hello"}, {Kind::Job, "^XA^XZ"}, {Kind::Ignored, "N"}}},
        {"epl jobs, queries and setup lines",
         kEpl,
         {{Kind::Command, "q609\r\n"},
          {Kind::Job, kEplLabel},
          {Kind::Query, "^ee\r\n"},
          {Kind::Query, "UQ\n"},
          {Kind::Job, "N\nA50,0,0,1,1,1,N,\"P1\"\nP3,1\n"}},
         ""},
        {"epl binary graphic holding a print line",
         kEpl,
         {{Kind::Job, "N\r\nGW10,10,2,2,\nP1\r\n\r\nP1\r\n"}},
         ""},
        {"cpcl jobs, queries and sgd",
         kCpcl,
         {{Kind::Job, kCpclLabel},
          {Kind::Query, "\x1bh"},
          {Kind::Query, "\x1b h"},
          {Kind::Query, "\x1bv"},
          {Kind::Sgd, "! U1 getvar \"media.status\"\r\n"},
          {Kind::Job, "! UTILITIES\r\nSETFF 10 2\r\nEND\r\n"}},
         ""},
        {"cpcl binary graphic holding PRINT",
         kCpcl,
         {{Kind::Job, "! 0 200 200 210 1\r\nCG 7 1 0 0 PRINT\r\n\r\nPRINT\r\n"}},
         ""},
        {"sgd in every language",
         kZpl,
         {{Kind::Sgd, "! U1 setvar \"head.latch\" \"open\"\r\n"}, {Kind::Job, "^XA^XZ"}},
         ""},
        {"all languages in one stream",
         kAll,
         {{Kind::Job, kZplLabel},
          {Kind::Job, kEplLabel},
          {Kind::Job, kCpclLabel},
          {Kind::Query, "~HS"},
          {Kind::Query, "^ee\r\n"},
          {Kind::Query, "\x1bh"}},
         ""},
    };
    return cases;
}

TEST(JobSplitterTest, SameUnitsWhateverThePiecesTheBytesComeIn) {
    for (const Case& c : Cases()) {
        std::string stream;
        for (const Unit& unit : c.units) stream += unit.bytes + c.between;
        for (std::size_t piece : {0, 1, 2, 7, 64}) {
            EXPECT_EQ(Split(stream, c.languages, piece), c.units)
                << c.name << ", pieces of " << piece;
        }
    }
}

TEST(JobSplitterTest, ManyJobsInOneWriteComeOutInOrder) {
    std::string stream;
    for (int i = 0; i < 1000; ++i) stream += "^XA^FD" + std::to_string(i) + "^FS^XZ\r\n";
    const std::vector<Unit> units = Split(stream, kZpl, 0);
    ASSERT_EQ(units.size(), 1000u);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(units[i].bytes, "^XA^FD" + std::to_string(i) + "^FS^XZ");
}

TEST(JobSplitterTest, AnOpenUnitWaitsAndHoldsItsBytes) {
    for (const char* open : {"^XA^FDno end", "N\r\nA1\r\n", "N\r\nP1\r", "! 0 200 200 210 1\r\n",
                             "~HQE", "! U1 getvar \"x\"", "\x1b", "~DGR:A.GRF,2,1,FF"}) {
        JobSplitter splitter(kAll);
        int units = 0;
        splitter.Feed(open, [&](const StreamUnit&) { ++units; });
        EXPECT_EQ(units, 0) << open;
        EXPECT_EQ(splitter.Pending(), std::string(open).size()) << open;
    }
}

}  // namespace
}  // namespace velkaro::printer_language
