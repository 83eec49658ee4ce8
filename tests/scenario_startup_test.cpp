// Start-up, navigation, help and quit, as the operator meets them.
#include <QByteArray>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/system_explanations.h"
#include "ui/vaskinterface_ids.h"

namespace {

std::vector<int> loadedResourceIds() {
    std::vector<int> ids;
    for (int handle : LoadedPanels()) ids.push_back(PanelResourceId(handle));
    return ids;
}

class StartUp : public ToolFixture {};

TEST_F(StartUp, LoadsResidentPanelsThenShowsTheMainPanel) {
    EXPECT_EQ(loadedResourceIds(),
              (std::vector<int>{PANEL_DONE, PANEL_MESSAGE, PANEL_CONNECTED, PANEL_MAIN}));
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_MAIN);
    EXPECT_TRUE(visible(currentPanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_FALSE(visible(messagePanel));
    EXPECT_FALSE(visible(connectedPanel));
}

TEST_F(StartUp, PortSelectorNamesTheDeviceEachPortReaches) {
    int port = 0;
    ASSERT_EQ(GetCtrlVal(currentPanel, MAIN_PORT, &port), 0);
    EXPECT_EQ(port, 1);
}

TEST_F(StartUp, FailsWithMinusOneWhenAResidentPanelCannotBeLoaded) {
    // A resource file without the connection result panel: loading stops at panel 8.
    const auto dir = std::filesystem::temp_directory_path() / "quorvel-startup-test";
    std::filesystem::create_directories(dir);
    const auto path = dir / "VASKInterface.uir";
    {
        std::ofstream out(path);
        out << R"({"format": "quorvel-panels/1", "panels": [
          {"id": 11, "title": "Write done", "controls": []},
          {"id": 6, "title": "Messages", "controls": [
            {"id": 2, "kind": "textbox", "label": "Messages", "row": 0, "col": 0}]},
          {"id": 7, "title": "Quorvel", "controls": []}]})";
    }
    DiscardAllPanels();
    resetVaskInterfaceState();
    qputenv("QUORVEL_UIR", QByteArray::fromStdString(path.string()));
    const int result = startVaskInterface(0, nullptr);
    qunsetenv("QUORVEL_UIR");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(loadedResourceIds(), (std::vector<int>{PANEL_DONE, PANEL_MESSAGE}));
    for (int handle : LoadedPanels()) EXPECT_FALSE(IsPanelVisible(handle));
}

class Navigation : public ToolFixture {};

TEST_F(Navigation, EachButtonReplacesThePanelInFront) {
    const struct {
        int fromButton;
        int panel;
    } steps[] = {{MAIN_KX, PANEL_KX},      {KX_MAIN, PANEL_MAIN},
                 {MAIN_QV, PANEL_QV},      {QV_CLOCK, PANEL_CLOCK},
                 {CLOCK_QV, PANEL_QV},     {QV_START, PANEL_START},
                 {START_QV, PANEL_QV},     {QV_MAIN, PANEL_MAIN},
                 {MAIN_LIVE, PANEL_LIVE},  {LIVE_CALIBRATION, PANEL_CALIBRATION},
                 {CAL_MAIN, PANEL_MAIN},   {MAIN_CLOCK, PANEL_CLOCK},
                 {CLOCK_MAIN, PANEL_MAIN}, {MAIN_START, PANEL_START},
                 {START_MAIN, PANEL_MAIN}};
    for (const auto& step : steps) {
        const int before = currentPanel;
        press(step.fromButton);
        ASSERT_EQ(PanelResourceId(currentPanel), step.panel) << "after button " << step.fromButton;
        EXPECT_NE(currentPanel, before);
        EXPECT_TRUE(visible(currentPanel));
        EXPECT_FALSE(visible(before));
    }
}

TEST_F(Navigation, ReturningToMainHidesTheResidentPanelsAndShowsDefaults) {
    ::setValue(currentPanel, MAIN_PORT, 3);
    DisplayPanel(messagePanel);
    DisplayPanel(connectedPanel);
    DisplayPanel(donePanel);
    press(MAIN_KX);
    press(KX_MAIN);
    EXPECT_FALSE(visible(messagePanel));
    EXPECT_FALSE(visible(connectedPanel));
    EXPECT_FALSE(visible(donePanel));
    int port = 0;
    GetCtrlVal(currentPanel, MAIN_PORT, &port);
    EXPECT_EQ(port, 1);
}

TEST_F(Navigation, ReopenedSettingsPanelShowsTheResourceDefaults) {
    press(MAIN_KX);
    ASSERT_EQ(SetCtrlVal(currentPanel, KX_BYTE7, 77), 0);
    press(KX_MAIN);
    press(MAIN_KX);
    int value = -1;
    GetCtrlVal(currentPanel, KX_BYTE7, &value);
    EXPECT_EQ(value, 0);
}

TEST_F(Navigation, RightClickOnThePortSelectorShowsHelpAndChangesNothing) {
    ::rightClick(currentPanel, MAIN_PORT);
    ASSERT_EQ(popups.messages.size(), 1u);
    EXPECT_EQ(popups.messages[0].title, "Help for SERIAL PORT");
    // Windows adds where Device Manager shows an adapter's COM port number.
    EXPECT_EQ(popups.messages[0].text,
              std::string("click on the port number that is connected to the Quorvel\n\n"
                          "Each port shows the device it reaches. To give a port its device (a "
                          "USB serial adapter, for example), press Ports… on the main panel or "
                          "in the navigation bar; the choice is remembered. An environment "
                          "variable QUORVEL_COM1 to QUORVEL_COM4, when set, wins.") +
                  kFindingPortsHint);
    EXPECT_EQ(wire(), "");
    EXPECT_TRUE(backend.opens().empty());
}

class Quit : public ToolFixture {};

TEST_F(Quit, BeforeAnyConnectEndsNormallyAfterAPause) {
    const double start = clock.now();
    press(MAIN_QUIT);
    EXPECT_DOUBLE_EQ(clock.now() - start, 0.1);
    EXPECT_EQ(wire(), "");
}

TEST_F(Quit, AfterAConnectSendsTheQuitBytes) {
    connect();
    clearWire();
    press(MAIN_QUIT);
    EXPECT_EQ(wire(), "g\r\n");
}

TEST_F(Quit, MainWindowCloseBoxQuitsAsTheQuitButtonDoes) {
    connect();
    clearWire();
    ::closeWindow(currentPanel);
    EXPECT_EQ(wire(), "g\r\n");
}

}  // namespace
