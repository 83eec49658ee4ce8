#include "recording/min_max_levels.h"

#include <algorithm>

size_t MinMaxLevels::rowsAt(size_t level) {
    size_t rows = kFinest;
    for (size_t k = 0; k < level; ++k) rows *= kFanOut;
    return rows;
}

void MinMaxLevels::add(uint16_t counts) {
    total_ += counts;
    open_ = openRows_ == 0 ? Bucket{counts, counts}
                           : Bucket{std::min(open_.min, counts), std::max(open_.max, counts)};
    if (++openRows_ < kFinest)
        return;
    if (levels_.empty())
        levels_.emplace_back();
    levels_[0].push_back(open_);
    sums_.push_back(total_);
    openRows_ = 0;
    close(0);
}

// Each time a level has gathered another kFanOut buckets, the level above gets one more.
void MinMaxLevels::close(size_t level) {
    while (levels_[level].size() % kFanOut == 0) {
        const auto last = levels_[level].end();
        Bucket merged = *(last - kFanOut);
        for (auto b = last - kFanOut; b != last; ++b) {
            merged.min = std::min(merged.min, b->min);
            merged.max = std::max(merged.max, b->max);
        }
        if (levels_.size() == level + 1)
            levels_.emplace_back();
        levels_[++level].push_back(merged);
    }
}

int MinMaxLevels::levelFor(size_t rows, size_t mostPieces) const {
    int level = -1;
    size_t span = 1;
    while (rows / span > mostPieces && level + 1 < static_cast<int>(levels_.size())) {
        ++level;
        span = rowsAt(static_cast<size_t>(level));
    }
    return level;
}

CountsRange MinMaxLevels::range(const Counts& counts, size_t from, size_t to) const {
    CountsRange r;
    walk(counts, from, to, static_cast<int>(levels_.size()), [&](const CountsPiece& piece) {
        r.min = r.rows == 0 ? piece.min : std::min(r.min, piece.min);
        r.max = r.rows == 0 ? piece.max : std::max(r.max, piece.max);
        r.rows += piece.rows;
        if (piece.rows == 1)
            r.sum += piece.min;
        else
            r.sum += sums_[(piece.first + piece.rows) / kFinest] - sums_[piece.first / kFinest];
    });
    return r;
}

size_t MinMaxLevels::bytes() const {
    size_t total = sums_.capacity() * sizeof(uint64_t);
    for (const auto& level : levels_) total += level.capacity() * sizeof(Bucket);
    return total;
}
