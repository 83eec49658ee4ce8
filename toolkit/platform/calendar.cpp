// What both families of systems share: std::tm to and from CalendarTime, mktime, the
// computer's clock seam and the calendar arithmetic (on QDate).
#include "toolkit/platform/calendar.h"

#include <QDate>
#include <cctype>
#include <cstdio>

#include "toolkit/platform/calendar_tm.h"

namespace {

std::function<CalendarTime()>& installedClock() {
    static std::function<CalendarTime()> clock;
    return clock;
}

// The value of the `count` digits at `at`, or -1 when they are not all digits.
int digitsAt(const std::string& text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

CalendarTime calendarOf(const std::tm& parts) {
    CalendarTime time;
    time.year = parts.tm_year + 1900;
    time.month = parts.tm_mon + 1;
    time.day = parts.tm_mday;
    time.hour = parts.tm_hour;
    time.minute = parts.tm_min;
    time.second = parts.tm_sec;
    time.dayOfWeek = parts.tm_wday;
    return time;
}

std::tm tmOf(const CalendarTime& time) {
    std::tm parts{};
    parts.tm_year = time.year - 1900;
    parts.tm_mon = time.month - 1;
    parts.tm_mday = time.day;
    parts.tm_hour = time.hour;
    parts.tm_min = time.minute;
    parts.tm_sec = time.second;
    parts.tm_isdst = -1;  // the system decides whether summer time was in force
    return parts;
}

CalendarTime LocalCalendarTime(double wallTime) {
    return calendarOf(localParts(static_cast<std::time_t>(wallTime)));
}

CalendarTime UtcCalendarTime(double wallTime) {
    return calendarOf(utcParts(static_cast<std::time_t>(wallTime)));
}

double WallTimeOfLocal(const CalendarTime& local) {
    std::tm parts = tmOf(local);
    return static_cast<double>(std::mktime(&parts));
}

CalendarTime ComputerLocalTime() {
    if (const auto& clock = installedClock())
        return clock();
    CalendarTime now = LocalCalendarTime(static_cast<double>(std::time(nullptr)));
    if (now.second > 59)
        now.second = 59;  // a leap second stays in its minute
    return now;
}

void SetComputerLocalTime(std::function<CalendarTime()> clock) {
    installedClock() = std::move(clock);
}

bool IsLeapYear(int year) {
    return QDate::isLeapYear(year);
}

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12)
        return 0;
    return QDate(year, month, 1).daysInMonth();
}

int DayOfWeek(int year, int month, int day) {
    return QDate(year, month, day).dayOfWeek() % 7;  // Qt counts Monday 1 to Sunday 7
}

const char* MonthName(int month) {
    static constexpr const char* kNames[] = {"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
    return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

CalendarTime AddHours(CalendarTime time, int hours) {
    QDate date(time.year, time.month, time.day);
    time.hour += hours;
    date = date.addDays(time.hour / 24);
    time.hour %= 24;
    time.year = date.year();
    time.month = date.month();
    time.day = date.day();
    time.dayOfWeek = date.dayOfWeek() % 7;
    return time;
}

long long MinutesSince2000(const CalendarTime& time) {
    const long long days = QDate(2000, 1, 1).daysTo(QDate(time.year, time.month, time.day));
    return (days * 24 + time.hour) * 60 + time.minute;
}

std::string FormatDateTime(const CalendarTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

std::string FormatDateMinute(const CalendarTime& time) {
    return FormatDateTime(time).substr(0, 16);
}

std::optional<CalendarTime> ParseDateTime(const std::string& text, bool withSeconds) {
    const std::string shape = withSeconds ? "dddd-dd-dd dd:dd:dd" : "dddd-dd-dd dd:dd";
    if (text.size() != shape.size())
        return std::nullopt;
    for (size_t i = 0; i < shape.size(); ++i)
        if (shape[i] != 'd' && text[i] != shape[i])
            return std::nullopt;
    CalendarTime time;
    time.year = digitsAt(text, 0, 4);
    time.month = digitsAt(text, 5, 2);
    time.day = digitsAt(text, 8, 2);
    time.hour = digitsAt(text, 11, 2);
    time.minute = digitsAt(text, 14, 2);
    time.second = withSeconds ? digitsAt(text, 17, 2) : 0;
    const bool fits = time.year >= 0 && time.month >= 1 && time.day >= 1 &&
                      time.day <= DaysInMonth(time.year, time.month) && time.hour >= 0 &&
                      time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
                      time.second >= 0 && time.second <= 59;
    if (!fits)
        return std::nullopt;
    time.dayOfWeek = DayOfWeek(time.year, time.month, time.day);
    return time;
}
