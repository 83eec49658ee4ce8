// The least and greatest counts of a recording at several resolutions: buckets of 64
// records, buckets of 8 of those, and so on up, filled as the records are read. Any run of
// records is covered by a few buckets of each size and single records at its two ends, so
// a view of a whole day draws from a few thousand pieces that still hold every peak, and
// the least, greatest and mean counts of any run come at once (the running sums beside the
// finest buckets give the mean).
//
// Only whole buckets are kept; the records after the last whole one are taken one by one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "recording/record_column.h"

using Counts = RecordColumn<uint16_t>;

struct CountsPiece {
    size_t first = 0;  // the piece's first record
    size_t rows = 0;
    uint16_t min = 0, max = 0;
};

struct CountsRange {
    size_t rows = 0;
    uint16_t min = 0, max = 0;
    uint64_t sum = 0;
};

class MinMaxLevels {
  public:
    static constexpr size_t kFinest = 64;
    static constexpr size_t kFanOut = 8;

    // The next record's counts, in the order of the column beside it.
    void add(uint16_t counts);

    // The coarsest level (or -1 for single records) whose pieces cover `rows` records with
    // at most `mostPieces` of them.
    int levelFor(size_t rows, size_t mostPieces) const;
    // Visits [from, to) in order as pieces no coarser than `coarsest`, each the largest that
    // lies whole inside it.
    template <typename Visit>
    void walk(const Counts& counts, size_t from, size_t to, int coarsest, Visit&& visit) const;
    CountsRange range(const Counts& counts, size_t from, size_t to) const;
    size_t bytes() const;

  private:
    struct Bucket {
        uint16_t min, max;
    };
    static size_t rowsAt(size_t level);
    void close(size_t level);

    std::vector<std::vector<Bucket>> levels_;
    std::vector<uint64_t> sums_{0};  // sums_[b]: the counts of every record before bucket b
    Bucket open_{0, 0};
    size_t openRows_ = 0;
    uint64_t total_ = 0;
};

template <typename Visit>
void MinMaxLevels::walk(const Counts& counts, size_t from, size_t to, int coarsest,
                        Visit&& visit) const {
    const int top = std::min(coarsest, static_cast<int>(levels_.size()) - 1);
    size_t i = from;
    while (i < to) {
        int level = top;
        for (; level >= 0; --level) {
            const size_t span = rowsAt(static_cast<size_t>(level));
            if (i % span == 0 && i + span <= to &&
                i / span < levels_[static_cast<size_t>(level)].size())
                break;
        }
        if (level < 0) {
            const uint16_t c = counts[i];
            visit(CountsPiece{i, 1, c, c});
            ++i;
            continue;
        }
        const size_t span = rowsAt(static_cast<size_t>(level));
        const Bucket& b = levels_[static_cast<size_t>(level)][i / span];
        visit(CountsPiece{i, span, b.min, b.max});
        i += span;
    }
}
