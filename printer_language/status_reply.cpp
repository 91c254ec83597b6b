#include "printer_language/status_reply.h"

#include <algorithm>

namespace velkaro::printer_language {

const char* SeverityKey(Severity severity) {
    switch (severity) {
        case Severity::Ok:
            return "ok";
        case Severity::Warning:
            return "warning";
        case Severity::Error:
            return "error";
    }
    return "ok";
}

const char* ReplyKindKey(ReplyKind kind) {
    switch (kind) {
        case ReplyKind::ZplHostStatus:
            return "zpl_host_status";
        case ReplyKind::ZplHostQueryStatus:
            return "zpl_error_status";
        case ReplyKind::ZplHostIdentification:
            return "zpl_identification";
        case ReplyKind::EplErrorReport:
            return "epl_error_report";
        case ReplyKind::EplConfiguration:
            return "epl_configuration";
        case ReplyKind::CpclStatus:
            return "cpcl_status";
        case ReplyKind::CpclExtendedStatus:
            return "cpcl_extended_status";
        case ReplyKind::CpclVersion:
            return "cpcl_version";
        case ReplyKind::SgdValue:
            return "sgd_value";
        case ReplyKind::Unknown:
            break;
    }
    return "unknown";
}

const char* ReplyKindName(ReplyKind kind) {
    switch (kind) {
        case ReplyKind::ZplHostStatus:
            return "ZPL 主机状态 (~HS)";
        case ReplyKind::ZplHostQueryStatus:
            return "ZPL 错误与警告 (~HQES)";
        case ReplyKind::ZplHostIdentification:
            return "ZPL 打印机信息 (~HI)";
        case ReplyKind::EplErrorReport:
            return "EPL 错误报告 (^ee)";
        case ReplyKind::EplConfiguration:
            return "EPL 配置 (UQ)";
        case ReplyKind::CpclStatus:
            return "CPCL 状态 (ESC h)";
        case ReplyKind::CpclExtendedStatus:
            return "CPCL 扩展状态 (ESC i)";
        case ReplyKind::CpclVersion:
            return "CPCL 版本 (ESC v)";
        case ReplyKind::SgdValue:
            return "SGD 变量";
        case ReplyKind::Unknown:
            break;
    }
    return "无法识别的应答";
}

ReplyBuilder::ReplyBuilder(ReplyKind kind, std::string raw) {
    reply_.kind = kind;
    reply_.decoded = true;
    reply_.raw = std::move(raw);
}

void ReplyBuilder::Add(std::string key, std::string name, std::string raw, std::string meaning,
                       Severity severity, std::string fault) {
    if (severity != Severity::Ok) {
        reply_.faults.push_back(fault.empty() ? meaning : std::move(fault));
        reply_.severity = std::max(reply_.severity, severity);
    }
    reply_.fields.push_back(
        {std::move(key), std::move(name), std::move(raw), std::move(meaning), severity});
}

bool ReplyBuilder::AddFlag(std::string key, std::string name, std::string_view raw, std::string set,
                           std::string clear, Severity severity) {
    if (raw != "0" && raw != "1") return false;
    const bool on = raw == "1";
    Add(std::move(key), std::move(name), std::string(raw), on ? std::move(set) : std::move(clear),
        on ? severity : Severity::Ok);
    return true;
}

StatusReply ReplyBuilder::Done(std::string quiet) {
    reply_.summary = reply_.faults.empty() ? std::move(quiet) : JoinFaults(reply_.faults);
    return std::move(reply_);
}

StatusReply UndecodedReply(ReplyKind kind, std::string raw) {
    StatusReply reply;
    reply.kind = kind;
    reply.raw = std::move(raw);
    reply.summary = kUndecodedSummary;
    return reply;
}

bool IsDigits(std::string_view text, std::size_t maxLength) {
    return !text.empty() && text.size() <= maxLength &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view Trim(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

std::string JoinFaults(const std::vector<std::string>& faults) {
    std::string joined;
    for (const std::string& fault : faults) {
        if (!joined.empty()) joined += kFaultSeparator;
        joined += fault;
    }
    return joined;
}

}  // namespace velkaro::printer_language
