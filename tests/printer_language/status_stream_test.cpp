// Picking status replies out of everything a printer sends.
#include <gtest/gtest.h>

#include <string>

#include "printer_language/status_stream.h"
#include "status_test_util.h"

namespace velkaro::printer_language::test {
namespace {

TEST(StatusStream, FramedRepliesAreFoundAmongOtherOutput) {
    StatusStream stream;
    EXPECT_TRUE(stream.Feed("label printed\r\n00\r\n\x02PRINTER STA").empty());
    const auto replies = stream.Feed(
        "TUS\r\nERRORS: 1 00000000 00000004\r\nWARNINGS: 0 00000000 00000000\r\n\x03"
        "\r\n\x02"
        "GK420d,V61.17.17Z,8,2104KB\x03");
    ASSERT_EQ(replies.size(), 2u) << Describe(replies);
    EXPECT_EQ(replies[0].summary, "打印头打开");
    EXPECT_EQ(replies[1].kind, ReplyKind::ZplHostIdentification);
}

TEST(StatusStream, UnframedRepliesOnlyWhenExpected) {
    StatusStream stream;
    EXPECT_TRUE(stream.Feed("07\r\n").empty());  // a bare line could be anything
    stream.Expect(ReplyKind::EplErrorReport);
    EXPECT_TRUE(stream.Expecting());
    auto replies = stream.Feed("07,11\r\n12\r\n");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].summary, "缺纸或缺碳带 · 打印头抬起");
    EXPECT_FALSE(stream.Expecting());

    stream.Expect(ReplyKind::CpclStatus);
    replies = stream.Feed("\x02\x04");  // one status byte answers, the next is not another
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].summary, "缺纸");

    stream.Expect(ReplyKind::SgdValue, "media.status");
    stream.CancelExpected();
    EXPECT_TRUE(stream.Feed("\"out\"").empty());
    stream.Expect(ReplyKind::SgdValue, "media.status");
    replies = stream.Feed("\"out\"");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].summary, "缺纸");
}

}  // namespace
}  // namespace velkaro::printer_language::test
