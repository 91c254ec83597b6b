#include "printer_language/sgd_reply_decoder.h"

namespace velkaro::printer_language {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Variables whose values are states, and the values that are faults.
struct StateValue {
    const char* name;
    const char* value;
    const char* meaning;
    Severity severity;
};

constexpr StateValue kStateValues[] = {
    {"head.latch", "open", "打印头打开", Severity::Error},
    {"head.latch", "ok", "打印头关闭", Severity::Ok},
    {"media.status", "out", "缺纸", Severity::Error},
    {"media.status", "ok", "有纸", Severity::Ok},
};

}  // namespace

StatusReply DecodeSgdValue(const std::string& name, std::string_view value, std::string raw) {
    ReplyBuilder out(ReplyKind::SgdValue, std::move(raw));
    const std::string key = name.empty() ? "value" : name;
    const std::string label = name.empty() ? "变量值" : name;
    if (value == "?") {
        out.Add(key, label, "?", "不支持", Severity::Warning, label + " 不支持");
        return out.Done();
    }
    for (const StateValue& state : kStateValues) {
        if (name == state.name && value == state.value) {
            out.Add(key, label, std::string(value), state.meaning, state.severity);
            return out.Done(state.meaning);
        }
    }
    out.Add(key, label, std::string(value), std::string(value));
    return out.Done(label + " = " + std::string(value));
}

void SgdReplyDecoder::Feed(std::string_view bytes, std::vector<StatusReply>& replies) {
    for (const char c : bytes) {
        if (inValue_) {
            if (c == '"') {
                std::string raw = '"' + value_ + '"';
                replies.push_back(tooLong_ ? UndecodedReply(ReplyKind::SgdValue, std::move(raw))
                                           : DecodeSgdValue(name_, value_, std::move(raw)));
                value_.clear();
                inValue_ = tooLong_ = false;
            } else if (value_.size() < kMaxValue) {
                value_ += c;
            } else {
                tooLong_ = true;
            }
        } else if (c == '"') {
            FlushStray(replies);
            inValue_ = true;
        } else if (IsSpace(c)) {
            FlushStray(replies);
        } else if (stray_.size() < kMaxValue) {
            stray_ += c;
        }
    }
}

void SgdReplyDecoder::Finish(std::vector<StatusReply>& replies) {
    FlushStray(replies);
    if (inValue_) replies.push_back(UndecodedReply(ReplyKind::SgdValue, '"' + value_));
    value_.clear();
    inValue_ = tooLong_ = false;
}

void SgdReplyDecoder::FlushStray(std::vector<StatusReply>& replies) {
    if (stray_.empty()) return;
    replies.push_back(UndecodedReply(ReplyKind::SgdValue, std::move(stray_)));
    stray_.clear();
}

}  // namespace velkaro::printer_language
