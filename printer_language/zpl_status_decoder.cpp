#include "printer_language/zpl_status_decoder.h"

#include <cstdint>
#include <cstdlib>

namespace velkaro::printer_language {

namespace {

constexpr char kStx = '\x02';
constexpr char kEtx = '\x03';
constexpr std::string_view kLiteralStx = "<STX>";
constexpr std::string_view kLiteralEtx = "<ETX>";
constexpr std::string_view kQueryStatusTitle = "PRINTER STATUS";

bool EndsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() &&
           std::string_view(text).substr(text.size() - tail.size()) == tail;
}

unsigned long Number(std::string_view digits) {
    return std::strtoul(std::string(digits).c_str(), nullptr, 10);
}

// aaa: the serial line settings as a decimal number of nine bits.
bool AddCommunicationSettings(ReplyBuilder& out, std::string_view raw) {
    if (!IsDigits(raw, 3)) return false;
    const unsigned long a = Number(raw);
    if (a > 511) return false;
    static const char* const kBauds[] = {"110",  "300",   "600",   "1200",  "2400",  "4800",
                                         "9600", "19200", "28800", "38400", "57600", "14400"};
    const unsigned baudCode = ((a >> 8) & 1u) << 3 | (a & 7u);
    std::string meaning = baudCode < std::size(kBauds)
                              ? std::string(kBauds[baudCode]) + " 波特"
                              : "波特率代码 " + std::to_string(baudCode) + " 未知";
    meaning += (a & 8u) ? " · 8 数据位" : " · 7 数据位";
    meaning += (a & 16u) ? " · 1 停止位" : " · 2 停止位";
    meaning += !(a & 32u) ? " · 无校验" : (a & 64u) ? " · 偶校验" : " · 奇校验";
    meaning += (a & 128u) ? " · DTR 握手" : " · Xon/Xoff 握手";
    out.Add("communication_settings", "通讯设置", std::string(raw), meaning);
    return true;
}

// mmm: media type (m7) and print method (m0) as a decimal number of eight bits.
bool AddFunctionSettings(ReplyBuilder& out, std::string_view raw) {
    if (!IsDigits(raw, 3)) return false;
    const unsigned long m = Number(raw);
    if (m > 255) return false;
    std::string meaning = (m & 128u) ? "连续纸" : "间隙纸";
    meaning += (m & 1u) ? " · 热转印" : " · 热敏";
    out.Add("function_settings", "功能设置", std::string(raw), meaning);
    return true;
}

bool AddPrintMode(ReplyBuilder& out, std::string_view raw) {
    static const char* const kModes[] = {"回卷",     "剥离",     "撕纸",       "切刀",
                                         "贴标机",   "延迟切纸", "无衬纸剥离", "无衬纸回卷",
                                         "部分切纸", "RFID"};
    std::string meaning;
    if (raw.size() == 1 && raw[0] >= '0' && raw[0] <= '9')
        meaning = kModes[raw[0] - '0'];
    else if (raw == "K")
        meaning = "自助终端";
    else
        return false;
    out.Add("print_mode", "打印模式", std::string(raw), meaning);
    return true;
}

bool AddCount(ReplyBuilder& out, const char* key, const char* name, std::string_view raw,
              const char* unit) {
    if (!IsDigits(raw)) return false;
    out.Add(key, name, std::string(raw), std::to_string(Number(raw)) + unit);
    return true;
}

bool AddUnused(ReplyBuilder& out, const char* key, std::string_view raw) {
    if (!IsDigits(raw)) return false;
    out.Add(key, "未使用", std::string(raw), "");
    return true;
}

bool DecodeString1(ReplyBuilder& out, const std::vector<std::string_view>& f) {
    return AddCommunicationSettings(out, f[0]) &&
           out.AddFlag("paper_out", "缺纸标志", f[1], "缺纸", "有纸", Severity::Error) &&
           out.AddFlag("paused", "暂停标志", f[2], "暂停", "未暂停", Severity::Warning) &&
           AddCount(out, "label_length", "标签长度", f[3], " 点") &&
           AddCount(out, "formats_in_buffer", "缓冲区中的格式", f[4], " 个") &&
           out.AddFlag("buffer_full", "缓冲区满标志", f[5], "接收缓冲区满", "未满",
                       Severity::Warning) &&
           out.AddFlag("diagnostic_mode", "通讯诊断模式", f[6], "通讯诊断模式", "关闭",
                       Severity::Warning) &&
           out.AddFlag("partial_format", "部分格式标志", f[7], "格式未接收完", "否",
                       Severity::Warning) &&
           AddUnused(out, "unused_1", f[8]) &&
           out.AddFlag("corrupt_ram", "内存损坏标志", f[9], "配置数据丢失", "正常",
                       Severity::Error) &&
           out.AddFlag("under_temperature", "温度过低标志", f[10], "温度过低", "正常",
                       Severity::Error) &&
           out.AddFlag("over_temperature", "温度过高标志", f[11], "温度过高", "正常",
                       Severity::Error);
}

bool DecodeString2(ReplyBuilder& out, const std::vector<std::string_view>& f) {
    if (!AddFunctionSettings(out, f[0]) || !AddUnused(out, "unused_2", f[1]) ||
        !out.AddFlag("head_up", "打印头抬起标志", f[2], "打印头打开", "关闭", Severity::Error) ||
        !out.AddFlag("ribbon_out", "缺碳带标志", f[3], "缺碳带", "有碳带", Severity::Error) ||
        !out.AddFlag("thermal_transfer", "热转印模式", f[4], "热转印", "热敏", Severity::Ok) ||
        !AddPrintMode(out, f[5]) || !IsDigits(f[6]))
        return false;
    out.Add("print_width_mode", "打印宽度模式", std::string(f[6]), "");
    return out.AddFlag("label_waiting", "标签等待标志", f[7], "标签待取", "否",
                       Severity::Warning) &&
           AddCount(out, "labels_remaining", "批次剩余标签", f[8], " 张") &&
           out.AddFlag("format_while_printing", "边打印边接收格式", f[9], "支持", "不支持",
                       Severity::Ok) &&
           AddCount(out, "graphics_stored", "存储的图形", f[10], " 个");
}

bool DecodeString3(ReplyBuilder& out, const std::vector<std::string_view>& f) {
    if (!IsDigits(f[0], 4)) return false;
    out.Add("password", "密码", std::string(f[0]), "");
    return out.AddFlag("static_ram", "静态内存", f[1], "已安装", "未安装", Severity::Ok);
}

// One line of ~HQES: "ERRORS:   f gggggggg hhhhhhhh".
struct FlagLine {
    bool set = false;
    std::uint32_t group2 = 0, group1 = 0;
    std::string raw;
};

bool ParseHex(std::string_view text, std::uint32_t* value) {
    if (text.size() != 8) return false;
    std::uint32_t v = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = v << 4 | static_cast<std::uint32_t>(digit);
    }
    *value = v;
    return true;
}

bool ParseFlagLine(std::string_view line, std::string_view label, FlagLine* out) {
    if (line.substr(0, label.size()) != label) return false;
    line = Trim(line.substr(label.size()));
    std::vector<std::string_view> words;
    while (!line.empty()) {
        const std::size_t end = line.find_first_of(" \t");
        words.push_back(line.substr(0, end));
        line = end == std::string_view::npos ? std::string_view() : Trim(line.substr(end));
    }
    if (words.size() != 3 || (words[0] != "0" && words[0] != "1")) return false;
    if (!ParseHex(words[1], &out->group2) || !ParseHex(words[2], &out->group1)) return false;
    out->set = words[0] == "1";
    out->raw = std::string(words[0]) + ' ' + std::string(words[1]) + ' ' + std::string(words[2]);
    return true;
}

struct KnownBit {
    const char* key;
    const char* meaning;
};

constexpr KnownBit kErrorBits[] = {
    {"media_out", "缺纸"},
    {"ribbon_out", "缺碳带"},
    {"head_open", "打印头打开"},
    {"cutter_fault", "切刀故障"},
    {"printhead_over_temperature", "打印头过热"},
    {"motor_over_temperature", "电机过热"},
    {"bad_printhead_element", "打印头坏点"},
    {"printhead_detection_error", "打印头检测错误"},
    {"invalid_firmware_configuration", "固件配置无效"},
    {"printhead_thermistor_open", "打印头热敏电阻开路"},
};
constexpr KnownBit kWarningBits[] = {
    {"calibrate_media", "需校准纸张"},
    {"clean_printhead", "需清洁打印头"},
    {"replace_printhead", "需更换打印头"},
    {"paper_near_end", "纸将用完"},
};

// The flag, then one field per set bit; group 1 holds bits 0-31, group 2 bits 32-63.
template <std::size_t N>
void AddFlagBits(ReplyBuilder& out, const FlagLine& line, const KnownBit (&known)[N],
                 Severity severity) {
    const bool errors = severity == Severity::Error;
    const std::string prefix = errors ? "error" : "warning";
    const bool anyBit = line.group1 != 0 || line.group2 != 0;
    const char* said = line.set ? (errors ? "有错误" : "有警告") : (errors ? "无错误" : "无警告");
    // A raised flag without any bit still says something is wrong.
    out.Add(prefix + "_flag", errors ? "错误标志" : "警告标志", line.raw, said,
            line.set && !anyBit ? severity : Severity::Ok);
    for (unsigned bit = 0; bit < 64; ++bit) {
        const std::uint32_t group = bit < 32 ? line.group1 : line.group2;
        if (!(group >> (bit % 32) & 1u)) continue;
        const std::string label = "bit " + std::to_string(bit);
        if (bit < N)
            out.Add(prefix + '.' + known[bit].key, errors ? "错误" : "警告", label,
                    known[bit].meaning, severity);
        else
            out.Add(prefix + ".bit_" + std::to_string(bit), errors ? "错误" : "警告", label, label,
                    severity);
    }
}

std::vector<std::string_view> Lines(std::string_view body) {
    std::vector<std::string_view> lines;
    while (!body.empty()) {
        const std::size_t end = body.find_first_of("\r\n");
        const std::string_view line = Trim(body.substr(0, end));
        if (!line.empty()) lines.push_back(line);
        if (end == std::string_view::npos) break;
        body.remove_prefix(end + 1);
    }
    return lines;
}

enum class FrameShape { HostStatus1, HostStatus2, HostStatus3, QueryStatus, Identification, None };

FrameShape ShapeOf(std::string_view body) {
    if (Trim(body).substr(0, kQueryStatusTitle.size()) == kQueryStatusTitle)
        return FrameShape::QueryStatus;
    switch (Split(body, ',').size()) {
        case 12:
            return FrameShape::HostStatus1;
        case 11:
            return FrameShape::HostStatus2;
        case 2:
            return FrameShape::HostStatus3;
        case 4:
        case 5:
            return FrameShape::Identification;
        default:
            return FrameShape::None;
    }
}

}  // namespace

void StxEtxFramer::Feed(std::string_view bytes, std::vector<Frame>& frames) {
    for (const char c : bytes) {
        if (!inFrame_) {
            if (c == kStx) {
                Open(std::string(1, kStx));
                continue;
            }
            if (c == kLiteralStx[literalMatch_])
                ++literalMatch_;
            else
                literalMatch_ = c == kLiteralStx[0] ? 1 : 0;
            if (literalMatch_ == kLiteralStx.size()) Open(std::string(kLiteralStx));
            continue;
        }
        if (c == kEtx) {
            body_ += c;
            Close(1, frames);
        } else if (c == kStx) {
            Abandon(frames);
            Open(std::string(1, kStx));
        } else {
            body_ += c;
            if (c != '>') {
                if (body_.size() > kMaxBody) Abandon(frames);
                continue;
            }
            if (EndsWith(body_, kLiteralEtx)) {
                Close(kLiteralEtx.size(), frames);
            } else if (EndsWith(body_, kLiteralStx)) {
                body_.resize(body_.size() - kLiteralStx.size());
                Abandon(frames);
                Open(std::string(kLiteralStx));
            } else if (body_.size() > kMaxBody) {
                Abandon(frames);
            }
        }
    }
}

void StxEtxFramer::Finish(std::vector<Frame>& frames) {
    if (inFrame_) Abandon(frames);
    literalMatch_ = 0;
}

void StxEtxFramer::Open(std::string marker) {
    inFrame_ = true;
    body_.clear();
    opening_ = std::move(marker);
    literalMatch_ = 0;
}

void StxEtxFramer::Close(std::size_t markerLength, std::vector<Frame>& frames) {
    Frame frame;
    frame.raw = opening_ + body_;
    body_.resize(body_.size() - markerLength);
    frame.body = std::move(body_);
    frames.push_back(std::move(frame));
    body_.clear();
    inFrame_ = false;
}

void StxEtxFramer::Abandon(std::vector<Frame>& frames) {
    Frame frame;
    frame.raw = opening_ + body_.substr(0, kMaxBody);
    frame.complete = false;
    frames.push_back(std::move(frame));
    body_.clear();
    inFrame_ = false;
}

void ZplStatusDecoder::Feed(std::string_view bytes, std::vector<StatusReply>& replies) {
    std::vector<StxEtxFramer::Frame> frames;
    framer_.Feed(bytes, frames);
    for (auto& frame : frames) OnFrame(std::move(frame), replies);
}

void ZplStatusDecoder::Finish(std::vector<StatusReply>& replies) {
    std::vector<StxEtxFramer::Frame> frames;
    framer_.Finish(frames);
    for (auto& frame : frames) OnFrame(std::move(frame), replies);
    DropHostStatus(replies);
}

void ZplStatusDecoder::DropHostStatus(std::vector<StatusReply>& replies) {
    if (hostStatus_.empty()) return;
    std::string raw;
    for (const auto& frame : hostStatus_) raw += frame.raw;
    hostStatus_.clear();
    replies.push_back(UndecodedReply(ReplyKind::ZplHostStatus, std::move(raw)));
}

void ZplStatusDecoder::OnFrame(StxEtxFramer::Frame frame, std::vector<StatusReply>& replies) {
    if (!frame.complete) {
        DropHostStatus(replies);
        replies.push_back(UndecodedReply(ReplyKind::Unknown, std::move(frame.raw)));
        return;
    }
    const FrameShape shape = ShapeOf(frame.body);
    // The three ~HS strings come in order; anything else in between breaks the reply.
    const std::size_t expected = hostStatus_.size();
    const bool nextHostString = (shape == FrameShape::HostStatus1 && expected == 0) ||
                                (shape == FrameShape::HostStatus2 && expected == 1) ||
                                (shape == FrameShape::HostStatus3 && expected == 2);
    if (!nextHostString) DropHostStatus(replies);
    switch (shape) {
        case FrameShape::HostStatus1:
        case FrameShape::HostStatus2:
        case FrameShape::HostStatus3:
            if (shape != FrameShape::HostStatus1 && !nextHostString) {
                replies.push_back(UndecodedReply(ReplyKind::ZplHostStatus, std::move(frame.raw)));
                return;
            }
            hostStatus_.push_back(std::move(frame));
            if (hostStatus_.size() == 3) {
                std::string raw = hostStatus_[0].raw + hostStatus_[1].raw + hostStatus_[2].raw;
                replies.push_back(DecodeZplHostStatus(hostStatus_[0].body, hostStatus_[1].body,
                                                      hostStatus_[2].body, std::move(raw)));
                hostStatus_.clear();
            }
            return;
        case FrameShape::QueryStatus:
            replies.push_back(DecodeZplHostQueryStatus(frame.body, std::move(frame.raw)));
            return;
        case FrameShape::Identification:
            replies.push_back(DecodeZplHostIdentification(frame.body, std::move(frame.raw)));
            return;
        case FrameShape::None:
            replies.push_back(UndecodedReply(ReplyKind::Unknown, std::move(frame.raw)));
            return;
    }
}

StatusReply DecodeZplHostStatus(const std::string& string1, const std::string& string2,
                                const std::string& string3, std::string raw) {
    const auto f1 = Split(string1, ',');
    const auto f2 = Split(string2, ',');
    const auto f3 = Split(string3, ',');
    ReplyBuilder out(ReplyKind::ZplHostStatus, raw);
    if (f1.size() != 12 || f2.size() != 11 || f3.size() != 2 || !DecodeString1(out, f1) ||
        !DecodeString2(out, f2) || !DecodeString3(out, f3))
        return UndecodedReply(ReplyKind::ZplHostStatus, std::move(raw));
    return out.Done();
}

StatusReply DecodeZplHostQueryStatus(std::string_view body, std::string raw) {
    const auto lines = Lines(body);
    FlagLine errors, warnings;
    if (lines.size() != 3 || lines[0] != kQueryStatusTitle ||
        !ParseFlagLine(lines[1], "ERRORS:", &errors) ||
        !ParseFlagLine(lines[2], "WARNINGS:", &warnings))
        return UndecodedReply(ReplyKind::ZplHostQueryStatus, std::move(raw));
    ReplyBuilder out(ReplyKind::ZplHostQueryStatus, std::move(raw));
    AddFlagBits(out, errors, kErrorBits, Severity::Error);
    AddFlagBits(out, warnings, kWarningBits, Severity::Warning);
    return out.Done();
}

StatusReply DecodeZplHostIdentification(std::string_view body, std::string raw) {
    const auto f = Split(body, ',');
    if (f.size() < 4 || f.size() > 5 || Trim(f[0]).empty() || Trim(f[1]).empty() ||
        !IsDigits(f[2], 3))
        return UndecodedReply(ReplyKind::ZplHostIdentification, std::move(raw));
    std::string_view memory = Trim(f[3]);
    if (memory.size() > 2 &&
        (memory.substr(memory.size() - 2) == "KB" || memory.substr(memory.size() - 2) == "kb"))
        memory.remove_suffix(2);
    if (!IsDigits(memory)) return UndecodedReply(ReplyKind::ZplHostIdentification, std::move(raw));
    ReplyBuilder out(ReplyKind::ZplHostIdentification, std::move(raw));
    const std::string model(Trim(f[0])), firmware(Trim(f[1]));
    out.Add("model", "型号", model, model);
    out.Add("firmware", "固件版本", firmware, firmware);
    const unsigned long dpmm = Number(f[2]);
    std::string resolution = std::to_string(dpmm) + " 点/毫米";
    switch (dpmm) {  // the printers' own names for their resolutions
        case 6:
            resolution += " (152 dpi)";
            break;
        case 8:
            resolution += " (203 dpi)";
            break;
        case 12:
            resolution += " (300 dpi)";
            break;
        case 24:
            resolution += " (600 dpi)";
            break;
        default:
            break;
    }
    out.Add("dots_per_mm", "分辨率", std::string(f[2]), resolution);
    out.Add("memory", "内存", std::string(f[3]), std::to_string(Number(memory)) + " KB");
    if (f.size() == 5) out.Add("options", "选项", std::string(f[4]), std::string(Trim(f[4])));
    return out.Done(model + kFaultSeparator + firmware);
}

}  // namespace velkaro::printer_language
