#include "printer_language/job_splitter.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace velkaro::printer_language {
namespace {

constexpr char kEsc = '\x1b';
// A binary payload's header must show its size within this many bytes.
constexpr std::size_t kHeaderLimit = 64;
// Bytes that start nothing are reported in runs of at most this length.
constexpr std::size_t kLongestIgnoredRun = 4096;
// Capacity kept after a big job, so that one huge label does not pin its memory for ever.
constexpr std::size_t kKeptCapacity = std::size_t{16} << 20;

// ZPL tilde commands that take no parameters, so they end right after their two letters.
constexpr std::array<std::string_view, 17> kBareTildeCommands{"PS", "PP", "JA", "JR", "JC", "JD",
                                                              "JE", "JL", "JX", "JP", "HM", "HB",
                                                              "HD", "HH", "HU", "WC", "NT"};

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != Upper(prefix[i])) return false;
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EndsEplJob(std::string_view line) {
    return line.size() >= 2 && line[0] == 'P' && std::isdigit(static_cast<unsigned char>(line[1]));
}

bool EndsCpclJob(std::string_view line) {
    line = Trimmed(line);
    return (line.size() == 5 && StartsWithIgnoringCase(line, "PRINT")) ||
           (line.size() == 3 && StartsWithIgnoringCase(line, "END"));
}

long NumberAt(std::string_view text, std::size_t at) {
    return std::strtol(std::string(text.substr(at, 12)).c_str(), nullptr, 10);
}

}  // namespace

JobSplitter::JobSplitter(LanguageSet languages) : languages_(languages) {}

void JobSplitter::Feed(std::string_view bytes, const Sink& sink) {
    buffer_.append(bytes.data(), bytes.size());
    for (bool going = true; going;) {
        switch (state_) {
            case State::Between:
                going = StepBetween(sink);
                break;
            case State::ZplFormat:
                going = StepZplFormat(sink);
                break;
            case State::EplJob:
                going = StepLines(Language::Epl, sink);
                break;
            case State::CpclJob:
                going = StepLines(Language::Cpcl, sink);
                break;
        }
    }
    // Drop what has been handed out; the unit still open moves to the front.
    buffer_.erase(0, start_);
    scan_ -= start_;
    start_ = 0;
    if (buffer_.capacity() > kKeptCapacity && buffer_.size() < kKeptCapacity / 4)
        buffer_.shrink_to_fit();
}

std::string_view JobSplitter::Head() const {
    return std::string_view(buffer_).substr(start_);
}

void JobSplitter::Emit(const Sink& sink, StreamUnit::Kind kind, Language language, std::size_t end,
                       QueryKind query) {
    StreamUnit unit;
    unit.kind = kind;
    unit.language = language;
    unit.query = query;
    unit.bytes = std::string_view(buffer_).substr(start_, end - start_);
    start_ = end;
    scan_ = end;
    state_ = State::Between;
    sink(unit);
}

std::size_t JobSplitter::LineEnd(std::size_t from) const {
    const std::size_t at = buffer_.find_first_of("\r\n", from);
    if (at == std::string::npos) return std::string::npos;
    if (buffer_[at] == '\n') return at + 1;
    if (at + 1 == buffer_.size()) return std::string::npos;  // CR LF may be split
    return buffer_[at + 1] == '\n' ? at + 2 : at + 1;
}

bool JobSplitter::StepBetween(const Sink& sink) {
    while (start_ < buffer_.size() && IsBlank(buffer_[start_])) ++start_;
    scan_ = std::max(scan_, start_);
    const std::string_view head = Head();
    if (head.empty()) return false;
    const char first = head[0];
    if (first == '^' && languages_.zpl) {
        if (head.size() < 3) return false;
        if (StartsWithIgnoringCase(head, "^XA")) {
            state_ = State::ZplFormat;
            scan_ = start_ + 3;
            return true;
        }
    }
    if (first == '~' && languages_.zpl) return StartTilde(sink);
    if (first == '!') return StartBang(sink);
    if (first == kEsc && languages_.cpcl) {
        const QueryMatch match = MatchCpclQuery(head);
        if (match.result == QueryMatch::Result::NeedMore) return false;
        if (match.result == QueryMatch::Result::Query) {
            Emit(sink, StreamUnit::Kind::Query, Language::Cpcl, start_ + match.length, match.kind);
            return true;
        }
    }
    if (languages_.epl) return StartEplLine(sink);
    return EmitIgnoredRun(sink);
}

bool JobSplitter::StartTilde(const Sink& sink) {
    const std::string_view head = Head();
    const QueryMatch match = MatchZplQuery(head);
    if (match.result == QueryMatch::Result::Query) {
        Emit(sink, StreamUnit::Kind::Query, Language::Zpl, start_ + match.length, match.kind);
        return true;
    }
    if (match.result == QueryMatch::Result::NeedMore || head.size() < 3) return false;
    const std::string code{Upper(head[1]), Upper(head[2])};
    for (std::string_view bare : kBareTildeCommands) {
        if (code == bare) {
            Emit(sink, StreamUnit::Kind::Command, Language::Zpl, start_ + 3);
            return true;
        }
    }
    // A command with parameters runs to the next command or the end of its line.
    const std::size_t end = buffer_.find_first_of("^~\n", std::max(scan_, start_ + 1));
    if (end == std::string::npos) {
        scan_ = buffer_.size();
        return false;
    }
    Emit(sink, StreamUnit::Kind::Command, Language::Zpl, buffer_[end] == '\n' ? end + 1 : end);
    return true;
}

bool JobSplitter::StartBang(const Sink& sink) {
    const std::string_view head = Head();
    const QueryMatch::Result sgd = MatchSgdStart(head);
    if (sgd == QueryMatch::Result::NeedMore) return false;
    if (sgd == QueryMatch::Result::Query) {
        const std::size_t end = LineEnd(start_);
        if (end == std::string::npos) return false;
        Emit(sink, StreamUnit::Kind::Sgd, Language::Zpl, end);
        return true;
    }
    if (languages_.cpcl) {
        if (head.size() < 2) return false;
        if (head[1] == ' ') {
            state_ = State::CpclJob;
            scan_ = start_;
            atLineStart_ = true;
            return true;
        }
    }
    if (languages_.epl) return StartEplLine(sink);
    return EmitIgnoredRun(sink);
}

bool JobSplitter::StartEplLine(const Sink& sink) {
    const std::size_t end = LineEnd(start_);
    if (end == std::string::npos) return false;
    const std::string_view line = Trimmed(std::string_view(buffer_).substr(start_, end - start_));
    if (line == "N") {
        state_ = State::EplJob;
        scan_ = end;
        atLineStart_ = true;
        return true;
    }
    if (const auto query = MatchEplQueryLine(line)) {
        Emit(sink, StreamUnit::Kind::Query, Language::Epl, end, *query);
    } else {
        Emit(sink, StreamUnit::Kind::Command, Language::Epl, end);
    }
    return true;
}

bool JobSplitter::EmitIgnoredRun(const Sink& sink) {
    std::size_t end = start_ + 1;
    while (end < buffer_.size() && !IsBlank(buffer_[end]) &&
           std::strchr("^~!\x1b", buffer_[end]) == nullptr)
        ++end;
    // A run still open at the end of the bytes so far is reported once it ends, unless it grows
    // long.
    if (end == buffer_.size() && end - start_ < kLongestIgnoredRun) return false;
    Emit(sink, StreamUnit::Kind::Ignored, Language::Zpl, end);
    return true;
}

bool JobSplitter::StepZplFormat(const Sink& sink) {
    const char* const data = buffer_.data();
    const std::size_t size = buffer_.size();
    while (scan_ < size) {
        const void* found = std::memchr(data + scan_, '^', size - scan_);
        if (!found) {
            scan_ = size;
            return false;
        }
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        if (size - at < 3) {
            scan_ = at;
            return false;
        }
        const char a = Upper(data[at + 1]), b = Upper(data[at + 2]);
        if (a == 'X' && b == 'Z') {
            Emit(sink, StreamUnit::Kind::Job, Language::Zpl, at + 3);
            return true;
        }
        if (a == 'G' && b == 'F') {
            std::size_t dataStart = 0, length = 0;
            switch (FindPayload(Language::Zpl, at, dataStart, length)) {
                case Payload::NeedMore:
                    scan_ = at;
                    return false;
                case Payload::Found:
                    scan_ = dataStart + length;
                    continue;
                case Payload::None:
                    break;
            }
        }
        scan_ = at + 1;
    }
    return false;
}

bool JobSplitter::StepLines(Language language, const Sink& sink) {
    while (scan_ < buffer_.size()) {
        if (atLineStart_) {
            std::size_t dataStart = 0, length = 0;
            const Payload payload = FindPayload(language, scan_, dataStart, length);
            if (payload == Payload::NeedMore) return false;
            if (payload == Payload::Found) {
                scan_ = dataStart + length;
                atLineStart_ = false;
                continue;
            }
        }
        const std::size_t end = LineEnd(scan_);
        if (end == std::string::npos) return false;
        if (atLineStart_) {
            const std::string_view line = std::string_view(buffer_).substr(scan_, end - scan_);
            if (language == Language::Epl ? EndsEplJob(line) : EndsCpclJob(line)) {
                Emit(sink, StreamUnit::Kind::Job, language, end);
                return true;
            }
        }
        scan_ = end;
        atLineStart_ = true;
    }
    return false;
}

// Binary payloads that may hold any byte, including what would end a job: ZPL "^GFB" and
// "^GFC" (a,b,c,d then b bytes), EPL "GW" (x,y,w,h then w*h bytes) and CPCL "CG" or
// "COMPRESSED-GRAPHICS" (w h x y then w*h bytes).
JobSplitter::Payload JobSplitter::FindPayload(Language language, std::size_t at,
                                              std::size_t& dataStart, std::size_t& length) const {
    const std::string_view text = std::string_view(buffer_).substr(at);
    std::size_t fieldsFrom = 0;
    char separator = ',';
    if (language == Language::Zpl) {
        if (text.size() < 4) return Payload::NeedMore;
        const char compression = Upper(text[3]);
        if (compression != 'B' && compression != 'C') return Payload::None;
        fieldsFrom = 4;
    } else if (language == Language::Epl) {
        if (text.size() < 2) return text == "G" ? Payload::NeedMore : Payload::None;
        if (text[0] != 'G' || text[1] != 'W') return Payload::None;
        fieldsFrom = 2;
    } else {
        separator = ' ';
        for (std::string_view keyword : {"CG ", "COMPRESSED-GRAPHICS "}) {
            if (StartsWithIgnoringCase(text, keyword))
                fieldsFrom = keyword.size() - 1;
            else if (text.size() < keyword.size() && StartsWithIgnoringCase(keyword, text))
                return Payload::NeedMore;
        }
        if (fieldsFrom == 0) return Payload::None;
    }
    // The size fields come first; the data follows the separator that ends the last field.
    const std::size_t wanted = language == Language::Cpcl ? 5 : 4;
    std::array<std::size_t, 5> separators{};
    std::size_t found = 0;
    for (std::size_t i = fieldsFrom; found < wanted; ++i) {
        if (i >= kHeaderLimit) return Payload::None;
        if (i >= text.size()) return Payload::NeedMore;
        if (text[i] == '\n' || text[i] == '\r') return Payload::None;
        if (text[i] == separator) separators[found++] = i;
    }
    long size = 0;
    if (language == Language::Zpl) {  // ^GFB,bytes,total,row,
        size = NumberAt(text, separators[0] + 1);
    } else if (language == Language::Epl) {  // GWx,y,width bytes,height,
        size = NumberAt(text, separators[1] + 1) * NumberAt(text, separators[2] + 1);
    } else {  // CG width bytes height x y
        size = NumberAt(text, separators[0] + 1) * NumberAt(text, separators[1] + 1);
    }
    if (size <= 0) return Payload::None;
    dataStart = at + separators[wanted - 1] + 1;
    length = static_cast<std::size_t>(size);
    return Payload::Found;
}

}  // namespace velkaro::printer_language
