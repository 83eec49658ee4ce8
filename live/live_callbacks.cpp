#include "app/callback_table.h"
#include "live/live_control.h"

std::span<const CallbackBinding> liveCallbacks() {
    return {};
}

void endLiveRunOnLeave() {}
void resetLiveState() {}
