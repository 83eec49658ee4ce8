#include "toolkit/panels/chart_history.h"

#include <algorithm>
#include <cmath>

namespace {

// Buckets start a fiftieth of a second wide; past this many, neighbours merge.
constexpr double kFirstBucketSpan = 0.02;
constexpr size_t kMaxBuckets = 4096;

// A column that begins with the first point after a gap breaks the trace before it; a gap
// that falls inside a column is too short to be seen at that width.
void take(ChartColumn& column, double v, bool gapBefore) {
    if (!column.any) {
        column = {true, v, v, v, v, gapBefore};
        return;
    }
    column.last = v;
    column.min = std::min(column.min, v);
    column.max = std::max(column.max, v);
}

void merge(ChartColumn& into, const ChartColumn& from) {
    if (!from.any)
        return;
    if (!into.any) {
        into = from;
        return;
    }
    into.last = from.last;
    into.min = std::min(into.min, from.min);
    into.max = std::max(into.max, from.max);
}

}  // namespace

// The buckets' room is taken whole at the start, so a run's memory does not creep up as
// they fill it.
ChartHistory::ChartHistory(size_t recentCapacity)
    : recentCapacity_(std::max<size_t>(2, recentCapacity)), span_(kFirstBucketSpan) {
    buckets_.resize(kMaxBuckets + 1);
    buckets_.clear();
}

void ChartHistory::add(const ChartPoint& point) {
    recent_.push_back(point);
    if (recent_.size() > recentCapacity_)
        recent_.pop_front();
    ++total_;
    anySecond_ = anySecond_ || point.hasSecond;
    if (buckets_.empty() || point.time >= buckets_.back().start + span_ ||
        point.time < buckets_.back().start) {
        Bucket bucket;
        bucket.start = buckets_.empty() || point.time < buckets_.back().start
                           ? point.time
                           : buckets_.back().start +
                                 span_ * std::floor((point.time - buckets_.back().start) / span_);
        buckets_.push_back(bucket);
        if (buckets_.size() > kMaxBuckets)
            mergePairs();
    }
    addToBucket(buckets_.back(), point);
}

void ChartHistory::addToBucket(Bucket& bucket, const ChartPoint& point) const {
    take(bucket.first, point.value, point.gapBefore);
    if (point.hasSecond)
        take(bucket.second, point.second, point.gapBefore);
    bucket.last = point;
}

// In place, so the room taken at the start is kept.
void ChartHistory::mergePairs() {
    size_t kept = 0;
    for (size_t i = 0; i < buckets_.size(); i += 2) {
        Bucket b = buckets_[i];
        if (i + 1 < buckets_.size()) {
            merge(b.first, buckets_[i + 1].first);
            merge(b.second, buckets_[i + 1].second);
            b.last = buckets_[i + 1].last;
        }
        buckets_[kept++] = b;
    }
    buckets_.resize(kept);
    span_ *= 2;
}

double ChartHistory::firstTime() const {
    return buckets_.empty() ? 0.0 : buckets_.front().start;
}

double ChartHistory::lastTime() const {
    return recent_.empty() ? 0.0 : recent_.back().time;
}

bool ChartHistory::fromRecent(double t0) const {
    return !recent_.empty() && (recent_.front().time <= t0 || total_ == recent_.size());
}

void ChartHistory::fillColumns(double t0, double t1, bool second,
                               std::vector<ChartColumn>& columns) const {
    std::fill(columns.begin(), columns.end(), ChartColumn{});
    const size_t n = columns.size();
    if (n == 0 || !(t1 > t0))
        return;
    const double perColumn = (t1 - t0) / static_cast<double>(n);
    auto columnOf = [&](double t) {
        return std::min(n - 1, static_cast<size_t>(std::max(0.0, (t - t0) / perColumn)));
    };
    if (fromRecent(t0)) {
        // Column by column, each taking the points before its end: a frame passes over
        // thousands of points, and this is all it does with each.
        auto it = std::lower_bound(recent_.begin(), recent_.end(), t0,
                                   [](const ChartPoint& p, double t) { return p.time < t; });
        for (size_t i = 0; i < n && it != recent_.end() && it->time <= t1; ++i) {
            const bool lastColumn = i + 1 == n;
            const double end = t0 + perColumn * static_cast<double>(i + 1);
            ChartColumn& column = columns[i];
            for (; it != recent_.end() && (it->time < end || (lastColumn && it->time <= t1));
                 ++it) {
                if (!second)
                    take(column, it->value, it->gapBefore);
                else if (it->hasSecond)
                    take(column, it->second, it->gapBefore);
            }
        }
        return;
    }
    for (const Bucket& b : buckets_) {
        if (b.start + span_ < t0 || b.start > t1)
            continue;
        merge(columns[columnOf(std::clamp(b.start, t0, t1))], second ? b.second : b.first);
    }
}

bool ChartHistory::valueRange(double t0, double t1, bool second, double& lo, double& hi) const {
    std::vector<ChartColumn> one(1);
    fillColumns(t0, t1, second, one);
    if (!one[0].any)
        return false;
    lo = one[0].min;
    hi = one[0].max;
    return true;
}

bool ChartHistory::nearest(double t, ChartPoint& point) const {
    if (empty())
        return false;
    if (fromRecent(t)) {
        auto it = std::lower_bound(recent_.begin(), recent_.end(), t,
                                   [](const ChartPoint& p, double v) { return p.time < v; });
        if (it == recent_.end())
            --it;
        else if (it != recent_.begin() && t - std::prev(it)->time < it->time - t)
            --it;
        point = *it;
        return true;
    }
    auto it = std::lower_bound(buckets_.begin(), buckets_.end(), t,
                               [this](const Bucket& b, double v) { return b.start + span_ < v; });
    if (it == buckets_.end())
        --it;
    point = it->last;
    return true;
}
