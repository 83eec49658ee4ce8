// Delay and Timer on the toolkit clock.
#include "toolkit/platform/utility.h"

#include "toolkit/platform/clock.h"

int Delay(double seconds) {
    ToolkitClock& clock = CurrentClock();
    if (seconds > 0)
        clock.waitUntil(clock.now() + seconds);
    return 0;
}

double Timer() {
    return CurrentClock().now();
}
