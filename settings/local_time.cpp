#include "settings/local_time.h"

#include <cstdio>
#include <ctime>

#include "toolkit/platform/calendar.h"

namespace {

std::function<LocalTime()>& installedClock() {
    static std::function<LocalTime()> clock;
    return clock;
}

LocalTime systemLocalTime() {
    const CalendarTime now = LocalCalendarTime(static_cast<double>(std::time(nullptr)));
    LocalTime time;
    time.year = now.year;
    time.month = now.month;
    time.day = now.day;
    time.hour = now.hour;
    time.minute = now.minute;
    time.second = now.second > 59 ? 59 : now.second;  // a leap second stays in its minute
    time.dayOfWeek = now.dayOfWeek;
    return time;
}

// Days from 2000-01-01 to the date (Gregorian, years from 2000 on).
long long daysSince2000(int year, int month, int day) {
    long long days = 0;
    for (int y = 2000; y < year; ++y) days += isLeapYear(y) ? 366 : 365;
    for (int m = 1; m < month; ++m) days += daysInMonth(year, m);
    return days + day - 1;
}

}  // namespace

LocalTime computerTime() {
    const auto& clock = installedClock();
    return clock ? clock() : systemLocalTime();
}

void setComputerClock(std::function<LocalTime()> clock) {
    installedClock() = std::move(clock);
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

int dayOfWeek(int year, int month, int day) {
    return static_cast<int>((daysSince2000(year, month, day) + 6) % 7);
}

const char* monthName(int month) {
    static constexpr const char* kNames[] = {"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
    return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

LocalTime addHours(LocalTime time, int hours) {
    time.hour += hours;
    while (time.hour >= 24) {
        time.hour -= 24;
        if (++time.day > daysInMonth(time.year, time.month)) {
            time.day = 1;
            if (++time.month > 12) {
                time.month = 1;
                ++time.year;
            }
        }
    }
    time.dayOfWeek = dayOfWeek(time.year, time.month, time.day);
    return time;
}

long long minutesSince2000(const LocalTime& time) {
    return (daysSince2000(time.year, time.month, time.day) * 24 + time.hour) * 60 + time.minute;
}

std::string formatDateTime(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

std::string formatDateMinute(const LocalTime& time) {
    return formatDateTime(time).substr(0, 16);
}
