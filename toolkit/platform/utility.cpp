// Delay and Timer, and the choice of clock they (and serial time-outs) follow.
#include "toolkit/platform/utility.h"

#include "toolkit/platform/real_clock.h"

namespace {
ToolkitClock* installedClock = nullptr;
}

void SetToolkitClock(ToolkitClock* clock) {
    installedClock = clock;
}

ToolkitClock& CurrentClock() {
    return installedClock ? *installedClock : RealToolkitClock();
}

int Delay(double seconds) {
    ToolkitClock& clock = CurrentClock();
    if (seconds > 0)
        clock.waitUntil(clock.now() + seconds);
    return 0;
}

double Timer() {
    return CurrentClock().now();
}
