// A toolkit clock that costs no real time: waiting jumps straight to the end of the wait,
// running on the way, in time order, every action scheduled up to then.
#pragma once

#include <functional>
#include <map>
#include <utility>

#include "toolkit/platform/clock.h"

class VirtualClock : public ToolkitClock {
  public:
    double now() override { return now_; }
    // Calendar time that starts at `wallStart` (default 2026-12-08 14:05:00 UTC) and moves
    // with now().
    double wallTime() override { return wallStart + now_; }
    double wallStart = 1796738700.0;
    // Runs every action due at or before `when` (the clock reads each action's time while
    // it runs; actions may schedule more), repaints windows, and ends at `when`.
    void waitUntil(double when) override;

    // Runs `action` once the clock reaches `when`; actions at the same time run in the
    // order they were scheduled.
    void schedule(double when, std::function<void()> action);
    void callAt(double when, std::function<void()> action) override {
        schedule(when, std::move(action));
    }
    void advance(double seconds) { waitUntil(now_ + seconds); }

    // The time of the earliest scheduled action, or +infinity when none is left.
    double nextActionTime() const;
    size_t scheduledActions() const { return actions_.size(); }

  private:
    double now_ = 0;
    std::multimap<double, std::function<void()>> actions_;
};
