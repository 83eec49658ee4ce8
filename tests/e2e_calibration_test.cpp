// A calibration in real time over a pseudo-terminal: quorvel-sim plays the instrument at a
// steady level, the tool runs with its real clock and serial layer, and the strip chart of
// the live panel shows the level before and after a two-point calibration.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "tests/harness/operator.h"
#include "tests/harness/popups.h"
#include "tests/harness/sim_process.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/clock.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr double kLevel = 0.9;             // of the gauge
constexpr double kGaugeLength = 2.0;       // as the instrument's block holds it
constexpr int kUncalibratedCounts = 3700;  // the simulated sensor at 0.9, gain 4096, zero 0
// Gain 4066 and zero 12 from the panel's reference points (0.1 and 0.9 of a 2.0 gauge,
// 400 and 3700 counts): round((3700 + 12) x 4066 / 4096).
constexpr int kCalibratedCounts = 3685;

double plotted(int counts) {
    return counts * kGaugeLength / 4095;
}

class CalibrationEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sim.started()) << "quorvel-sim did not start";
        sim.exportAs(1);
        SetToolkitClock(nullptr);
        SetSerialBackend(nullptr);
        SetPopupAnswerer(&popups);
        resetVaskInterfaceState();
        ASSERT_EQ(startVaskInterface(0, nullptr), 0);
        elapsed.start();
    }
    void TearDown() override {
        std::printf("calibration end to end: %.1f s\n", elapsed.elapsed() / 1000.0);
        DiscardAllPanels();
        SetPopupAnswerer(nullptr);
        SetSerialBackend(nullptr);
        qunsetenv("QUORVEL_COM1");
    }

    // Starts a live run on the live panel in front and stops it, as the operator would,
    // once the chart holds `points` points (or after three seconds). Returns the points.
    std::vector<double> liveRun(size_t points) {
        const int livePanel = currentPanel;
        QElapsedTimer waited;
        waited.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (StripChartPoints(livePanel, LIVE_CHART).size() >= points ||
                waited.elapsed() > 3000) {
                watch.stop();
                press(livePanel, LIVE_STOP);
            }
        });
        watch.start(20);
        press(livePanel, LIVE_START);
        return StripChartPoints(livePanel, LIVE_CHART);
    }

    SimProcess sim{{"--level", QString::number(kLevel), "--no-drift"}};
    RecordingPopups popups;
    QElapsedTimer elapsed;
};

TEST_F(CalibrationEndToEnd, CalibrationBringsTheChartToTheTrueLevel) {
    press(currentPanel, MAIN_CONNECT);
    ASSERT_TRUE(IsPanelVisible(connectedPanel)) << "the instrument did not identify itself";

    press(currentPanel, MAIN_LIVE);
    const std::vector<double> before = liveRun(10);
    ASSERT_GE(before.size(), 10u);
    for (double point : before) EXPECT_NEAR(point, plotted(kUncalibratedCounts), 1e-4);

    press(currentPanel, LIVE_MAIN);
    press(currentPanel, MAIN_CALIBRATE);
    ASSERT_EQ(PanelResourceId(currentPanel), PANEL_CALIBRATION);
    ASSERT_FALSE(IsPanelVisible(messagePanel)) << "the identify failed";
    // The panel opens with the reference points the simulated sensor gives at 0.1 and 0.9.
    press(currentPanel, CAL_CALIBRATE);
    ASSERT_TRUE(IsPanelVisible(donePanel));
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());

    press(currentPanel, CAL_LIVE);
    const std::vector<double> after = liveRun(10);
    ASSERT_GE(after.size(), 10u);
    for (double point : after) EXPECT_NEAR(point, plotted(kCalibratedCounts), 1e-4);
    EXPECT_NEAR(after.back(), kLevel * kGaugeLength, 1.0 * kGaugeLength / 4095);
}

}  // namespace
