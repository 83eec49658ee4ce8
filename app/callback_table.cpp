// One line per callback: the name the resource file gives and the function it runs. The
// callbacks never see this table; LoadPanel binds a panel's names through it.
#include "app/callback_table.h"

#include "app/navigation.h"
#include "calibration/calibrate_panel.h"
#include "calibration/default_calibration.h"
#include "link/connection.h"
#include "live/live_callbacks.h"
#include "live/live_log.h"
#include "live/live_readout.h"
#include "settings/clock_panel.h"
#include "settings/kx_settings.h"
#include "settings/qv_settings.h"
#include "settings/start_panel.h"

namespace {

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
    {"quitcallback",           quitcallback,           nullptr},
    {"portcallback",           portcallback,           nullptr},
    // Connecting.
    {"connectcallback",        connectcallback,        nullptr},
    // The settings panels.
    {"getconfigkxcallback",    getconfigkxcallback,    nullptr},
    {"setconfigkxcallback",    setconfigkxcallback,    nullptr},
    {"getconfigqvcallback",    getconfigqvcallback,    nullptr},
    {"setconfigqvcallback",    setconfigqvcallback,    nullptr},
    {"getrtccallback",         getrtccallback,         nullptr},
    {"configrtccallback",      configrtccallback,      nullptr},
    {"getstartcallback",       getstartcallback,       nullptr},
    {"configstartcallback",    configstartcallback,    nullptr},
    // Live data.
    {"startgcallback",         startgcallback,         nullptr},
    {"stopgcallback",          stopgcallback,          nullptr},
    {"returncallback",         returncallback,         nullptr},
    {"datafilecallback",       datafilecallback,       nullptr},
    {"outputcallback",         outputcallback,         nullptr},
    {"displaypanelcallback",   nullptr,                displaypanelcallback},
    // Calibration.
    {"calibratecallback",      calibratecallback,      nullptr},
    {"calibrate2callback",     calibrate2callback,     nullptr},
    {"setdefaultcallback",     setdefaultcallback,     nullptr},
};
// clang-format on

}  // namespace

std::span<const CallbackBinding> callbackTable() {
    return kCallbacks;
}
