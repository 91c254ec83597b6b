// Recognises the status queries and Set-Get-Do lines a host sends, at the head of a byte stream
// that may still be arriving.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "printer_language/printer_queries.h"

namespace velkaro::printer_language {

enum class QueryKind {
    ZplHostStatus,          // ~HS
    ZplHostQueryStatus,     // ~HQES
    ZplHostIdentification,  // ~HI
    EplErrorReport,         // ^ee
    EplConfiguration,       // UQ
    CpclStatus,             // ESC h
    CpclExtendedStatus,     // ESC i
    CpclVersion,            // ESC v
};

// The query's name as a log shows it ("~HS", "ESC h").
const char* QueryName(QueryKind kind);
Language QueryLanguage(QueryKind kind);

// The outcome of looking at the head of the stream: a whole query of `length` bytes, a head that
// may still become one once more bytes arrive, or no query at all.
struct QueryMatch {
    enum class Result { Query, NeedMore, None };
    Result result = Result::None;
    QueryKind kind = QueryKind::ZplHostStatus;
    std::size_t length = 0;
};

// ZPL tilde queries at the head of `head` (which starts with '~').
QueryMatch MatchZplQuery(std::string_view head);
// CPCL escape queries at the head of `head` (which starts with ESC). A space between ESC and the
// letter is tolerated, since some hosts format the sequence that way.
QueryMatch MatchCpclQuery(std::string_view head);
// An EPL query given as one line without its line end.
std::optional<QueryKind> MatchEplQueryLine(std::string_view line);

// A parsed "! U1 getvar|setvar|do" line.
struct SgdCommand {
    enum class Verb { Getvar, Setvar, Do };
    Verb verb = Verb::Getvar;
    std::string name;
    std::string value;  // setvar and do only
};

// True when `head` starts a Set-Get-Do line ("! U1 "); NeedMore while it is too short to tell.
QueryMatch::Result MatchSgdStart(std::string_view head);
// Parses one Set-Get-Do line (without its line end); nullopt when it is not well formed.
std::optional<SgdCommand> ParseSgdLine(std::string_view line);

}  // namespace velkaro::printer_language
