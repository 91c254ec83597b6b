#include "platform/receive_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velkaro {
namespace {

// Each row as "<kind letter>:<bytes>", line breaks left in.
std::vector<std::string> Rows(const ReceiveLog& log) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < log.RowCount(); ++i) {
        const ReceiveRow row = log.Row(i);
        if (row.type == ReceiveRow::Type::DroppedNote) {
            rows.push_back("dropped");
            continue;
        }
        const char kind = "RST"[static_cast<int>(row.kind)];
        rows.push_back(std::string(1, kind) + ":" + log.Stream(row.kind).Bytes(row.begin, row.end));
    }
    return rows;
}

using Strings = std::vector<std::string>;

TEST(ReceiveLogTest, TextRowsEndAtEachKindOfLineBreakWhereverDeliveriesSplitThem) {
    const struct {
        Strings deliveries;
        Strings rows;
    } cases[] = {
        {{}, {"R:"}},
        {{"OK\r\n", "READY"}, {"R:OK\r\n", "R:READY"}},
        {{"OK\r\n"}, {"R:OK\r\n", "R:"}},
        {{"a\rb\nc\r\nd"}, {"R:a\r", "R:b\n", "R:c\r\n", "R:d"}},
        {{"line\r", "\nnext"}, {"R:line\r\n", "R:next"}},
        {{"\r", "\r", "\n"}, {"R:\r", "R:\r\n", "R:"}},
    };
    for (const auto& c : cases) {
        ReceiveLog log;
        for (const std::string& d : c.deliveries)
            log.Append(ReceiveKind::Received, d.data(), d.size(), 1);
        EXPECT_EQ(Rows(log), c.rows) << (c.deliveries.empty() ? "" : c.deliveries[0]);
    }
}

TEST(ReceiveLogTest, SentAndTypedRowsInterleaveInArrivalOrderWhenShown) {
    ReceiveLog log;
    auto add = [&](ReceiveKind kind, const std::string& bytes) {
        log.Append(kind, bytes.data(), bytes.size(), 1);
    };
    add(ReceiveKind::Sent, "~HS\r\n");
    add(ReceiveKind::Received,
        "\x02"
        "030,0\x03\r\n");
    add(ReceiveKind::Typed, "note\n");
    add(ReceiveKind::Sent, "~HI");
    add(ReceiveKind::Received, "ZT410\r\n");
    EXPECT_EQ(Rows(log), (Strings{"R:\x02"
                                  "030,0\x03\r\n",
                                  "T:note\n", "R:ZT410\r\n", "R:"}));
    log.SetShowSent(true);
    EXPECT_EQ(Rows(log), (Strings{"S:~HS\r\n",
                                  "R:\x02"
                                  "030,0\x03\r\n",
                                  "T:note\n", "S:~HI", "R:ZT410\r\n", "R:"}));
    EXPECT_EQ(log.RowOf(ReceiveKind::Received, 13), 4u);
    log.SetHex(true);
    EXPECT_EQ(Rows(log), (Strings{"S:~HS\r\n",
                                  "R:\x02"
                                  "030,0\x03\r\n",
                                  "S:~HI", "R:ZT410\r\n"}));
}

TEST(ReceiveLogTest, SwitchingBetweenTextAndHexKeepsEveryByteInOrder) {
    std::string all;
    for (int i = 0; i < 70000; ++i) all += static_cast<char>((i * 7) % 256);  // NUL, CR, LF...
    ReceiveLog log;
    for (std::size_t at = 0; at < all.size(); at += 999)
        log.Append(ReceiveKind::Received, all.data() + at,
                   std::min<std::size_t>(999, all.size() - at), 1);
    for (bool hex : {true, false, true}) {
        log.SetHex(hex);
        std::string shown;
        for (std::size_t i = 0; i < log.RowCount(); ++i) {
            const ReceiveRow row = log.Row(i);
            if (hex) {
                EXPECT_LE(row.end - row.begin, 16u);
            }
            shown += log.Stream(row.kind).Bytes(row.begin, row.end);
        }
        EXPECT_EQ(shown, all) << hex;
    }
    EXPECT_EQ(log.RowCount(), (all.size() + 15) / 16);
}

TEST(ReceiveLogTest, AnOverlongLineBreaksForDisplayAfterPunctuation) {
    std::string line(5000, 'A');
    line[4100] = ',';
    ReceiveLog log;
    log.Append(ReceiveKind::Received, line.data(), line.size(), 1);
    ASSERT_EQ(log.RowCount(), 2u);
    EXPECT_EQ(log.Row(1).begin, 4101u);
    EXPECT_TRUE(log.Row(1).continuesLine);
}

TEST(ReceiveLogTest, TheCapDropsWholeBlocksFromTheTopAndCountsThem) {
    ReceiveLog log;
    log.SetCap(100 * 1024);
    std::string line = "PRINTER STATUS 0123456789\r\n";
    std::uint64_t total = 0;
    for (int i = 0; i < 20000; ++i) {
        log.Append(ReceiveKind::Received, line.data(), line.size(), 1000 + i);
        total += line.size();
    }
    const ByteStream& stream = log.Stream(ReceiveKind::Received);
    EXPECT_LE(stream.Size(), 100u * 1024);
    EXPECT_EQ(stream.End(), total);
    EXPECT_EQ(log.Dropped(), stream.Begin());
    EXPECT_GT(log.Dropped(), 0u);
    EXPECT_EQ(log.Row(0).type, ReceiveRow::Type::DroppedNote);
    EXPECT_EQ(log.Row(1).begin, stream.Begin());
    EXPECT_EQ(stream.Bytes(log.Row(log.RowCount() - 2).begin, stream.End()), line);
    EXPECT_GE(stream.TimeAt(stream.Begin()), 1000);
    EXPECT_EQ(stream.TimeAt(stream.End() - 1), 1000 + 19999);
    EXPECT_LT(stream.MemoryBytes(), 200u * 1024);

    // Lines so short that their index would outweigh them count against the cap too.
    ReceiveLog breaks;
    breaks.SetCap(1u << 20);
    const std::string empty(ByteStream::kBlockSize, '\n');
    for (int i = 0; i < 48; ++i)
        breaks.Append(ReceiveKind::Received, empty.data(), empty.size(), 1);
    EXPECT_LE(breaks.Stream(ReceiveKind::Received).MemoryBytes(), 2u << 20);

    const std::string file(5u << 20, 'Z');  // one block far above the cap, sent at once
    log.Append(ReceiveKind::Sent, file.data(), file.size(), 1);
    EXPECT_EQ(log.Stream(ReceiveKind::Sent).End(), file.size());
    EXPECT_LE(log.Stream(ReceiveKind::Sent).MemoryBytes(), 200u * 1024);
}

TEST(ReceiveLogTest, FindsBytesAcrossDeliveriesAndBlocksInDisplayOrder) {
    ReceiveLog log;
    std::string filler(ByteStream::kBlockSize - 8, '.');
    log.Append(ReceiveKind::Received, "RE", 2, 1);
    log.Append(ReceiveKind::Received, "ADY ", 4, 1);
    log.Append(ReceiveKind::Received, filler.data(), filler.size(), 1);
    log.Append(ReceiveKind::Received, "READY", 5, 1);  // across the block boundary
    log.Append(ReceiveKind::Sent, "READY?", 6, 1);
    EXPECT_EQ(log.Find("READY", 10).size(), 2u);
    log.SetShowSent(true);
    const std::vector<ReceiveMatch> matches = log.Find("READY", 10);
    ASSERT_EQ(matches.size(), 3u);
    EXPECT_EQ(matches[0].offset, 0u);
    EXPECT_EQ(matches[1].offset, ByteStream::kBlockSize - 2);
    EXPECT_EQ(matches[2].kind, ReceiveKind::Sent);
    EXPECT_EQ(log.Find(std::string("\0", 1), 10).size(), 0u);
}

TEST(ReceiveLogTest, BackspaceTakesBackOnlyTypedText) {
    ReceiveLog log;
    log.Append(ReceiveKind::Received, "OK\r\n", 4, 1);
    EXPECT_FALSE(log.EraseTyped(1));
    log.Append(ReceiveKind::Typed, "ab", 2, 1);
    EXPECT_TRUE(log.EraseTyped(1));
    EXPECT_EQ(Rows(log), (Strings{"R:OK\r\n", "T:a"}));
    EXPECT_TRUE(log.EraseTyped(1));
    EXPECT_EQ(Rows(log), (Strings{"R:OK\r\n", "R:"}));
}

}  // namespace
}  // namespace velkaro
