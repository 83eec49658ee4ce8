#include "feedback/panel_set.h"

#include <cstdio>
#include <string>

#include "toolkit/panels/userint.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

int currentPanel = -1;
int messagePanel = -1;
int connectedPanel = -1;
int donePanel = -1;

namespace {

LeavePanelHook leaveHook = nullptr;
int mainPanelInFront = -1;  // the handle of the main panel while it is currentPanel

// Each port number shows the device it reaches, e.g. "COM1 (/dev/ttyS0)", or
// "COM1 (/dev/ttyUSB0, absent)" while that device is not there. A port that reaches the
// system's COM port of its own name (Windows) says only whether it is absent.
void labelPortChoices(int mainPanel) {
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        const PortDevice reached = DeviceForComPort(port);
        char label[160];
        if (reached.device == "COM" + std::to_string(port))
            std::snprintf(label, sizeof label, reached.present ? "COM%d" : "COM%d (absent)", port);
        else
            std::snprintf(label, sizeof label,
                          reached.present ? "COM%d (%s)" : "COM%d (%s, absent)", port,
                          reached.device.c_str());
        SetRingItemLabel(mainPanel, MAIN_PORT, port - kFirstComPort, label);
    }
}

// A panel left for another is never shown again: it goes, with its widgets and its chart's
// history. The toolkit deletes its window once no callback of its own can be running, and
// drops whatever input for it is still queued.
void replaceCurrentPanel(int fresh) {
    const int left = currentPanel;
    currentPanel = fresh;
    const bool resident = left == messagePanel || left == connectedPanel || left == donePanel;
    if (left > 0 && left != fresh && !resident)
        DiscardPanel(left);
}

}  // namespace

void setLeavePanelHook(LeavePanelHook hook) {
    leaveHook = hook;
}

void leavingPanel() {
    if (leaveHook)
        leaveHook();
}

void relabelPortChoices() {
    if (mainPanelInFront >= 0 && mainPanelInFront == currentPanel)
        labelPortChoices(currentPanel);
}

int navigateTo(int panelId) {
    leavingPanel();
    HidePanel(currentPanel);
    replaceCurrentPanel(LoadPanel(0, kResourceFile, panelId));
    mainPanelInFront = -1;
    if (currentPanel < 0)
        return -1;
    if (panelId == PANEL_MAIN) {
        mainPanelInFront = currentPanel;
        labelPortChoices(currentPanel);
    }
    DisplayPanel(currentPanel);
    return 0;
}

int showFreshMainPanel() {
    replaceCurrentPanel(LoadPanel(0, kResourceFile, PANEL_MAIN));
    mainPanelInFront = -1;
    if (currentPanel < 0)
        return -1;
    mainPanelInFront = currentPanel;
    labelPortChoices(currentPanel);
    DisplayPanel(currentPanel);
    return 0;
}

void resetPanelSet() {
    currentPanel = messagePanel = connectedPanel = donePanel = -1;
    mainPanelInFront = -1;
}
