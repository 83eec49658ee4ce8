#include "app/main_window_setup.h"

#include <QGuiApplication>

#include "app/about_page.h"
#include "feedback/link_status.h"
#include "recordings/recordings_page.h"
#include "settings/history_page.h"
#include "settings/overview_panel.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr int kNoPanel = 0;

// Each entry runs the callback the panels' own buttons run to get there.
// clang-format off
constexpr NavigationEntry kPlaces[] = {
    {"&Main panel",       "returntomaincallback", PANEL_MAIN},
    {"&kx settings",      "configkxcallback",     PANEL_KX},
    {"q&v settings",      "configqvcallback",     PANEL_QV},
    {"Real-time &clock",  "setrtccallback",       PANEL_CLOCK},
    {"&Scheduled start",  "setstartcallback",     PANEL_START},
    {"&Live data",        "displaycallback",      PANEL_LIVE},
    {"C&alibration",      "calibratecallback",    PANEL_CALIBRATION},
    {"P&orts…",           "portscallback",        kNoPanel},  // a dialog, never marked
};
// clang-format on

}  // namespace

int setUpMainWindow() {
    // Desktops match the window to its entry, installed as <software-centre id>.desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    const int status = CreateMainWindow("Quorvel", "quorvel");
    if (status < 0)
        return status;
    SetPanelPlace(PANEL_MESSAGE, PanelPlace::MessagePane, MESSAGE_TEXT);
    SetPanelPlace(PANEL_CONNECTED, PanelPlace::Band);
    SetPanelPlace(PANEL_DONE, PanelPlace::Band);
    SetPageCompanion(PANEL_MAIN, createOverviewPanel);
    SetNavigationEntries(kPlaces, "&Quit", "quitcallback");
    AddShellPage("&History", createHistoryPage(nullptr));
    AddShellPage("&Recordings", createRecordingsPage(nullptr));
    AddShellPage("A&bout", createAboutPage());
    FitPagesOf(kResourceFile);
    showNotConnectedInStatus();
    return 0;
}
