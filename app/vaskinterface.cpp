// Start-up: the main window, the resident panels 11, 6 and 8, then the main panel, then
// the event loop.
#include "app/vaskinterface.h"

#include "app/callback_table.h"
#include "app/command_line.h"
#include "app/main_window_setup.h"
#include "feedback/line_lost_watch.h"
#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/link_state.h"
#include "live/live_callbacks.h"
#include "settings/panel_origin.h"
#include "toolkit/panels/chart_image.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/serial_devices.h"
#include "ui/vaskinterface_ids.h"

namespace {

// What came of saving the live chart as an image joins the run's messages.
void showChartImageLine(const char* line) {
    addMessageText(line);
    showMessages();
}

}  // namespace

int startVaskInterface(int argc, char* argv[]) {
    if (InitToolkit(argc, argv) < 0)
        return -1;
    BindCallbacks(callbackTable());
    // Leaving the live panel ends a run there, whichever way the operator leaves.
    setLeavePanelHook(endLiveRunOnLeave);
    SetChartImageReporter(showChartImageLine);
    if (setUpMainWindow() < 0)
        return -1;
    // The port choices follow devices that come and go while the main panel is in front.
    static const int devicesListener = AddSerialDeviceListener(relabelPortChoices);
    (void)devicesListener;
    WatchSerialDevices();

    donePanel = LoadPanel(0, kResourceFile, PANEL_DONE);
    if (donePanel < 0)
        return -1;
    messagePanel = LoadPanel(0, kResourceFile, PANEL_MESSAGE);
    if (messagePanel < 0)
        return -1;
    connectedPanel = LoadPanel(0, kResourceFile, PANEL_CONNECTED);
    if (connectedPanel < 0)
        return -1;
    return showFreshMainPanel();
}

int vaskinterfaceMain(int argc, char* argv[]) {
    if (const auto answered = answerInformationRequest(argc, argv))
        return *answered;
    if (startVaskInterface(argc, argv) < 0)
        return -1;
    RunUserInterface();
    return 0;
}

void resetVaskInterfaceState() {
    resetPanelSet();
    endLineLostWatch();
    resetLinkState();
    resetLiveState();
    resetPanelOrigins();
}
