// Time: Delay, Timer and the clock they follow.
//
// The toolkit clock is real by default. Tests install a virtual clock, on which a wait
// costs no real time; serial time-outs follow the same clock. A wait keeps windows
// repainting and queues user input for after the callback, it dispatches none of it.
#pragma once

class ToolkitClock {
  public:
    virtual ~ToolkitClock() = default;
    virtual double now() = 0;                 // seconds
    virtual void waitUntil(double when) = 0;  // returns at `when` (or at once if it passed)
};

// nullptr restores the real clock.
void SetToolkitClock(ToolkitClock* clock);
ToolkitClock& CurrentClock();

int Delay(double seconds);
double Timer();
