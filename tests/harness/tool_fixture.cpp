#include "tests/harness/tool_fixture.h"

#include <QSettings>
#include <fstream>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "history/history.h"
#include "live/reconnect_choice.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/clock.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"
#include "ui/vaskinterface_ids.h"

void ToolFixture::SetUp() {
    SetToolkitClock(&clock);
    SetSerialBackend(&backend);
    peer = std::make_unique<InstrumentPeer>(instrument);
    backend.attach(1, peer.get());
    SetPopupAnswerer(&popups);
    SetComputerLocalTime([this] { return computerNow; });
    historyDir = historyDirs_.path().toStdString();
    setHistoryFolder(historyDir);
    resetVaskInterfaceState();
    QSettings().remove(kReconnectSettingKey);  // each test starts with the tool's default
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);
}

void ToolFixture::TearDown() {
    DiscardAllPanels();
    SetPopupAnswerer(nullptr);
    SetComputerLocalTime(nullptr);
    setHistoryFolder({});
    SetSerialBackend(nullptr);
    SetToolkitClock(nullptr);
}

void ToolFixture::press(int control) {
    ::press(currentPanel, control);
}

void ToolFixture::pressAt(double when, int control) {
    clock.schedule(when, [control] { ::press(currentPanel, control); });
}

void ToolFixture::connect(int port) {
    ::setValue(currentPanel, MAIN_PORT, port);
    press(MAIN_CONNECT);
}

void ToolFixture::openFromMain(int mainButton) {
    press(mainButton);
}

std::vector<std::string> ToolFixture::messageLines() const {
    return TextBoxLines(messagePanel, MESSAGE_TEXT);
}

std::vector<std::string> ToolFixture::connectedLines() const {
    return TextBoxLines(connectedPanel, CONNECTED_TEXT);
}

bool ToolFixture::visible(int panel) const {
    return IsPanelVisible(panel);
}

std::vector<double> ToolFixture::wireTimes() const {
    std::vector<double> times;
    for (const auto& b : instrument.received()) times.push_back(b.time);
    return times;
}

std::vector<std::string> ToolFixture::historyLines() const {
    std::vector<std::string> lines;
    std::ifstream file(currentHistoryFilePath());
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}
