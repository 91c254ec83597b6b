#include "printer_language/epl_status_decoder.h"

#include <cstdlib>

namespace velkaro::printer_language {

namespace {

struct ErrorCode {
    const char* code;
    const char* meaning;
    Severity severity;
};

constexpr ErrorCode kErrorCodes[] = {
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
};

const ErrorCode* FindCode(std::string_view code) {
    for (const ErrorCode& known : kErrorCodes)
        if (code == known.code) return &known;
    return nullptr;
}

// "V" followed by a digit: how the printers write a firmware version.
bool LooksLikeVersion(std::string_view word) {
    return word.size() >= 2 && (word[0] == 'V' || word[0] == 'v') && word[1] >= '0' &&
           word[1] <= '9';
}

}  // namespace

StatusReply DecodeEplErrorLine(std::string_view line, std::string raw) {
    std::vector<std::string_view> words = Split(line, ',');
    // The labels remaining may follow the last code after a space instead of a comma.
    if (const std::size_t space = Trim(words.back()).find(' '); space != std::string_view::npos) {
        const std::string_view last = Trim(words.back());
        words.back() = last.substr(0, space);
        words.push_back(last.substr(space + 1));
    }
    ReplyBuilder out(ReplyKind::EplErrorReport, raw);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = Trim(words[i]);
        if (i + 1 == words.size() && i > 0 && word.size() >= 2 && word[0] == 'P' &&
            IsDigits(word.substr(1))) {
            out.Add("labels_remaining", "剩余标签", std::string(word),
                    std::to_string(std::strtoul(std::string(word.substr(1)).c_str(), nullptr, 10)) +
                        " 张");
            continue;
        }
        if (word.size() != 2 || !IsDigits(word))
            return UndecodedReply(ReplyKind::EplErrorReport, std::move(raw));
        const std::string key = "code_" + std::string(word);
        if (const ErrorCode* known = FindCode(word))
            out.Add(key, "错误代码", std::string(word), known->meaning, known->severity);
        else
            out.Add(key, "错误代码", std::string(word), "未知代码", Severity::Warning,
                    "代码 " + std::string(word));
    }
    return out.Done();
}

void EplErrorReportDecoder::Feed(std::string_view bytes, std::vector<StatusReply>& replies) {
    std::vector<LineSplitter::Line> lines;
    lines_.Feed(bytes, lines);
    for (auto& line : lines) {
        replies.push_back(line.tooLong
                              ? UndecodedReply(ReplyKind::EplErrorReport, std::move(line.raw))
                              : DecodeEplErrorLine(line.text, std::move(line.raw)));
    }
}

void EplErrorReportDecoder::Finish(std::vector<StatusReply>& replies) {
    LineSplitter::Line rest;
    if (lines_.TakeRest(&rest))
        replies.push_back(UndecodedReply(ReplyKind::EplErrorReport, std::move(rest.raw)));
}

StatusReply DecodeEplConfiguration(const std::vector<std::string>& lines, std::string raw) {
    ReplyBuilder out(ReplyKind::EplConfiguration, std::move(raw));
    std::string quiet = std::to_string(lines.size()) + " 行配置";
    if (!lines.empty()) {
        // The first line names the model and ends with the firmware version.
        const std::string_view first = Trim(lines[0]);
        const std::size_t split = first.find_last_of(" \t");
        if (split != std::string_view::npos && LooksLikeVersion(first.substr(split + 1))) {
            const std::string model(Trim(first.substr(0, split)));
            const std::string firmware(first.substr(split + 1));
            out.Add("model", "型号", model, model);
            out.Add("firmware", "固件版本", firmware, firmware);
            quiet = model + kFaultSeparator + firmware;
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        out.Add("line_" + std::to_string(i + 1), "第 " + std::to_string(i + 1) + " 行", lines[i],
                std::string(Trim(lines[i])));
    return out.Done(quiet);
}

void EplConfigurationDecoder::Feed(std::string_view bytes, std::vector<StatusReply>&) {
    std::vector<LineSplitter::Line> lines;
    splitter_.Feed(bytes, lines);
    for (auto& line : lines) {
        if (lines_.size() == kMaxLines) {
            overflow_ = true;
            continue;
        }
        lines_.push_back(std::move(line));
    }
}

void EplConfigurationDecoder::Finish(std::vector<StatusReply>& replies) {
    LineSplitter::Line rest;
    if (splitter_.TakeRest(&rest) && lines_.size() < kMaxLines) lines_.push_back(std::move(rest));
    if (lines_.empty()) return;
    std::string raw;
    std::vector<std::string> texts;
    bool tooLong = overflow_;
    for (auto& line : lines_) {
        raw += line.raw;
        tooLong = tooLong || line.tooLong;
        texts.push_back(std::move(line.text));
    }
    replies.push_back(tooLong ? UndecodedReply(ReplyKind::EplConfiguration, std::move(raw))
                              : DecodeEplConfiguration(texts, std::move(raw)));
    lines_.clear();
    overflow_ = false;
}

}  // namespace velkaro::printer_language
