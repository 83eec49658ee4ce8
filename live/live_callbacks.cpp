#include "live/live_callbacks.h"

#include "feedback/panel_set.h"
#include "live/live_log.h"
#include "live/live_readout.h"
#include "live/stop_watch.h"
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
    endStreamWatch();
    resetReadoutState();
    resetLogState();
}
