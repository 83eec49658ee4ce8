// A column of plain numbers, one per record, that grows by chunks: a day's records are a
// hundred megabytes that never move once written, so growing the column never holds an old
// and a new copy of it at once, and no record is an object of its own.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

template <typename T>
class RecordColumn {
  public:
    void push(T value) {
        if ((size_ & kMask) == 0)
            chunks_.emplace_back(new T[kChunk]);
        chunks_.back()[size_ & kMask] = value;
        ++size_;
    }
    T operator[](size_t i) const { return chunks_[i >> kShift][i & kMask]; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    size_t bytes() const { return chunks_.size() * kChunk * sizeof(T); }

  private:
    static constexpr size_t kShift = 16;
    static constexpr size_t kChunk = size_t{1} << kShift;
    static constexpr size_t kMask = kChunk - 1;
    std::vector<std::unique_ptr<T[]>> chunks_;
    size_t size_ = 0;
};
