// clock and start: the instrument's real-time clock and its scheduled start, shown or set.
// A time given is checked against the calendar before anything is sent.
#pragma once

struct Invocation;

int runClock(const Invocation& invocation);
int runStart(const Invocation& invocation);
