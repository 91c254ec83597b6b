#include "printer_language/cpcl_status_decoder.h"

#include <cstdio>

namespace velkaro::printer_language {

namespace {

struct StatusBit {
    int bit;
    const char* key;
    const char* name;
    const char* set;
    const char* clear;
    Severity severity;
};

// ESC h: bits 5-7 carry nothing.
constexpr StatusBit kStatusBits[] = {
    {0, "busy", "忙碌", "忙碌", "空闲", Severity::Warning},
    {1, "paper_out", "缺纸", "缺纸", "有纸", Severity::Error},
    {2, "latch_open", "机盖", "机盖打开", "机盖关闭", Severity::Error},
    {3, "battery_low", "电池", "电量低", "电量正常", Severity::Warning},
    {4, "reset", "复位", "刚复位", "否", Severity::Warning},
};

// ESC i: the upper nibble.
constexpr StatusBit kExtendedBits[] = {
    {4, "paper_jam", "卡纸", "卡纸", "否", Severity::Error},
    {5, "label_not_removed", "标签未取走", "标签未取走", "否", Severity::Warning},
    {6, "paper_low", "纸将用完", "纸将用完", "否", Severity::Warning},
    {7, "no_ribbon", "碳带", "缺碳带", "有碳带", Severity::Error},
};

template <std::size_t N>
StatusReply DecodeByte(ReplyKind kind, unsigned char status, const StatusBit (&bits)[N]) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", status);
    std::string binary;
    for (int bit = 7; bit >= 0; --bit) binary += (status >> bit & 1) ? '1' : '0';
    ReplyBuilder out(kind, std::string(1, static_cast<char>(status)));
    out.Add("status_byte", "状态字节", hex, binary);
    for (const StatusBit& b : bits) {
        const char raw[2] = {(status >> b.bit & 1) ? '1' : '0', '\0'};
        out.AddFlag(b.key, b.name, raw, b.set, b.clear, b.severity);
    }
    return out.Done();
}

bool Printable(std::string_view text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r' && c != '\n') return false;
        if (u == 0x7F) return false;
    }
    return true;
}

}  // namespace

StatusReply DecodeCpclStatusByte(unsigned char status) {
    return DecodeByte(ReplyKind::CpclStatus, status, kStatusBits);
}

StatusReply DecodeCpclExtendedStatusByte(unsigned char status) {
    return DecodeByte(ReplyKind::CpclExtendedStatus, status, kExtendedBits);
}

void CpclStatusDecoder::Feed(std::string_view bytes, std::vector<StatusReply>& replies) {
    for (const char c : bytes) {
        const auto status = static_cast<unsigned char>(c);
        replies.push_back(kind_ == ReplyKind::CpclExtendedStatus
                              ? DecodeCpclExtendedStatusByte(status)
                              : DecodeCpclStatusByte(status));
    }
}

StatusReply DecodeCpclVersion(std::string_view text, std::string raw) {
    const std::string_view version = Trim(text);
    if (version.empty() || !Printable(version))
        return UndecodedReply(ReplyKind::CpclVersion, std::move(raw));
    ReplyBuilder out(ReplyKind::CpclVersion, std::move(raw));
    out.Add("version", "型号与版本", std::string(version), std::string(version));
    return out.Done(std::string(version));
}

void CpclVersionDecoder::Feed(std::string_view bytes, std::vector<StatusReply>& replies) {
    for (const char c : bytes) {
        if (c == '\0') {
            std::string raw = text_ + '\0';
            replies.push_back(tooLong_ ? UndecodedReply(ReplyKind::CpclVersion, std::move(raw))
                                       : DecodeCpclVersion(text_, std::move(raw)));
            text_.clear();
            tooLong_ = false;
        } else if (text_.size() < kMaxLength) {
            text_ += c;
        } else {
            tooLong_ = true;
        }
    }
}

void CpclVersionDecoder::Finish(std::vector<StatusReply>& replies) {
    if (!text_.empty()) replies.push_back(UndecodedReply(ReplyKind::CpclVersion, text_));
    text_.clear();
    tooLong_ = false;
}

}  // namespace velkaro::printer_language
