// The scheduled start panel (panel 10): the start bytes 18 to 22 in five controls, read
// and written with the scheduled-start flag.
#include "settings/start_panel.h"

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "settings/date_exchange.h"
#include "settings/panel_origin.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/calendar.h"
#include "ui/vaskinterface_ids.h"

namespace {

// In the order the controls are filled and read.
constexpr BcdField kStartFields[] = {
    {START_MINUTE, kStartMinuteByte, 0, "start minute"},
    {START_HOUR, kStartHourByte, 0, "start hour"},
    {START_DAY, kStartDayByte, 0, "start day"},
    {START_MONTH, kStartMonthByte, 0, "start month"},
    {START_YEAR, kStartYearByte, 2000, "start year"},
};
constexpr int kStartFieldCount = sizeof kStartFields / sizeof kStartFields[0];
constexpr DateFieldIndex kStartDate{2, 3, 4, 1, 0};

bool noStartStored(const int* stored) {
    for (int i = 0; i < kStartFieldCount; ++i)
        if (stored[i] != 0)
            return false;
    return true;
}

}  // namespace

int getstartcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    int stored[kStartFieldCount];
    if (!readDateFields(kStartDisplayRead, MessageBox::Kept, kStartFields, stored))
        return 0;
    // All zeros is an instrument with no start set, not a start in the year 2000.
    if (noStartStored(stored)) {
        addMessageLine("no scheduled start stored");
        showMessages();
        return 0;
    }
    showDateFields(kStartFields, stored);
    return 0;
}

int configstartcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    // No read-back here, and a refusal goes below what the text box already holds.
    writeDateFields({kStartWriteRead, kStartFields, kStartDate, kScheduledStartFlag, Reread::None,
                     false, true, "start write"});
    return 0;
}

int nowplushourcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        enterTimeInFields(kStartFields, AddHours(ComputerLocalTime(), 1));
    return 0;
}
