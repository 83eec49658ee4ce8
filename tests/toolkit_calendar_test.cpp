// Calendar times of a wall time, in UTC and in the local time zone, and back again.
#include <gtest/gtest.h>

#include "tests/harness/time_zone.h"
#include "toolkit/platform/calendar.h"

namespace {

bool sameMoment(const CalendarTime& a, const CalendarTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second && a.dayOfWeek == b.dayOfWeek;
}

TEST(Calendar, UtcAndLocalTimesOfAWallTimeAndBack) {
    constexpr double kTuesday = 1796738730.75;  // 2026-12-08 14:05:30.75 UTC
    const CalendarTime utc = UtcCalendarTime(kTuesday);
    EXPECT_TRUE(sameMoment(utc, CalendarTime{2026, 12, 8, 14, 5, 30, 2}));
    // A leap day's last second, and the whole seconds of a local time taken back.
    EXPECT_TRUE(sameMoment(UtcCalendarTime(1835481599), CalendarTime{2028, 2, 29, 23, 59, 59, 2}));
    EXPECT_EQ(WallTimeOfLocal(LocalCalendarTime(kTuesday)), 1796738730.0);

    useUtcAsLocalTime();
    EXPECT_TRUE(sameMoment(LocalCalendarTime(kTuesday), utc));
    EXPECT_EQ(WallTimeOfLocal(CalendarTime{2028, 2, 29, 23, 59, 59, 0}), 1835481599.0);
}

TEST(Calendar, DateAndTimeTextsOfDaysThatExistOnly) {
    const auto leapDay = ParseDateTime("2028-02-29 23:59:59", true);
    ASSERT_TRUE(leapDay.has_value());
    EXPECT_TRUE(sameMoment(*leapDay, CalendarTime{2028, 2, 29, 23, 59, 59, 2}));
    EXPECT_TRUE(sameMoment(*ParseDateTime("2026-12-08 14:05", false),
                           CalendarTime{2026, 12, 8, 14, 5, 0, 2}));
    for (const char* text : {"2027-02-29 10:00:00", "2026-13-01 10:00:00", "2026-04-31 10:00:00",
                             "2026-12-08 24:00:00", "2026-12-08 12:60:00", "2026-12-08 12:00:60",
                             "2026-12-8 12:00:00", "2026-12-08T12:00:00", "2026-12-08 12:00"})
        EXPECT_FALSE(ParseDateTime(text, true).has_value()) << text;
}

}  // namespace
