#include "recording/recording_columns.h"

#include <algorithm>

#include "recording/recording.h"

namespace {

// Pieces a column may take at most: enough that each stays within a pixel or so at any
// rate of records, few enough that any view draws in well under a frame.
constexpr size_t kPiecesPerColumn = 16;

}  // namespace

void fillCountsColumns(const Recording& recording, double t0, double t1,
                       std::span<CountsColumn> columns) {
    std::fill(columns.begin(), columns.end(), CountsColumn{});
    if (columns.empty() || recording.empty() || !(t1 > t0))
        return;
    const size_t from = recording.firstAtOrAfter(t0);
    const size_t to = recording.firstAfter(t1);
    if (from >= to)
        return;
    const double perColumn = (t1 - t0) / static_cast<double>(columns.size());
    const int level = recording.levels.levelFor(to - from, kPiecesPerColumn * columns.size());
    const size_t last = columns.size() - 1;

    const size_t firstStretch = recording.stretchOf(from);
    const size_t lastStretch = recording.stretchOf(to - 1);
    for (size_t s = firstStretch; s <= lastStretch; ++s) {
        const size_t a = std::max(from, recording.stretchStarts[s]);
        const size_t b = s + 1 < recording.stretchStarts.size()
                             ? std::min(to, recording.stretchStarts[s + 1])
                             : to;
        // Pieces never reach across a stretch's ends, so a gap always falls between columns.
        recording.levels.walk(recording.counts, a, b, level, [&](const CountsPiece& piece) {
            const double at = (recording.timeOf(piece.first) - t0) / perColumn;
            CountsColumn& c = columns[std::min(last, static_cast<size_t>(std::max(0.0, at)))];
            if (!c.any) {
                c = {true, false, recording.counts[piece.first], 0, piece.min, piece.max, s, s};
            } else {
                c.min = std::min(c.min, piece.min);
                c.max = std::max(c.max, piece.max);
            }
            c.last = recording.counts[piece.first + piece.rows - 1];
            c.lastStretch = s;
        });
    }
    const CountsColumn* previous = nullptr;
    for (CountsColumn& c : columns) {
        if (!c.any)
            continue;
        c.breakBefore = previous && previous->lastStretch != c.firstStretch;
        previous = &c;
    }
}
