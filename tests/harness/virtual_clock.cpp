// The virtual clock. Waits nest: an action may itself wait (a press whose callback
// pauses), which runs later actions early; the clock never goes backwards.
#include "tests/harness/virtual_clock.h"

#include <algorithm>
#include <limits>

#include "toolkit/platform/event_pump.h"

void VirtualClock::waitUntil(double when) {
    while (!actions_.empty() && actions_.begin()->first <= when) {
        auto first = actions_.begin();
        const double due = first->first;
        std::function<void()> action = std::move(first->second);
        actions_.erase(first);
        now_ = std::max(now_, due);
        action();
    }
    PumpWindowEvents();
    now_ = std::max(now_, when);
}

void VirtualClock::schedule(double when, std::function<void()> action) {
    actions_.emplace(when, std::move(action));
}

double VirtualClock::nextActionTime() const {
    return actions_.empty() ? std::numeric_limits<double>::infinity() : actions_.begin()->first;
}
