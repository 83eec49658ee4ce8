// End to end: the instrument's line goes away during use and comes back. The simulator
// hangs up its end of the pseudo-terminal, as a cable pulled out does to an adapter.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "live/live_readout.h"
#include "live/reconnect_choice.h"
#include "tests/harness/operator.h"
#include "tests/harness/sim_process.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

const std::string kLostLine = "error code = " + std::to_string(kComDeviceLost);

class LostLine : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("QUORVEL_COM1", link_.c_str());
        QSettings().remove(kReconnectSettingKey);
        resetVaskInterfaceState();
        ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    }
    void TearDown() override {
        DiscardAllPanels();
        qunsetenv("QUORVEL_COM1");
    }

    // A simulator on the link; it hangs up `hangUpAfter` seconds after it started.
    std::unique_ptr<SimProcess> startSim(double hangUpAfter = -1) {
        QStringList arguments{"--link", QString::fromStdString(link_)};
        if (hangUpAfter >= 0)
            arguments << "--hang-up-after" << QString::number(hangUpAfter);
        auto sim = std::make_unique<SimProcess>(arguments);
        simStarted_.start();
        EXPECT_TRUE(sim->started());
        return sim;
    }
    // The port as a connect leaves it, without the wake-up's two seconds.
    static void openAsConnectDoes() {
        ASSERT_EQ(OpenComConfig(1, "COM1", 9600, 0, 8, 1, 512, 512), 0);
        ASSERT_EQ(SetComTime(1, 3.0), 0);
    }
    double secondsSinceSimStarted() const {
        return static_cast<double>(simStarted_.nsecsElapsed()) * 1e-9;
    }

    const std::string link_ =
        (std::filesystem::temp_directory_path() /
         ("quorvel-lost-" + std::to_string(QCoreApplication::applicationPid())))
            .string();
    QElapsedTimer simStarted_;
};

TEST_F(LostLine, AHangUpEndsALiveRunWithinASecondWithItsLine) {
    constexpr double kHangUpAfter = 2.0;
    auto sim = startSim(kHangUpAfter);
    openAsConnectDoes();
    press(currentPanel, MAIN_LIVE);
    const int livePanel = currentPanel;
    ASSERT_TRUE(setValue(livePanel, LIVE_RECONNECT, 0));
    press(livePanel, LIVE_START);  // returns once the run has ended by itself

    EXPECT_LT(secondsSinceSimStarted(), kHangUpAfter + 1.0);
    EXPECT_EQ(liveRunning, 0);
    EXPECT_GT(liveRecordsShown, 0u);
    EXPECT_EQ(TextBoxLines(messagePanel, MESSAGE_TEXT), std::vector<std::string>{kLostLine});
    EXPECT_TRUE(IsPanelVisible(messagePanel));
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_START));
}

TEST_F(LostLine, ARunWaitsForASimulatorThatComesBackBehindTheSameLinkAndGoesOn) {
    constexpr double kHangUpAfter = 2.0;
    auto sim = startSim(kHangUpAfter);
    openAsConnectDoes();
    press(currentPanel, MAIN_LIVE);
    const int livePanel = currentPanel;
    ToolkitClock& clock = CurrentClock();
    const double start = clock.now();
    unsigned long beforeGap = 0;
    clock.callAt(start + kHangUpAfter + 1.0, [&] {
        beforeGap = liveRecordsShown;
        sim = startSim();
    });
    clock.callAt(start + kHangUpAfter + 9.0, [&] { press(livePanel, LIVE_STOP); });
    press(livePanel, LIVE_START);

    const std::vector<std::string> lines = TextBoxLines(messagePanel, MESSAGE_TEXT);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("line lost at ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("; waiting for COM1 (" + link_ + ") to come back"), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find(std::to_string(beforeGap) + " records before it; the run goes on"),
              std::string::npos)
        << lines[1];
    EXPECT_GT(liveRecordsShown, beforeGap + 50);
}

TEST_F(LostLine, AHangUpBeforeAReadIsReportedAtOnceAndAReconnectWorks) {
    auto sim = startSim(0.5);
    openAsConnectDoes();
    press(currentPanel, MAIN_KX);
    while (secondsSinceSimStarted() < 0.7) Delay(0.05);

    QElapsedTimer read;
    read.start();
    press(currentPanel, KX_READ);
    // The exchange's own pauses before its first read take 0.7 s; nothing waits beyond.
    EXPECT_LT(static_cast<double>(read.nsecsElapsed()) * 1e-9, 1.0);
    EXPECT_EQ(TextBoxLines(messagePanel, MESSAGE_TEXT), std::vector<std::string>{kLostLine});
    EXPECT_TRUE(IsPanelVisible(messagePanel));
    EXPECT_FALSE(isDimmed(currentPanel));

    // A new simulator on the same link: Connect opens the port number's device again.
    sim = startSim();
    press(currentPanel, KX_MAIN);
    press(currentPanel, MAIN_CONNECT);
    EXPECT_EQ(TextBoxLines(connectedPanel, CONNECTED_TEXT).size(), 3u);
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
    press(currentPanel, MAIN_KX);
    press(currentPanel, KX_READ);
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
    EXPECT_FALSE(isDimmed(currentPanel));
}

TEST_F(LostLine, TheStatusBarSaysWhenTheLinkIsBackAndTheNextReadReconnects) {
    auto sim = startSim(0.5);
    openAsConnectDoes();
    press(currentPanel, MAIN_KX);
    while (secondsSinceSimStarted() < 0.7) Delay(0.05);
    press(currentPanel, KX_READ);
    ASSERT_EQ(TextBoxLines(messagePanel, MESSAGE_TEXT), std::vector<std::string>{kLostLine});
    Delay(0.5);
    const std::string away = ShellStatusField(StatusField::Instrument);
    EXPECT_NE(away.find("; waiting for COM1 (" + link_ + ") to come back"), std::string::npos)
        << away;

    sim = startSim();
    Delay(0.5);  // the watch looks from the event loop, which the wait keeps going
    const std::string back = ShellStatusField(StatusField::Instrument);
    EXPECT_NE(back.find("; COM1 (" + link_ + ") is back: the next action reconnects"),
              std::string::npos)
        << back;
    press(currentPanel, KX_READ);
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
    EXPECT_EQ(ShellStatusField(StatusField::Instrument), "Quorvel QV-0000012345");
    sim->stop();
    EXPECT_NE(sim->errorOutput().find("received: stir\n"), std::string::npos) << sim->errorOutput();
}

}  // namespace
