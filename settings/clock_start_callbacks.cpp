// The callbacks of the clock and scheduled-start panels, bound by their resource names.
#include "app/callback_table.h"
#include "settings/clock_panel.h"
#include "settings/start_panel.h"

namespace {
const CallbackBinding kClockStartCallbacks[] = {
    {"getrtccallback", getrtccallback, nullptr},
    {"configrtccallback", configrtccallback, nullptr},
    {"getstartcallback", getstartcallback, nullptr},
    {"configstartcallback", configstartcallback, nullptr},
};
}  // namespace

std::span<const CallbackBinding> clockStartCallbacks() {
    return kClockStartCallbacks;
}
