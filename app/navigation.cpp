#include "app/navigation.h"

#include <string>

#include "feedback/panel_set.h"
#include "link/link_state.h"
#include "live/reconnect_choice.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "toolkit/ports/ports_dialog.h"
#include "toolkit/serial/system_explanations.h"
#include "ui/vaskinterface_ids.h"

#define NAVIGATION_CALLBACK(name, panelId)                      \
    int name(int, int, int event, void*, int, int) {            \
        return event == EVENT_COMMIT ? navigateTo(panelId) : 0; \
    }

NAVIGATION_CALLBACK(configkxcallback, PANEL_KX)
NAVIGATION_CALLBACK(configqvcallback, PANEL_QV)

// The live panel opens with the resource file's values, but for the choice the operator
// made on it before.
int displaycallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    const int result = navigateTo(PANEL_LIVE);
    if (result == 0)
        showReconnectChoice(currentPanel);
    return result;
}
NAVIGATION_CALLBACK(setrtccallback, PANEL_CLOCK)
NAVIGATION_CALLBACK(setstartcallback, PANEL_START)
NAVIGATION_CALLBACK(returntocalcallback, PANEL_CALIBRATION)
NAVIGATION_CALLBACK(returntoconfigcallback, PANEL_QV)

int returntomaincallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    leavingPanel();
    HidePanel(currentPanel);
    HidePanel(donePanel);
    HidePanel(messagePanel);
    HidePanel(connectedPanel);
    return showFreshMainPanel();
}

int quitcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    // Quitting from the navigation bar or the close box during a live run ends it first,
    // as Stop does; otherwise this does nothing.
    leavingPanel();
    sendQuitBytes();
    Delay(kQuitPause);
    QuitUserInterface(0);
    return 0;
}

int portcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_RIGHT_CLICK) {
        const std::string help =
            std::string(
                "click on the port number that is connected to the Quorvel\n\n"
                "Each port shows the device it reaches. To give a port its device (a "
                "USB serial adapter, for example), press Ports… on the main panel or in "
                "the navigation bar; the choice is remembered. An environment variable "
                "QUORVEL_COM1 to QUORVEL_COM4, when set, wins.") +
            kFindingPortsHint;
        MessagePopup("Help for SERIAL PORT", help.c_str());
    }
    return 0;
}

int portscallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    leavingPanel();
    RunPortsDialog();
    relabelPortChoices();
    return 0;
}
