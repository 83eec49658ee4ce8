// The live panel's buttons and panel events, and how the rest of the tool ends a run.
//
// Stop, return, closing the panel and leaving it during a run all end the run the same
// way (endLiveRun); return also hides the write done panel.
#include "app/callback_table.h"
#include "app/panel_set.h"
#include "live/live_control.h"
#include "live/live_log.h"
#include "live/live_readout.h"
#include "toolkit/panels/userint.h"

int stopgcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        endLiveRun();
    return 0;
}

int returncallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    endLiveRun();
    HidePanel(donePanel);
    return 0;
}

int outputcallback(int, int, int, void*, int, int) {
    return 0;
}

int displaypanelcallback(int, int event, void*, int, int) {
    if (event == EVENT_CLOSE)
        endLiveRun();
    return 0;
}

void endLiveRunOnLeave() {
    if (liveRunning == 1)
        endLiveRun();
}

void resetLiveState() {
    resetReadoutState();
    resetLogState();
}

namespace {
const CallbackBinding kLiveCallbacks[] = {
    {"startgcallback", startgcallback, nullptr},
    {"stopgcallback", stopgcallback, nullptr},
    {"returncallback", returncallback, nullptr},
    {"datafilecallback", datafilecallback, nullptr},
    {"outputcallback", outputcallback, nullptr},
    {"displaypanelcallback", nullptr, displaypanelcallback},
};
}  // namespace

std::span<const CallbackBinding> liveCallbacks() {
    return kLiveCallbacks;
}
