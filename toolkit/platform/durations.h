// A length of time and a time of day in the words the window and the command line show.
#pragma once

#include <string>

// "42 s", "1 min 05 s", "2 h 05 min": whole seconds, the two largest units.
std::string DurationWords(double seconds);
// "14:05:12": this computer's local time of day at `wallTime` (seconds since 1970 UTC).
std::string LocalTimeOfDay(double wallTime);
