// Moving between panels, the port help and quitting.
#include <cstdio>

#include "app/callback_table.h"
#include "app/panel_set.h"
#include "link/link_state.h"
#include "live/live_control.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

int currentPanel = -1;
int messagePanel = -1;
int connectedPanel = -1;
int donePanel = -1;

namespace {

// Each port number shows the device it reaches, e.g. "COM1 (/dev/ttyS0)".
void labelPortChoices(int mainPanel) {
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        char name[8];
        std::snprintf(name, sizeof name, "COM%d", port);
        const std::string label = std::string(name) + " (" + DeviceForComName(name) + ")";
        SetRingItemLabel(mainPanel, MAIN_PORT, port - kFirstComPort, label.c_str());
    }
}

}  // namespace

int navigateTo(int panelId) {
    endLiveRunOnLeave();
    HidePanel(currentPanel);
    currentPanel = LoadPanel(0, kResourceFile, panelId);
    if (currentPanel < 0)
        return -1;
    if (panelId == PANEL_MAIN)
        labelPortChoices(currentPanel);
    DisplayPanel(currentPanel);
    return 0;
}

int showFreshMainPanel() {
    currentPanel = LoadPanel(0, kResourceFile, PANEL_MAIN);
    if (currentPanel < 0)
        return -1;
    labelPortChoices(currentPanel);
    DisplayPanel(currentPanel);
    return 0;
}

#define NAVIGATION_CALLBACK(name, panelId)                      \
    int name(int, int, int event, void*, int, int) {            \
        return event == EVENT_COMMIT ? navigateTo(panelId) : 0; \
    }

NAVIGATION_CALLBACK(configkxcallback, PANEL_KX)
NAVIGATION_CALLBACK(configqvcallback, PANEL_QV)
NAVIGATION_CALLBACK(displaycallback, PANEL_LIVE)
NAVIGATION_CALLBACK(setrtccallback, PANEL_CLOCK)
NAVIGATION_CALLBACK(setstartcallback, PANEL_START)
NAVIGATION_CALLBACK(returntocalcallback, PANEL_CALIBRATION)
NAVIGATION_CALLBACK(returntoconfigcallback, PANEL_QV)

int returntomaincallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    endLiveRunOnLeave();
    HidePanel(currentPanel);
    HidePanel(donePanel);
    HidePanel(messagePanel);
    HidePanel(connectedPanel);
    return showFreshMainPanel();
}

int quitcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    sendQuitBytes();
    Delay(0.1);
    QuitUserInterface(0);
    return 0;
}

int portcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_RIGHT_CLICK) {
        MessagePopup("Help for SERIAL PORT",
                     "click on the port number that is connected to the Quorvel");
    }
    return 0;
}

namespace {
const CallbackBinding kNavigationCallbacks[] = {
    {"configkxcallback", configkxcallback, nullptr},
    {"configqvcallback", configqvcallback, nullptr},
    {"displaycallback", displaycallback, nullptr},
    {"setrtccallback", setrtccallback, nullptr},
    {"setstartcallback", setstartcallback, nullptr},
    {"returntocalcallback", returntocalcallback, nullptr},
    {"returntoconfigcallback", returntoconfigcallback, nullptr},
    {"returntomaincallback", returntomaincallback, nullptr},
    {"quitcallback", quitcallback, nullptr},
    {"portcallback", portcallback, nullptr},
};
}  // namespace

std::span<const CallbackBinding> navigationCallbacks() {
    return kNavigationCallbacks;
}
