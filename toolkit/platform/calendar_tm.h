// The calendar module's own link to the C library's broken-down time: the conversions of
// a time to local and UTC parts differ between families of systems and come from the
// _posix and _windows twins.
#pragma once

#include <ctime>

struct CalendarTime;

CalendarTime calendarOf(const std::tm& parts);
std::tm tmOf(const CalendarTime& time);
std::tm localParts(std::time_t seconds);
std::tm utcParts(std::time_t seconds);
