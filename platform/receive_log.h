// What the receive box holds: the bytes received, the bytes the window sent and text the user
// typed into the box, each in a stream of its own, with the order in which they interleaved.
// It lays them out as rows for display, as text lines or as 16-byte hexadecimal lines, and
// keeps memory bounded by dropping the oldest data beyond a cap.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/hex_dump.h"

namespace velkaro {

enum class ReceiveKind : std::uint8_t { Received, Sent, Typed };
inline constexpr int kReceiveKinds = 3;

struct ReceiveRow {
    enum class Type { DroppedNote, Text, Hex };
    Type type = Type::Text;
    ReceiveKind kind = ReceiveKind::Received;
    std::uint64_t begin = 0;  // stream offsets of the row's bytes, line break included
    std::uint64_t end = 0;
    bool continuesLine = false;  // a display break of an overlong line, not a line break
};

struct ReceiveMatch {
    ReceiveKind kind;
    std::uint64_t offset;
};

class ReceiveLog {
  public:
    static constexpr std::uint64_t kDefaultCap = 64u << 20;
    static constexpr std::uint64_t kHexBytes = kHexDumpBytesPerLine;  // bytes on a hexadecimal row

    void Append(ReceiveKind kind, const char* data, std::size_t size, std::int64_t timeMs);
    // Takes back the last typed character's bytes; false when the box ends with something else.
    bool EraseTyped(std::size_t bytes);
    void Clear();

    // Display options; changing one lays the rows out again.
    void SetHex(bool hex);
    void SetShowSent(bool show);
    // Memory for received and sent bytes, each with its indexes; the oldest leave first.
    void SetCap(std::uint64_t bytes);
    bool Hex() const { return hex_; }
    bool ShowSent() const { return showSent_; }
    std::uint64_t Cap() const { return cap_; }

    const ByteStream& Stream(ReceiveKind kind) const { return streams_[Index(kind)]; }
    // Bytes dropped from the top by the cap since the last clearing.
    std::uint64_t Dropped() const { return dropped_; }

    std::size_t RowCount() const;
    ReceiveRow Row(std::size_t row) const;
    // The row that shows the byte at `offset` of `kind`'s stream, or RowCount() when none does.
    std::size_t RowOf(ReceiveKind kind, std::uint64_t offset) const;

    // Where `needle` occurs in the shown received and sent bytes, in display order.
    std::vector<ReceiveMatch> Find(const std::string& needle, std::size_t limit) const;

    // Changes whenever the rows may have changed.
    std::uint64_t Generation() const { return generation_; }

  private:
    struct Segment {
        ReceiveKind kind;
        std::uint64_t begin, end;
        std::size_t firstRow;  // counted without the dropped note
    };
    struct Run {
        ReceiveKind kind;
        std::uint64_t begin, end;
    };
    static int Index(ReceiveKind kind) { return static_cast<int>(kind); }
    bool Shown(ReceiveKind kind) const;
    std::size_t RowsIn(const Segment& segment, bool last) const;
    std::size_t NoteRows() const { return dropped_ > 0 ? 1 : 0; }
    void AddToSegments(ReceiveKind kind, std::uint64_t begin, std::uint64_t end);
    void Relayout();

    ByteStream streams_[kReceiveKinds];
    std::deque<Run> runs_;           // every kind, in arrival order
    std::vector<Segment> segments_;  // the shown kinds, same-kind neighbours merged
    bool hex_ = false;
    bool showSent_ = false;
    std::uint64_t cap_ = kDefaultCap;
    std::uint64_t dropped_ = 0;
    std::uint64_t generation_ = 0;
};

}  // namespace velkaro
