#include "printer_language/query_scanner.h"

#include <array>
#include <cctype>

namespace velkaro::printer_language {
namespace {

struct KnownQuery {
    std::string_view bytes;
    QueryKind kind;
};

constexpr std::array<KnownQuery, 3> kZplQueries{{
    {"~HS", QueryKind::ZplHostStatus},
    {"~HQES", QueryKind::ZplHostQueryStatus},
    {"~HI", QueryKind::ZplHostIdentification},
}};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// Takes the next word or double-quoted string off the front of `text`.
std::optional<std::string> TakeToken(std::string_view& text) {
    text = Trimmed(text);
    if (text.empty()) return std::nullopt;
    if (text.front() == '"') {
        const std::size_t end = text.find('"', 1);
        if (end == std::string_view::npos) return std::nullopt;
        std::string token(text.substr(1, end - 1));
        text.remove_prefix(end + 1);
        return token;
    }
    std::size_t end = 0;
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
    std::string token(text.substr(0, end));
    text.remove_prefix(end);
    return token;
}

}  // namespace

const char* QueryName(QueryKind kind) {
    switch (kind) {
        case QueryKind::ZplHostStatus:
            return "~HS";
        case QueryKind::ZplHostQueryStatus:
            return "~HQES";
        case QueryKind::ZplHostIdentification:
            return "~HI";
        case QueryKind::EplErrorReport:
            return "^ee";
        case QueryKind::EplConfiguration:
            return "UQ";
        case QueryKind::CpclStatus:
            return "ESC h";
        case QueryKind::CpclExtendedStatus:
            return "ESC i";
        case QueryKind::CpclVersion:
            return "ESC v";
    }
    return "?";
}

Language QueryLanguage(QueryKind kind) {
    switch (kind) {
        case QueryKind::ZplHostStatus:
        case QueryKind::ZplHostQueryStatus:
        case QueryKind::ZplHostIdentification:
            return Language::Zpl;
        case QueryKind::EplErrorReport:
        case QueryKind::EplConfiguration:
            return Language::Epl;
        default:
            return Language::Cpcl;
    }
}

QueryMatch MatchZplQuery(std::string_view head) {
    QueryMatch match;
    for (const KnownQuery& query : kZplQueries) {
        const std::size_t n = std::min(head.size(), query.bytes.size());
        if (!EqualsIgnoringCase(head.substr(0, n), query.bytes.substr(0, n))) continue;
        if (n < query.bytes.size()) {
            match.result = QueryMatch::Result::NeedMore;
            continue;
        }
        return {QueryMatch::Result::Query, query.kind, query.bytes.size()};
    }
    return match;
}

QueryMatch MatchCpclQuery(std::string_view head) {
    std::size_t at = 1;  // past ESC
    if (head.size() > at && head[at] == ' ') ++at;
    if (head.size() <= at) return {QueryMatch::Result::NeedMore, QueryKind::CpclStatus, 0};
    switch (head[at]) {
        case 'h':
            return {QueryMatch::Result::Query, QueryKind::CpclStatus, at + 1};
        case 'i':
            return {QueryMatch::Result::Query, QueryKind::CpclExtendedStatus, at + 1};
        case 'v':
            return {QueryMatch::Result::Query, QueryKind::CpclVersion, at + 1};
        default:
            return {};
    }
}

std::optional<QueryKind> MatchEplQueryLine(std::string_view line) {
    line = Trimmed(line);
    if (line == "^ee") return QueryKind::EplErrorReport;
    if (line == "UQ") return QueryKind::EplConfiguration;
    return std::nullopt;
}

QueryMatch::Result MatchSgdStart(std::string_view head) {
    constexpr std::string_view kStart = "! U1 ";
    const std::size_t n = std::min(head.size(), kStart.size());
    if (!EqualsIgnoringCase(head.substr(0, n), kStart.substr(0, n)))
        return QueryMatch::Result::None;
    return n < kStart.size() ? QueryMatch::Result::NeedMore : QueryMatch::Result::Query;
}

std::optional<SgdCommand> ParseSgdLine(std::string_view line) {
    if (MatchSgdStart(line) != QueryMatch::Result::Query) return std::nullopt;
    line.remove_prefix(5);
    const auto verb = TakeToken(line);
    const auto name = TakeToken(line);
    if (!verb || !name || name->empty()) return std::nullopt;
    SgdCommand command;
    command.name = *name;
    if (EqualsIgnoringCase(*verb, "getvar")) {
        command.verb = SgdCommand::Verb::Getvar;
        return command;
    }
    if (EqualsIgnoringCase(*verb, "setvar")) {
        command.verb = SgdCommand::Verb::Setvar;
    } else if (EqualsIgnoringCase(*verb, "do")) {
        command.verb = SgdCommand::Verb::Do;
    } else {
        return std::nullopt;
    }
    command.value = TakeToken(line).value_or(std::string());
    return command;
}

}  // namespace velkaro::printer_language
