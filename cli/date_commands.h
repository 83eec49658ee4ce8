// clock and start: the instrument's real-time clock and its scheduled start, shown or set.
// A time given is checked against the calendar before anything is sent.
#pragma once

#include <optional>
#include <string>

struct CalendarTime;
struct Invocation;

// "YYYY-MM-DD HH:MM:SS" (with seconds) or "YYYY-MM-DD HH:MM" (without) as a calendar time
// with its day of the week; nothing when the text is not one, or the date does not exist.
std::optional<CalendarTime> parseCalendarTime(const std::string& text, bool withSeconds);

int runClock(const Invocation& invocation);
int runStart(const Invocation& invocation);
