// The bytes of one direction of a conversation, in arrival order, kept in fixed blocks so the
// oldest can be dropped whole without moving the rest. Offsets count from the last clearing
// and never shift. Alongside the bytes it keeps where each line begins and when each delivery
// arrived, so a view can find any line or time without scanning the bytes again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace velkaro {

class ByteStream {
  public:
    static constexpr std::size_t kBlockSize = 64 * 1024;
    // A line longer than this is broken for display, preferably after a control byte, space or
    // punctuation (never inside a character of the usual character sets).
    static constexpr std::uint64_t kMaxLineBytes = 4096;

    void Append(const char* data, std::size_t size, std::int64_t timeMs);
    // Drops whole blocks from the front until at most `keep` bytes remain; returns how many
    // bytes were dropped.
    std::uint64_t TrimTo(std::uint64_t keep);
    // Takes back the bytes from `offset` to the end (only bytes of the last delivery).
    void TruncateFrom(std::uint64_t offset);
    void Clear();

    std::uint64_t Begin() const { return begin_; }
    std::uint64_t End() const { return end_; }
    std::uint64_t Size() const { return end_ - begin_; }
    unsigned char At(std::uint64_t offset) const;
    std::string Bytes(std::uint64_t from, std::uint64_t to) const;

    // Line starts: offsets just after a line break (CR LF, a lone CR or a lone LF) or a
    // display break, in increasing order, all after Begin().
    std::size_t LineStarts() const { return starts_.size(); }
    std::uint64_t LineStart(std::size_t index) const { return starts_[index] >> 1; }
    // True for a display break inside an overlong line rather than after a line break.
    bool IsDisplayBreak(std::size_t index) const { return starts_[index] & 1; }
    // The number of line starts before `offset`, and up to and including it.
    std::size_t StartsBefore(std::uint64_t offset) const;
    std::size_t StartsUpTo(std::uint64_t offset) const { return StartsBefore(offset + 1); }

    // When the delivery that brought the byte at `offset` arrived (milliseconds since the
    // epoch); 0 when nothing is kept.
    std::int64_t TimeAt(std::uint64_t offset) const;

    // Offsets where `needle` begins, in order, at most `limit` of them.
    std::vector<std::uint64_t> Find(const std::string& needle, std::size_t limit) const;

    // Bytes held in memory for the data and its indexes, and for the indexes alone.
    std::size_t MemoryBytes() const;
    std::size_t IndexBytes() const;

  private:
    struct Arrival {
        std::uint64_t offset;
        std::int64_t timeMs;
    };
    void AddStart(std::uint64_t offset, bool displayBreak) {
        starts_.push_back(offset << 1 | (displayBreak ? 1 : 0));
    }

    std::deque<std::unique_ptr<char[]>> blocks_;
    std::uint64_t firstBlock_ = 0;  // index of blocks_.front() counted from offset 0
    std::uint64_t begin_ = 0;
    std::uint64_t end_ = 0;
    std::deque<std::uint64_t> starts_;  // offset << 1 | display break
    std::deque<Arrival> arrivals_;
    // Where the current line began, and whether the byte before the end was CR or a byte after
    // which a display break may go.
    std::uint64_t lineBegin_ = 0;
    bool afterCR_ = false;
    bool afterBreakable_ = false;
};

}  // namespace velkaro
