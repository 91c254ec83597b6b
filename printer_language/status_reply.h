// A printer's status reply in words: which reply it is, each field with its raw text, what it
// means and how serious it is, and a one-line summary. Names and meanings are Chinese, as the
// window shows them; every field and reply kind also has a stable English key for scripts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::printer_language {

enum class Severity { Ok, Warning, Error };

enum class ReplyKind {
    ZplHostStatus,          // ~HS: three framed strings
    ZplHostQueryStatus,     // ~HQES: error and warning flags
    ZplHostIdentification,  // ~HI: model, firmware, resolution, memory
    EplErrorReport,         // ^ee: error codes on one line
    EplConfiguration,       // UQ: configuration lines
    CpclStatus,             // ESC h: one status byte
    CpclExtendedStatus,     // ESC i: one extended status byte
    CpclVersion,            // ESC v: NUL-terminated model and version
    SgdValue,               // getvar: a quoted value
    Unknown,                // framed like a reply, but none we know
};

struct StatusField {
    std::string key;      // stable English key, e.g. "paper_out"
    std::string name;     // e.g. "缺纸标志"
    std::string raw;      // the text as received, e.g. "1"
    std::string meaning;  // e.g. "缺纸"
    Severity severity = Severity::Ok;
};

struct StatusReply {
    ReplyKind kind = ReplyKind::Unknown;
    // False when the bytes looked like a reply but did not follow its form: then `fields` is
    // empty and nothing is guessed.
    bool decoded = false;
    std::string raw;  // the reply's bytes as received
    std::vector<StatusField> fields;
    std::vector<std::string> faults;  // errors and warnings in words, in field order
    std::string summary;  // faults joined by " · ", or "就绪", or what the reply says
    Severity severity = Severity::Ok;  // the worst of the fields
};

const char* SeverityKey(Severity severity);  // "ok", "warning", "error"
const char* ReplyKindKey(ReplyKind kind);    // e.g. "zpl_host_status"
const char* ReplyKindName(ReplyKind kind);   // e.g. "ZPL 主机状态 (~HS)"

inline constexpr char kReadySummary[] = "就绪";
inline constexpr char kUndecodedSummary[] = "无法解码";
inline constexpr char kFaultSeparator[] = " · ";

// Collects the fields of one reply and works out its faults, severity and summary.
class ReplyBuilder {
  public:
    ReplyBuilder(ReplyKind kind, std::string raw);

    // A field; when its severity is not Ok, `fault` (or else its meaning) joins the faults.
    void Add(std::string key, std::string name, std::string raw, std::string meaning,
             Severity severity = Severity::Ok, std::string fault = {});
    // A 0/1 flag: `set` and `clear` are the meanings, `severity` applies when set.
    // Returns false when `raw` is neither "0" nor "1".
    bool AddFlag(std::string key, std::string name, std::string_view raw, std::string set,
                 std::string clear, Severity severity);
    // The reply; `quiet` is the summary when there is no fault.
    StatusReply Done(std::string quiet = kReadySummary);

  private:
    StatusReply reply_;
};

StatusReply UndecodedReply(ReplyKind kind, std::string raw);

// Text helpers shared by the decoders.
bool IsDigits(std::string_view text, std::size_t maxLength = 9);
std::string_view Trim(std::string_view text);
std::vector<std::string_view> Split(std::string_view text, char separator);
std::string JoinFaults(const std::vector<std::string>& faults);

}  // namespace velkaro::printer_language
