// The real-time clock panel (panel 9): the instrument's clock bytes 11 to 17 in seven
// controls, read and written with the clock-set flag.
#include "settings/clock_panel.h"

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "history/visit_notes.h"
#include "settings/date_exchange.h"
#include "settings/panel_origin.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/calendar.h"
#include "ui/vaskinterface_ids.h"

namespace {

// In the order the controls are filled and read.
constexpr BcdField kClockFields[] = {
    {CLOCK_SECONDS, kClockSecondsByte, 0, "seconds"},
    {CLOCK_MINUTES, kClockMinutesByte, 0, "minutes"},
    {CLOCK_HOURS, kClockHoursByte, 0, "hours"},
    {CLOCK_DAY_OF_WEEK, kClockDayOfWeekByte, 1, "day of week"},
    {CLOCK_DAY_OF_MONTH, kClockDayOfMonthByte, 0, "day of month"},
    {CLOCK_MONTH, kClockMonthByte, 0, "month"},
    {CLOCK_YEAR, kClockYearByte, 2000, "year"},
};
constexpr int kClockFieldCount = sizeof kClockFields / sizeof kClockFields[0];
constexpr DateFieldIndex kClockDate{4, 5, 6, 2, 1};

}  // namespace

int getrtccallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    int stored[kClockFieldCount];
    if (!readDateFields(kClockDisplayRead, MessageBox::Cleared, kClockFields, stored))
        return 0;
    // A running record of the instrument's seconds; the panel stays where it is.
    addMessageLine("seconds = %d", stored[0]);
    noteClockRead(ioBuffer + kAckFrameLength);
    showDateFields(kClockFields, stored);
    return 0;
}

int configrtccallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    writeDateFields({kClockWriteRead, kClockFields, kClockDate, kClockSetFlag, Reread::Immediately,
                     true, false, "clock write"});
    return 0;
}

int computertimecallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        enterTimeInFields(kClockFields, ComputerLocalTime());  // day of week 1 = Sunday
    return 0;
}
