// The late start's margin: how long before its present slot a frame must begin, from what recent
// frames really cost.
#pragma once

#include <algorithm>
#include <array>

namespace engine_detail {

// Keeps the cost (microseconds from the end of the wait to the drawing finished) of the last
// kHistory frames. The margin is their 99th percentile plus kSafetyUs, never more than a slot: a
// frame that once took long moves the start earlier at once, and the start creeps late again
// only when such frames have left the history. The present is not part of the cost: it begins at
// the slot, so its own time is never spent before it. The safety covers the costs above the
// percentile (one frame in a hundred) and the wait's own inaccuracy, which ends on the deadline
// within a few microseconds: every millisecond of it is a millisecond between key and picture.
class LateStartMargin {
  public:
    static constexpr int kHistory = 300;
    static constexpr double kSafetyUs = 500;
    static constexpr double kFirstUs = 5000;  // before any frame was measured

    void record(double cost_us) {
        costs_[size_t(next_)] = std::max(cost_us, 0.0);
        next_ = (next_ + 1) % kHistory;
        count_ = std::min(count_ + 1, kHistory);
    }
    double margin_us(double slot_us) const {
        if (count_ == 0) return std::min(kFirstUs, slot_us);
        std::array<double, kHistory> sorted = costs_;
        // The 99th percentile of n costs: the one with n / 100 costs above it.
        const int rank = count_ - 1 - count_ / 100;
        std::nth_element(sorted.begin(), sorted.begin() + rank, sorted.begin() + count_);
        return std::min(sorted[size_t(rank)] + kSafetyUs, slot_us);
    }
    void clear() { count_ = next_ = 0; }

  private:
    std::array<double, kHistory> costs_ = {};
    int count_ = 0, next_ = 0;
};

}  // namespace engine_detail
