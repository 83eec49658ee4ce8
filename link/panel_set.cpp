#include "link/panel_set.h"

#include <cstdio>
#include <string>

#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

int currentPanel = -1;
int messagePanel = -1;
int connectedPanel = -1;
int donePanel = -1;

namespace {

LeavePanelHook leaveHook = nullptr;

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

void setLeavePanelHook(LeavePanelHook hook) {
    leaveHook = hook;
}

void leavingPanel() {
    if (leaveHook)
        leaveHook();
}

int navigateTo(int panelId) {
    leavingPanel();
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

void resetPanelSet() {
    currentPanel = messagePanel = connectedPanel = donePanel = -1;
}
