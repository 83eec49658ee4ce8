// The scheduled start panel (panel 10): the start bytes 18 to 22 in five controls, read
// and written with the scheduled-start flag.
#include "settings/start_panel.h"

#include "link/messages.h"
#include "link/panel_set.h"
#include "settings/date_exchange.h"
#include "toolkit/panels/userint.h"
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

}  // namespace

int getstartcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    clearMessages();
    int stored[kStartFieldCount];
    if (!readDateFields(kStartDisplayRead, kStartFields, stored))
        return 0;
    if (showBcdFields(currentPanel, kStartFields, stored) > 0)
        showMessages();
    return 0;
}

int configstartcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    // No read-back here, and a refusal goes below what the text box already holds.
    writeDateFields({kStartWriteRead, kStartFields, kScheduledStartFlag, Reread::None, false});
    return 0;
}
