// The real-time toolkit clock: seconds since the first use, on a monotonic timer.
#pragma once

#include "toolkit/platform/utility.h"

// The clock the toolkit follows when no other is installed.
ToolkitClock& RealToolkitClock();
