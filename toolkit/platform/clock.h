// The clock Delay, Timer, serial time-outs and later calls follow: real by default,
// replaceable.
//
// Tests install a virtual clock, on which a wait costs no real time. A wait on the real
// clock keeps windows repainting and queues user input for after the callback; it
// dispatches none of it.
#pragma once

#include <functional>

class ToolkitClock {
  public:
    virtual ~ToolkitClock() = default;
    virtual double now() = 0;                 // seconds
    virtual void waitUntil(double when) = 0;  // returns at `when` (or at once if it passed)
    // Runs `action` once, on this thread, when the clock has reached `when`: on the real
    // clock from the event loop (or a wait that pumps windows), never without one.
    virtual void callAt(double when, std::function<void()> action) = 0;
    // Calendar time: seconds since 1970-01-01 00:00 UTC, as time stamps and file names use
    // it. The real clock reads the system's; a test clock gives one that follows now().
    virtual double wallTime();
};

// nullptr restores the real clock.
void SetToolkitClock(ToolkitClock* clock);
// The clock installed, or the real one: seconds since its first use, on a monotonic timer.
ToolkitClock& CurrentClock();
