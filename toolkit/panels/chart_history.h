// Everything a strip chart has been given, in bounded memory: the latest points at full
// resolution, and the whole history as time buckets of min, max and last value that
// merge pairwise (doubling their span) whenever there are too many. An eight-hour run at
// two hundred points a second fits in the same few megabytes as a minute of it.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

struct ChartPoint {
    double time = 0;  // toolkit clock seconds
    double value = 0;
    double second = 0;
    int count = 0;
    bool hasCount = false;
    bool hasSecond = false;
    bool gapBefore = false;  // no line joins it to the point before
};

// What one pixel column of the plot shows of a stretch of time.
struct ChartColumn {
    bool any = false;
    double first = 0, last = 0, min = 0, max = 0;
    bool breakBefore = false;  // a gap lies before it: no line joins it to the column before
};

class ChartHistory {
  public:
    explicit ChartHistory(size_t recentCapacity);

    void add(const ChartPoint& point);
    const std::deque<ChartPoint>& recent() const { return recent_; }
    bool empty() const { return total_ == 0; }
    unsigned long long total() const { return total_; }
    bool anySecond() const { return anySecond_; }
    double firstTime() const;
    double lastTime() const;

    // Splits [t0, t1] into `columns.size()` columns and fills each with the values (or the
    // second values) that fall into it, from the full-resolution points where they reach
    // back that far and from the buckets otherwise.
    void fillColumns(double t0, double t1, bool second, std::vector<ChartColumn>& columns) const;
    // The range of values (or second values) within [t0, t1]; false when there are none.
    bool valueRange(double t0, double t1, bool second, double& lo, double& hi) const;
    // The point nearest to time `t`: a full-resolution one, or the last of a bucket.
    bool nearest(double t, ChartPoint& point) const;

    size_t bucketCount() const { return buckets_.size(); }
    double bucketSpan() const { return span_; }

  private:
    struct Bucket {
        double start = 0;
        ChartColumn first, second;
        ChartPoint last;
    };
    void addToBucket(Bucket& bucket, const ChartPoint& point) const;
    void mergePairs();
    bool fromRecent(double t0) const;

    size_t recentCapacity_;
    std::deque<ChartPoint> recent_;
    std::vector<Bucket> buckets_;
    double span_;
    unsigned long long total_ = 0;
    bool anySecond_ = false;
};
