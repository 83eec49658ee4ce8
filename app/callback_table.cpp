// One line per callback: the name the resource file gives, the function it runs, and for
// the callbacks that talk to the instrument, what the status bar says while they run. The
// callbacks never see this table; LoadPanel binds a panel's names through it.
#include "app/callback_table.h"

#include "app/navigation.h"
#include "calibration/calibrate_panel.h"
#include "calibration/default_calibration.h"
#include "calibration/take_reading.h"
#include "feedback/connect_panel.h"
#include "feedback/line_lost_watch.h"
#include "live/live_callbacks.h"
#include "live/live_log.h"
#include "live/live_readout.h"
#include "live/reconnect_choice.h"
#include "recordings/recording_actions.h"
#include "settings/clock_panel.h"
#include "settings/kx_settings.h"
#include "settings/overview_panel.h"
#include "settings/panel_origin.h"
#include "settings/qv_settings.h"
#include "settings/start_panel.h"

namespace {

// An action that begins with its own exchange: after a lost line whose adapter is back, the
// port is reopened and the same instrument identified first (feedback/line_lost_watch.h).
// Steps inside a calibration go on from the one before and are left as they are.
template <CtrlCallbackPtr action>
int onLine(int panel, int control, int event, void* data, int eventData1, int eventData2) {
    if (event == EVENT_COMMIT && !reconnectBeforeAction())
        return 0;
    return action(panel, control, event, data, eventData1, eventData2);
}

// clang-format off
const CallbackBinding kCallbacks[] = {
    // Moving between panels, help and quit.
    {"configkxcallback",       configkxcallback,       nullptr},
    {"configqvcallback",       configqvcallback,       nullptr},
    {"displaycallback",        displaycallback,        nullptr},
    {"setrtccallback",         setrtccallback,         nullptr},
    {"setstartcallback",       setstartcallback,       nullptr},
    {"returntocalcallback",    returntocalcallback,    nullptr},
    {"returntoconfigcallback", returntoconfigcallback, nullptr},
    {"returntomaincallback",   returntomaincallback,   nullptr},
    {"quitcallback",           quitcallback,           nullptr, "Quitting…"},
    {"portcallback",           portcallback,           nullptr},
    {"portscallback",          portscallback,          nullptr},
    // Connecting.
    {"connectcallback",        connectcallback,        nullptr, "Waking the instrument…"},
    // The settings panels.
    {"getconfigkxcallback",    onLine<getconfigkxcallback>,    nullptr, "Reading settings from the instrument…"},
    {"setconfigkxcallback",    onLine<setconfigkxcallback>,    nullptr, "Writing settings…"},
    {"getconfigqvcallback",    onLine<getconfigqvcallback>,    nullptr, "Reading settings from the instrument…"},
    {"setconfigqvcallback",    onLine<setconfigqvcallback>,    nullptr, "Writing settings…"},
    {"getrtccallback",         onLine<getrtccallback>,         nullptr, "Reading the clock…"},
    {"configrtccallback",      onLine<configrtccallback>,      nullptr, "Setting the clock…"},
    {"getstartcallback",       onLine<getstartcallback>,       nullptr, "Reading the scheduled start…"},
    {"configstartcallback",    onLine<configstartcallback>,    nullptr, "Writing the scheduled start…"},
    {"readinstrumentcallback", onLine<readinstrumentcallback>, nullptr, "Reading settings from the instrument…"},
    {"computertimecallback",   computertimecallback,   nullptr},
    {"nowplushourcallback",    nowplushourcallback,    nullptr},
    {"datefieldcallback",      datefieldcallback,      nullptr},
    // Live data.
    {"startgcallback",         onLine<startgcallback>,         nullptr, "Live run: reading records…"},
    {"stopgcallback",          stopgcallback,          nullptr},
    {"returncallback",         returncallback,         nullptr},
    {"datafilecallback",       datafilecallback,       nullptr},
    {"outputcallback",         outputcallback,         nullptr},
    {"displaypanelcallback",   nullptr,                displaypanelcallback},
    {"openrecordingcallback",  openrecordingcallback,  nullptr},
    {"reconnectchoicecallback", reconnectchoicecallback, nullptr},
    // Calibration.
    {"calibratecallback",      onLine<calibratecallback>,      nullptr, "Waking the instrument…"},
    {"calibrate2callback",     calibrate2callback,     nullptr, "Calibrating…"},
    {"setdefaultcallback",     onLine<setdefaultcallback>,     nullptr, "Writing the default calibration…"},
    {"takereadingacallback",   takereadingacallback,   nullptr, "Taking reading A…"},
    {"takereadingbcallback",   takereadingbcallback,   nullptr, "Taking reading B…"},
};
// clang-format on

}  // namespace

std::span<const CallbackBinding> callbackTable() {
    return kCallbacks;
}
