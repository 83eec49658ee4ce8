// The calendar module's own link to the C library's broken-down time, shared by its twins.
#pragma once

#include <ctime>

struct CalendarTime;

CalendarTime calendarOf(const std::tm& parts);
std::tm tmOf(const CalendarTime& time);
