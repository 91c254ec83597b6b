// Cuts a printer's incoming byte stream into the units a printer acts on: label jobs, status
// queries, Set-Get-Do lines and stand-alone commands. Bytes may arrive in any pieces: a unit
// split over many reads comes out whole, many units in one read come out one by one.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "printer_language/printer_queries.h"
#include "printer_language/query_scanner.h"

namespace velkaro::printer_language {

// The languages a printer understands; Set-Get-Do lines are understood whatever is chosen.
struct LanguageSet {
    bool zpl = true;
    bool epl = false;
    bool cpcl = false;
};

struct StreamUnit {
    enum class Kind {
        Job,      // a label job: ZPL ^XA…^XZ, EPL N…Pn, CPCL "! "…PRINT/END
        Query,    // a status query, see `query`
        Sgd,      // a "! U1 …" line with its line end
        Command,  // a command outside any job (ZPL tilde command, EPL setup line)
        Ignored,  // bytes that start nothing in the chosen languages
    };
    Kind kind = Kind::Ignored;
    Language language = Language::Zpl;
    QueryKind query = QueryKind::ZplHostStatus;
    std::string_view bytes;  // exactly as received; valid during the callback only
};

class JobSplitter {
  public:
    using Sink = std::function<void(const StreamUnit&)>;

    explicit JobSplitter(LanguageSet languages = {});

    // Takes the next bytes of the stream and hands every unit they complete to `sink`, in order.
    void Feed(std::string_view bytes, const Sink& sink);

    // Bytes held for a unit that has not ended yet.
    std::size_t Pending() const { return buffer_.size() - start_; }

  private:
    enum class State { Between, ZplFormat, EplJob, CpclJob };

    // Each step returns false when it needs more bytes before it can go on.
    bool StepBetween(const Sink& sink);
    bool StepLines(Language language, const Sink& sink);
    bool StepZplFormat(const Sink& sink);
    bool StartTilde(const Sink& sink);
    bool StartBang(const Sink& sink);
    bool StartEplLine(const Sink& sink);
    bool EmitIgnoredRun(const Sink& sink);

    // Where a binary payload begins and how long it is, for a command that carries one at `at`.
    enum class Payload { None, NeedMore, Found };
    Payload FindPayload(Language language, std::size_t at, std::size_t& dataStart,
                        std::size_t& length) const;
    // Index just past the line end that follows `from`, or npos while the line is still open.
    std::size_t LineEnd(std::size_t from) const;

    void Emit(const Sink& sink, StreamUnit::Kind kind, Language language, std::size_t end,
              QueryKind query = QueryKind::ZplHostStatus);
    std::string_view Head() const;

    LanguageSet languages_;
    State state_ = State::Between;
    std::string buffer_;
    std::size_t start_ = 0;    // first byte of the unit being read
    std::size_t scan_ = 0;     // where the search for the unit's end goes on
    bool atLineStart_ = true;  // EPL and CPCL jobs: `scan_` is at the start of a line
};

}  // namespace velkaro::printer_language
