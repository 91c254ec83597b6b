// The status decoders against real replies, every way of cutting them, and bad input.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "printer_language/cpcl_status_decoder.h"
#include "printer_language/epl_status_decoder.h"
#include "printer_language/sgd_reply_decoder.h"
#include "printer_language/status_decoder.h"
#include "printer_language/zpl_status_decoder.h"
#include "status_test_util.h"

namespace velkaro::printer_language::test {
namespace {

using namespace std::string_literals;

// A real printer's answer to ~HS: paper out, paused, ribbon out.
const std::string kHostStatus =
    "\x02"
    "030,1,1,1225,000,0,0,0,000,0,0,0\x03\r\n\x02"
    "001,0,0,1,1,2,6,0,00000100,1,000\x03\r\n\x02"
    "1234,0\x03";

const std::string kQueryStatus =
    "\x02PRINTER STATUS\r\n   ERRORS:         1 00000002 00001205\r\n"
    "   WARNINGS:       1 00000000 00000008\r\n\x03";

std::vector<StatusReply> DecodeAll(ReplyKind kind, const std::string& bytes,
                                   const std::string& sgdName = {}) {
    auto decoder = MakeStatusDecoder(kind, sgdName);
    std::vector<StatusReply> replies = decoder->Decode(bytes);
    decoder->Finish(replies);
    return replies;
}

TEST(ZplStatusDecoder, HostStatusNamesEveryFieldOfTheThreeStrings) {
    const auto replies = DecodeAll(ReplyKind::ZplHostStatus, kHostStatus);
    ASSERT_EQ(replies.size(), 1u) << Describe(replies);
    const StatusReply& reply = replies[0];
    EXPECT_TRUE(reply.decoded);
    EXPECT_EQ(reply.kind, ReplyKind::ZplHostStatus);
    EXPECT_EQ(reply.fields.size(), 25u);
    EXPECT_EQ(reply.raw,
              "\x02"
              "030,1,1,1225,000,0,0,0,000,0,0,0\x03\x02"
              "001,0,0,1,1,2,6,0,00000100,1,000\x03\x02"
              "1234,0\x03");
    EXPECT_EQ(reply.summary, "缺纸 · 暂停 · 缺碳带");
    EXPECT_EQ(reply.severity, Severity::Error);
    const struct {
        const char* key;
        const char* raw;
        const char* meaning;
        Severity severity;
    } expected[] = {
        {"communication_settings", "030",
         "9600 波特 · 8 数据位 · 1 停止位 · 无校验 · Xon/Xoff 握手", Severity::Ok},
        {"paper_out", "1", "缺纸", Severity::Error},
        {"paused", "1", "暂停", Severity::Warning},
        {"label_length", "1225", "1225 点", Severity::Ok},
        {"formats_in_buffer", "000", "0 个", Severity::Ok},
        {"buffer_full", "0", "未满", Severity::Ok},
        {"corrupt_ram", "0", "正常", Severity::Ok},
        {"over_temperature", "0", "正常", Severity::Ok},
        {"function_settings", "001", "间隙纸 · 热转印", Severity::Ok},
        {"head_up", "0", "关闭", Severity::Ok},
        {"ribbon_out", "1", "缺碳带", Severity::Error},
        {"thermal_transfer", "1", "热转印", Severity::Ok},
        {"print_mode", "2", "撕纸", Severity::Ok},
        {"print_width_mode", "6", "", Severity::Ok},
        {"labels_remaining", "00000100", "100 张", Severity::Ok},
        {"format_while_printing", "1", "支持", Severity::Ok},
        {"graphics_stored", "000", "0 个", Severity::Ok},
        {"password", "1234", "", Severity::Ok},
        {"static_ram", "0", "未安装", Severity::Ok},
    };
    for (const auto& e : expected) {
        const StatusField* field = FieldOf(reply, e.key);
        ASSERT_NE(field, nullptr) << e.key;
        EXPECT_EQ(field->raw, e.raw) << e.key;
        EXPECT_EQ(field->meaning, e.meaning) << e.key;
        EXPECT_EQ(field->severity, e.severity) << e.key;
    }
}

TEST(ZplStatusDecoder, CommunicationAndPrintModeBitFields) {
    const struct {
        const char* aaa;
        const char* meaning;
    } settings[] = {
        {"000", "110 波特 · 7 数据位 · 2 停止位 · 无校验 · Xon/Xoff 握手"},
        {"255", "19200 波特 · 8 数据位 · 1 停止位 · 偶校验 · DTR 握手"},
        {"056", "110 波特 · 8 数据位 · 1 停止位 · 奇校验 · Xon/Xoff 握手"},
        {"256", "28800 波特 · 7 数据位 · 2 停止位 · 无校验 · Xon/Xoff 握手"},
        {"259", "14400 波特 · 7 数据位 · 2 停止位 · 无校验 · Xon/Xoff 握手"},
        {"260", "波特率代码 12 未知 · 7 数据位 · 2 停止位 · 无校验 · Xon/Xoff 握手"},
    };
    for (const auto& s : settings) {
        const std::string reply = "\x02"s + s.aaa +
                                  ",0,0,1225,000,0,0,0,000,0,0,0\x03\x02"
                                  "129,0,0,0,0,K,6,0,00000000,1,000\x03\x02"
                                  "0000,1\x03";
        const auto replies = DecodeAll(ReplyKind::ZplHostStatus, reply);
        ASSERT_EQ(replies.size(), 1u);
        ASSERT_TRUE(replies[0].decoded) << s.aaa;
        EXPECT_EQ(FieldOf(replies[0], "communication_settings")->meaning, s.meaning);
        EXPECT_EQ(FieldOf(replies[0], "function_settings")->meaning, "连续纸 · 热转印");
        EXPECT_EQ(FieldOf(replies[0], "print_mode")->meaning, "自助终端");
        EXPECT_EQ(replies[0].summary, "就绪");
    }
}

TEST(ZplStatusDecoder, LiteralStxEtxTextFramesTheSameReply) {
    std::string literal = kHostStatus;
    for (std::size_t at; (at = literal.find('\x02')) != std::string::npos;)
        literal.replace(at, 1, "<STX>");
    for (std::size_t at; (at = literal.find('\x03')) != std::string::npos;)
        literal.replace(at, 1, "<ETX>");
    const auto plain = DecodeAll(ReplyKind::ZplHostStatus, kHostStatus);
    const auto replies = DecodeAll(ReplyKind::ZplHostStatus, literal);
    ASSERT_EQ(replies.size(), 1u);
    std::string framesOnly = literal;
    for (std::size_t at; (at = framesOnly.find("\r\n")) != std::string::npos;)
        framesOnly.erase(at, 2);
    EXPECT_EQ(replies[0].raw, framesOnly);
    StatusReply same = replies[0];
    same.raw = plain[0].raw;
    EXPECT_EQ(Describe(same), Describe(plain[0]));
}

TEST(ZplStatusDecoder, HostQueryStatusNamesEachSetBit) {
    const auto replies = DecodeAll(ReplyKind::ZplHostQueryStatus, kQueryStatus);
    ASSERT_EQ(replies.size(), 1u);
    const StatusReply& reply = replies[0];
    ASSERT_TRUE(reply.decoded) << Describe(reply);
    EXPECT_EQ(reply.summary, "缺纸 · 打印头打开 · 打印头热敏电阻开路 · bit 12 · bit 33 · 纸将用完");
    EXPECT_EQ(FieldOf(reply, "error_flag")->raw, "1 00000002 00001205");
    EXPECT_EQ(FieldOf(reply, "error.head_open")->severity, Severity::Error);
    EXPECT_EQ(FieldOf(reply, "error.bit_33")->raw, "bit 33");
    EXPECT_EQ(FieldOf(reply, "warning.paper_near_end")->severity, Severity::Warning);
    EXPECT_EQ(FieldOf(reply, "error.ribbon_out"), nullptr);
}

TEST(ZplStatusDecoder, HostQueryStatusWithoutFaultsIsReady) {
    const auto replies = DecodeAll(
        ReplyKind::ZplHostQueryStatus,
        "\x02PRINTER STATUS\r\nERRORS:   0 00000000 00000000\r\nWARNINGS: 0 00000000 00000000\x03");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_TRUE(replies[0].decoded);
    EXPECT_EQ(replies[0].summary, "就绪");
    EXPECT_EQ(replies[0].fields.size(), 2u);
}

TEST(ZplStatusDecoder, HostIdentificationWithAndWithoutOptions) {
    auto replies =
        DecodeAll(ReplyKind::ZplHostIdentification, "\x02ZT410-300dpi,V72.20.01Z,12,8176KB\x03");
    ASSERT_EQ(replies.size(), 1u);
    ASSERT_TRUE(replies[0].decoded);
    EXPECT_EQ(FieldOf(replies[0], "model")->raw, "ZT410-300dpi");
    EXPECT_EQ(FieldOf(replies[0], "firmware")->raw, "V72.20.01Z");
    EXPECT_EQ(FieldOf(replies[0], "dots_per_mm")->meaning, "12 点/毫米 (300 dpi)");
    EXPECT_EQ(FieldOf(replies[0], "memory")->meaning, "8176 KB");
    EXPECT_EQ(FieldOf(replies[0], "options"), nullptr);
    EXPECT_EQ(replies[0].summary, "ZT410-300dpi · V72.20.01Z");

    replies = DecodeAll(ReplyKind::ZplHostIdentification, "\x02GK420d,V61.17.17Z,8,2104KB,C\x03");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(FieldOf(replies[0], "dots_per_mm")->meaning, "8 点/毫米 (203 dpi)");
    EXPECT_EQ(FieldOf(replies[0], "options")->raw, "C");
}

TEST(EplErrorReportDecoder, EachCodeHasItsMeaning) {
    const struct {
        const char* code;
        const char* meaning;
        Severity severity;
    } codes[] = {
        {"00", "无错误", Severity::Ok},
        {"01", "语法错误", Severity::Error},
        {"02", "对象超出标签边界", Severity::Error},
        {"03", "条码数据长度错误", Severity::Error},
        {"04", "内存不足", Severity::Error},
        {"05", "内存配置错误", Severity::Error},
        {"06", "RS-232 错误", Severity::Error},
        {"07", "缺纸或缺碳带", Severity::Error},
        {"08", "名称重复", Severity::Error},
        {"09", "名称未找到", Severity::Error},
        {"10", "不在数据输入模式", Severity::Error},
        {"11", "打印头抬起", Severity::Error},
        {"12", "暂停或标签待取", Severity::Warning},
        {"13", "打印头过热", Severity::Error},
        {"14", "电机过热", Severity::Error},
        {"15", "电池电量低 (40%)", Severity::Warning},
        {"16", "电池电量低 (20%)", Severity::Error},
        {"50", "正在打印", Severity::Warning},
        {"80", "未知错误", Severity::Error},
        {"81", "切刀卡住或未安装", Severity::Error},
        {"82", "传感器故障", Severity::Error},
        {"83", "非法中断", Severity::Error},
        {"84", "进纸过多", Severity::Error},
        {"93", "PDF417 数据过大", Severity::Error},
        {"99", "未知代码", Severity::Warning},
    };
    for (const auto& c : codes) {
        const auto replies = DecodeAll(ReplyKind::EplErrorReport, std::string(c.code) + "\r\n");
        ASSERT_EQ(replies.size(), 1u) << c.code;
        ASSERT_TRUE(replies[0].decoded) << c.code;
        ASSERT_EQ(replies[0].fields.size(), 1u);
        EXPECT_EQ(replies[0].fields[0].meaning, c.meaning) << c.code;
        EXPECT_EQ(replies[0].fields[0].severity, c.severity) << c.code;
        EXPECT_EQ(replies[0].summary, c.severity == Severity::Ok    ? "就绪"
                                      : std::string(c.code) == "99" ? "代码 99"
                                                                    : c.meaning);
    }
}

TEST(EplErrorReportDecoder, SeveralCodesAndLabelsRemaining) {
    auto replies = DecodeAll(ReplyKind::EplErrorReport, "07,11,12\r\n07,P003\r\n12 P010\r\n");
    ASSERT_EQ(replies.size(), 3u) << Describe(replies);
    EXPECT_EQ(replies[0].summary, "缺纸或缺碳带 · 打印头抬起 · 暂停或标签待取");
    EXPECT_EQ(FieldOf(replies[1], "labels_remaining")->meaning, "3 张");
    EXPECT_EQ(FieldOf(replies[2], "labels_remaining")->raw, "P010");
    EXPECT_EQ(replies[2].summary, "暂停或标签待取");
}

TEST(EplConfigurationDecoder, LinesKeptWithModelAndFirmware) {
    auto decoder = MakeStatusDecoder(ReplyKind::EplConfiguration);
    EXPECT_TRUE(decoder->Decode("UKQ1935HLU     V4.70\r\nSerial port : 96,N,8,1\r\n").empty());
    const auto replies = decoder->Finish();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(FieldOf(replies[0], "model")->raw, "UKQ1935HLU");
    EXPECT_EQ(FieldOf(replies[0], "firmware")->raw, "V4.70");
    EXPECT_EQ(FieldOf(replies[0], "line_2")->raw, "Serial port : 96,N,8,1");
    EXPECT_EQ(replies[0].summary, "UKQ1935HLU · V4.70");
}

TEST(CpclStatusDecoder, EachStatusBit) {
    const struct {
        unsigned char byte;
        const char* key;
        const char* summary;
        Severity severity;
    } bits[] = {
        {0x00, nullptr, "就绪", Severity::Ok},
        {0x01, "busy", "忙碌", Severity::Warning},
        {0x02, "paper_out", "缺纸", Severity::Error},
        {0x04, "latch_open", "机盖打开", Severity::Error},
        {0x08, "battery_low", "电量低", Severity::Warning},
        {0x10, "reset", "刚复位", Severity::Warning},
        {0xE0, nullptr, "就绪", Severity::Ok},  // bits 5-7 carry nothing
        {0x06, nullptr, "缺纸 · 机盖打开", Severity::Error},
    };
    for (const auto& b : bits) {
        const auto replies =
            DecodeAll(ReplyKind::CpclStatus, std::string(1, static_cast<char>(b.byte)));
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(replies[0].summary, b.summary) << int(b.byte);
        EXPECT_EQ(replies[0].severity, b.severity) << int(b.byte);
        if (b.key) {
            EXPECT_EQ(FieldOf(replies[0], b.key)->raw, "1");
        }
    }
    EXPECT_EQ(FieldOf(DecodeCpclStatusByte(0x06), "status_byte")->raw, "0x06");
}

TEST(CpclStatusDecoder, ExtendedStatusBits) {
    const struct {
        unsigned char byte;
        const char* summary;
    } bits[] = {
        {0x0F, "就绪"}, {0x10, "卡纸"}, {0x20, "标签未取走"}, {0x40, "纸将用完"}, {0x80, "缺碳带"}};
    for (const auto& b : bits)
        EXPECT_EQ(DecodeCpclExtendedStatusByte(b.byte).summary, b.summary) << int(b.byte);
}

TEST(CpclVersionDecoder, NulTerminatedString) {
    const auto replies = DecodeAll(ReplyKind::CpclVersion, "QLn320 V68.19.0Z\r\n"s + '\0');
    ASSERT_EQ(replies.size(), 1u);
    ASSERT_TRUE(replies[0].decoded);
    EXPECT_EQ(replies[0].summary, "QLn320 V68.19.0Z");
}

TEST(SgdReplyDecoder, QuotedValuesAndUnsupportedVariables) {
    auto replies = DecodeAll(ReplyKind::SgdValue, "\"?\"", "device.friendly_name");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].fields[0].meaning, "不支持");
    EXPECT_EQ(replies[0].summary, "device.friendly_name 不支持");

    replies = DecodeAll(ReplyKind::SgdValue, "\"zpl\"\r\n", "device.languages");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].fields[0].raw, "zpl");
    EXPECT_EQ(replies[0].summary, "device.languages = zpl");

    replies = DecodeAll(ReplyKind::SgdValue, "\"open\"", "head.latch");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].summary, "打印头打开");
    EXPECT_EQ(replies[0].severity, Severity::Error);
}

// Every reply, cut at every byte boundary and fed byte by byte, decodes as when fed whole.
TEST(StatusDecoders, RepliesSplitAtEveryByteBoundary) {
    const struct {
        ReplyKind kind;
        std::string bytes;
    } samples[] = {
        {ReplyKind::ZplHostStatus, kHostStatus + "\r\n"},
        {ReplyKind::ZplHostStatus,
         "<STX>030,0,0,1225,000,0,0,0,000,0,0,0<ETX>\r\n"
         "<STX>001,0,1,0,1,2,6,0,00000000,1,000<ETX>\r\n"
         "<STX>0000,1<ETX>\r\n"},
        {ReplyKind::ZplHostQueryStatus, kQueryStatus},
        {ReplyKind::ZplHostIdentification, "\x02ZT410-300dpi,V72.20.01Z,12,8176KB\x03"},
        {ReplyKind::EplErrorReport, "07,11,P003\r\n00\r\n"},
        {ReplyKind::EplConfiguration, "UKQ1935HLU     V4.70\r\nImage buffer size:0245K\r\n"},
        {ReplyKind::CpclStatus, "\x06\x01"},
        {ReplyKind::CpclVersion, "QLn320 V68"s + '\0'},
        {ReplyKind::SgdValue, "\"ok\" \"?\""},
    };
    for (const auto& sample : samples) {
        const std::string whole = Describe(DecodeAll(sample.kind, sample.bytes));
        ASSERT_NE(whole.find(ReplyKindKey(sample.kind)), std::string::npos) << whole;
        ASSERT_EQ(whole.find("undecoded"), std::string::npos) << whole;
        for (std::size_t cut = 0; cut <= sample.bytes.size(); ++cut) {
            auto decoder = MakeStatusDecoder(sample.kind);
            std::vector<StatusReply> replies = decoder->Decode(sample.bytes.substr(0, cut));
            decoder->Feed(sample.bytes.substr(cut), replies);
            decoder->Finish(replies);
            ASSERT_EQ(Describe(replies), whole) << "cut at " << cut;
        }
        auto decoder = MakeStatusDecoder(sample.kind);
        std::vector<StatusReply> replies;
        for (const char c : sample.bytes) decoder->Feed(std::string(1, c), replies);
        decoder->Finish(replies);
        EXPECT_EQ(Describe(replies), whole);
    }
}

// Bytes that are not a reply, or not all of one, are never decoded into fields.
TEST(StatusDecoders, GarbageAndTruncatedRepliesStayUndecoded) {
    const struct {
        ReplyKind kind;
        std::string bytes;
        std::size_t undecoded;
    } cases[] = {
        {ReplyKind::ZplHostStatus, "no reply here\r\n", 0},
        {ReplyKind::ZplHostStatus, "\x02hello\x03", 1},
        {ReplyKind::ZplHostStatus,
         "\x02"
         "030,X,1,1225,000,0,0,0,000,0,0,0\x03\x02"
         "001,0,0,1,1,2,6,0,00000100,1,000\x03\x02"
         "1234,0\x03",
         1},
        {ReplyKind::ZplHostStatus,
         "\x02"
         "030,1,1,1225,000,0,0,0,000,0,0,0\x03\x02"
         "001,0,0,1,1,Z,6,0,00000100,1,000\x03\x02"
         "1234,0\x03",
         1},
        {ReplyKind::ZplHostStatus, kHostStatus.substr(0, 70), 1},  // string 3 missing
        {ReplyKind::ZplHostStatus, kHostStatus.substr(0, 20), 1},  // cut inside a frame
        {ReplyKind::ZplHostStatus, kHostStatus.substr(36), 2},     // strings 2 and 3 only
        {ReplyKind::ZplHostStatus,
         "\x02"
         "030,1\x02"
         "1234,0\x03",
         2},  // new STX mid-frame
        {ReplyKind::ZplHostStatus, "\x02" + std::string(5000, '>') + "\x03", 1},
        {ReplyKind::ZplHostQueryStatus, "\x02PRINTER STATUS\r\nERRORS: 1 0000000G 0\x03", 1},
        {ReplyKind::ZplHostQueryStatus, "\x02PRINTER STATUS\r\nERRORS: 1 0 0\x03", 1},
        {ReplyKind::ZplHostIdentification, "\x02ZT410,V1,twelve,8176KB\x03", 1},
        {ReplyKind::EplErrorReport, "AB\r\n7\r\n07,\r\nP003\r\n", 4},
        {ReplyKind::EplErrorReport, "07,1", 1},
        {ReplyKind::EplErrorReport, std::string(1000, '0') + "\r\n", 1},
        {ReplyKind::CpclVersion,
         "QLn\x01"
         "320"s +
             '\0',
         1},
        {ReplyKind::CpclVersion, "QLn320", 1},
        {ReplyKind::SgdValue, "junk \"unterminated", 2},
    };
    for (const auto& c : cases) {
        const auto replies = DecodeAll(c.kind, c.bytes);
        ASSERT_EQ(replies.size(), c.undecoded) << Describe(replies) << c.bytes;
        for (const StatusReply& reply : replies) {
            EXPECT_FALSE(reply.decoded) << Describe(reply);
            EXPECT_TRUE(reply.fields.empty());
            EXPECT_EQ(reply.summary, "无法解码");
        }
    }
}

TEST(StatusDecoders, RandomBytesNeverCrashOrGrow) {
    std::mt19937 random(12);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 64);
    const ReplyKind kinds[] = {ReplyKind::ZplHostStatus, ReplyKind::EplErrorReport,
                               ReplyKind::EplConfiguration, ReplyKind::CpclVersion,
                               ReplyKind::SgdValue};
    for (const ReplyKind kind : kinds) {
        auto decoder = MakeStatusDecoder(kind);
        std::vector<StatusReply> replies;
        for (int round = 0; round < 2000; ++round) {
            std::string chunk(static_cast<std::size_t>(length(random)), '\0');
            for (char& c : chunk) c = static_cast<char>(byte(random));
            decoder->Feed(chunk, replies);
        }
        decoder->Finish(replies);
        for (const StatusReply& reply : replies) EXPECT_LE(reply.raw.size(), 70000u);
    }
}

}  // namespace
}  // namespace velkaro::printer_language::test
