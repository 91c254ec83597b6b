#include "platform/receive_log.h"

#include <algorithm>

namespace velkaro {
namespace {

// How many bytes a stream may keep so that they and their indexes fit in `cap`: many short
// lines cost index memory too.
std::uint64_t KeepWithin(const ByteStream& stream, std::uint64_t cap) {
    const double data = static_cast<double>(stream.Size());
    const double total = data + static_cast<double>(stream.IndexBytes());
    return total <= static_cast<double>(cap) ? cap
                                             : static_cast<std::uint64_t>(cap * (data / total));
}

}  // namespace

void ReceiveLog::Append(ReceiveKind kind, const char* data, std::size_t size, std::int64_t timeMs) {
    if (size == 0) return;
    // A large block (a whole file sent) goes in piece by piece, so that no more than the cap
    // and one piece are ever held.
    constexpr std::size_t kPiece = 1u << 20;
    if (size > kPiece) {
        for (std::size_t at = 0; at < size; at += kPiece)
            Append(kind, data + at, std::min(kPiece, size - at), timeMs);
        return;
    }
    ByteStream& stream = streams_[Index(kind)];
    const std::uint64_t begin = stream.End();
    stream.Append(data, size, timeMs);
    if (!runs_.empty() && runs_.back().kind == kind)
        runs_.back().end = stream.End();
    else
        runs_.push_back({kind, begin, stream.End()});
    if (Shown(kind)) AddToSegments(kind, begin, stream.End());
    ++generation_;
    if (kind == ReceiveKind::Typed || stream.Size() + stream.IndexBytes() <= cap_) return;
    const std::uint64_t dropped = stream.TrimTo(KeepWithin(stream, cap_));
    if (dropped == 0) return;
    dropped_ += dropped;
    const std::uint64_t newBegin = stream.Begin();
    runs_.erase(
        std::remove_if(runs_.begin(), runs_.end(),
                       [&](const Run& run) { return run.kind == kind && run.end <= newBegin; }),
        runs_.end());
    for (Run& run : runs_)
        if (run.kind == kind) run.begin = std::max(run.begin, newBegin);
    Relayout();
}

bool ReceiveLog::EraseTyped(std::size_t bytes) {
    if (runs_.empty() || runs_.back().kind != ReceiveKind::Typed) return false;
    Run& run = runs_.back();
    if (bytes == 0 || run.end - run.begin < bytes) return false;
    run.end -= bytes;
    streams_[Index(ReceiveKind::Typed)].TruncateFrom(run.end);
    if (run.begin == run.end) runs_.pop_back();
    Relayout();
    return true;
}

void ReceiveLog::Clear() {
    for (ByteStream& stream : streams_) stream.Clear();
    runs_.clear();
    segments_.clear();
    dropped_ = 0;
    ++generation_;
}

void ReceiveLog::SetHex(bool hex) {
    if (hex == hex_) return;
    hex_ = hex;
    Relayout();
}

void ReceiveLog::SetShowSent(bool show) {
    if (show == showSent_) return;
    showSent_ = show;
    Relayout();
}

void ReceiveLog::SetCap(std::uint64_t bytes) {
    cap_ = bytes;
    bool trimmed = false;
    for (ReceiveKind kind : {ReceiveKind::Received, ReceiveKind::Sent}) {
        ByteStream& stream = streams_[Index(kind)];
        const std::uint64_t dropped = stream.TrimTo(KeepWithin(stream, cap_));
        if (dropped == 0) continue;
        dropped_ += dropped;
        trimmed = true;
        const std::uint64_t newBegin = stream.Begin();
        runs_.erase(
            std::remove_if(runs_.begin(), runs_.end(),
                           [&](const Run& run) { return run.kind == kind && run.end <= newBegin; }),
            runs_.end());
        for (Run& run : runs_)
            if (run.kind == kind) run.begin = std::max(run.begin, newBegin);
    }
    if (trimmed) Relayout();
}

bool ReceiveLog::Shown(ReceiveKind kind) const {
    switch (kind) {
        case ReceiveKind::Received:
            return true;
        case ReceiveKind::Sent:
            return showSent_;
        case ReceiveKind::Typed:
            return !hex_;  // typed notes are no bytes on the wire
    }
    return false;
}

std::size_t ReceiveLog::RowsIn(const Segment& segment, bool last) const {
    if (hex_) return (segment.end - segment.begin + kHexBytes - 1) / kHexBytes;
    const ByteStream& stream = Stream(segment.kind);
    // One row, and one more after each line start inside; the very last segment also shows
    // the empty line after a final line break.
    std::size_t rows = 1 + stream.StartsBefore(segment.end) - stream.StartsUpTo(segment.begin);
    if (last && stream.StartsUpTo(segment.end) > stream.StartsBefore(segment.end)) ++rows;
    return rows;
}

void ReceiveLog::AddToSegments(ReceiveKind kind, std::uint64_t begin, std::uint64_t end) {
    if (begin >= end) return;
    if (!segments_.empty() && segments_.back().kind == kind) {
        segments_.back().end = end;
        return;
    }
    const std::size_t firstRow =
        segments_.empty() ? 0 : segments_.back().firstRow + RowsIn(segments_.back(), false);
    segments_.push_back({kind, begin, end, firstRow});
}

void ReceiveLog::Relayout() {
    segments_.clear();
    for (const Run& run : runs_) {
        const ByteStream& stream = Stream(run.kind);
        if (Shown(run.kind)) AddToSegments(run.kind, std::max(run.begin, stream.Begin()), run.end);
    }
    ++generation_;
}

std::size_t ReceiveLog::RowCount() const {
    if (segments_.empty()) return NoteRows() + (hex_ ? 0 : 1);
    return NoteRows() + segments_.back().firstRow + RowsIn(segments_.back(), true);
}

ReceiveRow ReceiveLog::Row(std::size_t row) const {
    ReceiveRow result;
    if (row < NoteRows()) {
        result.type = ReceiveRow::Type::DroppedNote;
        return result;
    }
    row -= NoteRows();
    result.type = hex_ ? ReceiveRow::Type::Hex : ReceiveRow::Type::Text;
    if (segments_.empty()) {
        result.begin = result.end = Stream(ReceiveKind::Received).End();
        return result;
    }
    auto after = std::upper_bound(
        segments_.begin(), segments_.end(), row,
        [](std::size_t value, const Segment& segment) { return value < segment.firstRow; });
    const Segment& segment = *std::prev(after);
    const std::size_t k = row - segment.firstRow;
    result.kind = segment.kind;
    if (hex_) {
        result.begin = segment.begin + k * kHexBytes;
        result.end = std::min(segment.end, result.begin + kHexBytes);
        return result;
    }
    const ByteStream& stream = Stream(segment.kind);
    const std::size_t first = stream.StartsUpTo(segment.begin);  // first start inside
    if (k == 0) {
        result.begin = segment.begin;
    } else {
        result.begin = stream.LineStart(first + k - 1);
        result.continuesLine = stream.IsDisplayBreak(first + k - 1);
    }
    const std::size_t next = first + k;
    result.end = next < stream.LineStarts() && stream.LineStart(next) < segment.end
                     ? stream.LineStart(next)
                     : segment.end;
    result.end = std::max(result.end, result.begin);
    return result;
}

std::size_t ReceiveLog::RowOf(ReceiveKind kind, std::uint64_t offset) const {
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        const Segment& segment = segments_[i];
        const bool last = i + 1 == segments_.size();
        if (segment.kind != kind || offset < segment.begin ||
            (offset >= segment.end && !(last && offset == segment.end)))
            continue;
        if (hex_) return NoteRows() + segment.firstRow + (offset - segment.begin) / kHexBytes;
        const ByteStream& stream = Stream(kind);
        return NoteRows() + segment.firstRow + stream.StartsUpTo(offset) -
               stream.StartsUpTo(segment.begin);
    }
    return RowCount();
}

std::vector<ReceiveMatch> ReceiveLog::Find(const std::string& needle, std::size_t limit) const {
    std::vector<std::uint64_t> found[kReceiveKinds];
    for (ReceiveKind kind : {ReceiveKind::Received, ReceiveKind::Sent})
        if (Shown(kind)) found[Index(kind)] = Stream(kind).Find(needle, limit);
    std::vector<ReceiveMatch> matches;
    for (const Segment& segment : segments_) {
        const auto& offsets = found[Index(segment.kind)];
        auto from = std::lower_bound(offsets.begin(), offsets.end(), segment.begin);
        auto to = std::lower_bound(from, offsets.end(), segment.end);
        for (auto it = from; it != to && matches.size() < limit; ++it)
            matches.push_back({segment.kind, *it});
    }
    return matches;
}

}  // namespace velkaro
