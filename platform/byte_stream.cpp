#include "platform/byte_stream.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace velkaro {

void ByteStream::Append(const char* data, std::size_t size, std::int64_t timeMs) {
    if (size == 0) return;
    if (arrivals_.empty() || arrivals_.back().timeMs != timeMs) arrivals_.push_back({end_, timeMs});
    // Index the lines first, then copy the bytes block by block.
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    const unsigned char* const stop = bytes + size;
    for (const unsigned char* p = bytes; p < stop;) {
        const std::uint64_t offset = end_ + static_cast<std::uint64_t>(p - bytes);
        // Most bytes end no line and come nowhere near the display break: skip them with
        // memchr, which goes through memory many bytes at a time.
        const std::uint64_t length = offset - lineBegin_;
        if (length + 1 < kMaxLineBytes) {
            const std::size_t span = std::min<std::size_t>(stop - p, kMaxLineBytes - 1 - length);
            const auto* lf = static_cast<const unsigned char*>(std::memchr(p, '\n', span));
            const std::size_t beforeLf = lf ? static_cast<std::size_t>(lf - p) : span;
            const auto* cr = static_cast<const unsigned char*>(std::memchr(p, '\r', beforeLf));
            const unsigned char* next = cr ? cr : (lf ? lf : p + span);
            if (next > p) {
                afterCR_ = false;
                afterBreakable_ = next[-1] < '0';
                p = next;
                continue;
            }
        }
        const unsigned char c = *p++;
        if (c == '\n') {
            if (afterCR_)  // the LF of CR LF: the line starts after it
                starts_.back() = (offset + 1) << 1;
            else
                AddStart(offset + 1, false);
            lineBegin_ = offset + 1;
            afterCR_ = false;
            afterBreakable_ = true;
            continue;
        }
        afterCR_ = c == '\r';
        if (afterCR_) {
            AddStart(offset + 1, false);
            lineBegin_ = offset + 1;
            afterBreakable_ = true;
            continue;
        }
        // A display break goes after a byte below '0' (no character set here uses those
        // inside a character), or, failing that for a while, anywhere but inside a UTF-8
        // sequence.
        if ((length >= kMaxLineBytes && afterBreakable_) ||
            (length >= kMaxLineBytes + 64 && (c & 0xC0) != 0x80)) {
            AddStart(offset, true);
            lineBegin_ = offset;
        }
        afterBreakable_ = c < '0';
    }
    while (size > 0) {
        const std::uint64_t inBlock = end_ % kBlockSize;
        if (inBlock == 0 && end_ / kBlockSize >= firstBlock_ + blocks_.size()) {
            if (blocks_.empty()) firstBlock_ = end_ / kBlockSize;
            blocks_.emplace_back(new char[kBlockSize]);
        }
        const std::size_t n = std::min<std::size_t>(size, kBlockSize - inBlock);
        std::memcpy(blocks_.back().get() + inBlock, data, n);
        data += n;
        size -= n;
        end_ += n;
    }
}

std::uint64_t ByteStream::TrimTo(std::uint64_t keep) {
    const std::uint64_t before = begin_;
    while (Size() > keep && !blocks_.empty()) {
        const std::uint64_t blockEnd = (firstBlock_ + 1) * kBlockSize;
        if (blockEnd > end_) break;  // never the block still being filled
        blocks_.pop_front();
        ++firstBlock_;
        begin_ = blockEnd;
    }
    while (!starts_.empty() && LineStart(0) <= begin_) starts_.pop_front();
    while (arrivals_.size() > 1 && arrivals_[1].offset <= begin_) arrivals_.pop_front();
    return begin_ - before;
}

void ByteStream::TruncateFrom(std::uint64_t offset) {
    if (offset >= end_ || offset < begin_) return;
    end_ = offset;
    const std::uint64_t blocksNeeded = (end_ + kBlockSize - 1) / kBlockSize;
    while (!blocks_.empty() && firstBlock_ + blocks_.size() > blocksNeeded) blocks_.pop_back();
    while (!starts_.empty() && LineStart(starts_.size() - 1) > end_) starts_.pop_back();
    while (!arrivals_.empty() && arrivals_.back().offset >= end_) arrivals_.pop_back();
    lineBegin_ = starts_.empty() ? begin_ : LineStart(starts_.size() - 1);
    afterCR_ = end_ > begin_ && At(end_ - 1) == '\r';
    afterBreakable_ = end_ > begin_ && At(end_ - 1) < '0';
}

void ByteStream::Clear() {
    *this = ByteStream();
}

unsigned char ByteStream::At(std::uint64_t offset) const {
    return static_cast<unsigned char>(
        blocks_[offset / kBlockSize - firstBlock_][offset % kBlockSize]);
}

std::string ByteStream::Bytes(std::uint64_t from, std::uint64_t to) const {
    from = std::max(from, begin_);
    to = std::min(to, end_);
    std::string out;
    if (from >= to) return out;
    out.reserve(to - from);
    while (from < to) {
        const std::uint64_t inBlock = from % kBlockSize;
        const std::size_t n = std::min<std::uint64_t>(to - from, kBlockSize - inBlock);
        out.append(blocks_[from / kBlockSize - firstBlock_].get() + inBlock, n);
        from += n;
    }
    return out;
}

std::size_t ByteStream::StartsBefore(std::uint64_t offset) const {
    return std::lower_bound(starts_.begin(), starts_.end(), offset << 1) - starts_.begin();
}

std::int64_t ByteStream::TimeAt(std::uint64_t offset) const {
    auto after = std::upper_bound(
        arrivals_.begin(), arrivals_.end(), offset,
        [](std::uint64_t value, const Arrival& arrival) { return value < arrival.offset; });
    if (after == arrivals_.begin()) return arrivals_.empty() ? 0 : arrivals_.front().timeMs;
    return std::prev(after)->timeMs;
}

std::vector<std::uint64_t> ByteStream::Find(const std::string& needle, std::size_t limit) const {
    std::vector<std::uint64_t> found;
    if (needle.empty() || limit == 0) return found;
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    // Each block is searched together with the tail of the one before, so a match across a
    // block boundary is found once.
    std::string window;
    for (std::uint64_t from = begin_; from < end_;) {
        const std::uint64_t to =
            std::min<std::uint64_t>(end_, (from / kBlockSize + 1) * kBlockSize);
        const std::uint64_t windowBegin =
            from - std::min<std::uint64_t>(from - begin_, needle.size() - 1);
        window = Bytes(windowBegin, to);
        for (auto at = window.begin();;) {
            at = std::search(at, window.end(), searcher);
            if (at == window.end()) break;
            const std::uint64_t offset = windowBegin + (at - window.begin());
            if (offset + needle.size() > from) {  // ends in this block: not found before
                found.push_back(offset);
                if (found.size() >= limit) return found;
            }
            ++at;
        }
        from = to;
    }
    return found;
}

std::size_t ByteStream::MemoryBytes() const {
    return blocks_.size() * kBlockSize + IndexBytes();
}

std::size_t ByteStream::IndexBytes() const {
    return starts_.size() * sizeof(std::uint64_t) + arrivals_.size() * sizeof(Arrival);
}

}  // namespace velkaro
