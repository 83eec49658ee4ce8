// The live view's additions as the operator meets them: records that get back in step
// after a lost character, the CSV beside the log, logs that end with a line instead of
// failing silently or blocking, logging every run, and calibration readings taken from
// the instrument.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPointF>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "calibration/take_reading.h"
#include "tests/harness/time_zone.h"
#include "tests/live_scenario.h"
#include "toolkit/panels/strip_chart.h"
#include "toolkit/platform/files.h"

namespace {

class LiveView : public LiveScenario {
  protected:
    void SetUp() override {
        // File names carry the local date and time: the test's are in UTC.
        useUtcAsLocalTime();
        LiveScenario::SetUp();
    }
    void TearDown() override {
        SetFileSpaceLimit(-1);
        LiveScenario::TearDown();
    }
};

TEST_F(LiveView, OneLostCharacterCostsOneRecordAndTheRestStayInStep) {
    instrument.block()[24] = 100;
    instrument.setLevel(0.25);
    const std::string record = oneValueRecord();  // "1024\r"
    chooseLog(logPath("lost.log"));
    instrument.faults().dropCharacterOfRecord = 40;
    runFor(1.0);

    EXPECT_EQ(liveRecordsBroken, 1u);
    EXPECT_EQ(liveRecordsMissed, 0u);
    ASSERT_GT(liveRecordsShown, 150u);
    // Every record after the lost one is whole; the raw log keeps the lost one's characters
    // as they came, the chart nothing of it.
    EXPECT_EQ(fileBytes(logPath("lost.log")), repeated(record + "\r\n", 39) + record.substr(1) +
                                                  "\r\n" +
                                                  repeated(record + "\r\n", liveRecordsShown - 39));
    const auto plotted = points();
    ASSERT_EQ(plotted.size(), liveRecordsShown);
    EXPECT_TRUE(std::all_of(plotted.begin(), plotted.end(),
                            [&](double p) { return p == plotted.front(); }));
    EXPECT_EQ(ShellStatusField(StatusField::Records),
              std::to_string(liveRecordsShown) + " records, 1 out of step");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"records out of step, skipped in this run: 1"});
    EXPECT_EQ(wire(), "rgst");
}

TEST_F(LiveView, TheCsvBesideTheLogTimesEveryRecordOnTheInjectedClock) {
    instrument.block()[24] = 100;
    instrument.setLevel(0.25);
    chooseLog(logPath("run.log"));
    EXPECT_EQ(popups.fileRequests[0].proposedName, "QV-0000012345_2026-12-08_1405.log");
    runFor(0.5);

    const auto csv = lines(fileBytes(logPath("run.csv")));
    ASSERT_EQ(csv.size(), liveRecordsShown + 1);
    EXPECT_EQ(csv[0], "time_iso,elapsed_s,counts,level,stretch\r");
    // The clock reads 14:05:00 at the start; connecting and the start exchange take 2.741 s.
    EXPECT_EQ(csv[1], "2026-12-08T14:05:02.746Z,0.005,194,0.4737,1\r");
    EXPECT_EQ(csv[2], "2026-12-08T14:05:02.751Z,0.010,194,0.4737,1\r");
}

TEST_F(LiveView, TwoValueRecordsAddTheSecondCountAndValueToTheCsv) {
    instrument.block()[42] = kRs232Data | kSecondChannel;
    instrument.block()[24] = 100;
    instrument.setLevel(0.25);
    chooseLog(logPath("two.log"));
    runFor(0.3);

    const auto csv = lines(fileBytes(logPath("two.csv")));
    ASSERT_EQ(csv.size(), liveRecordsShown + 1);
    EXPECT_EQ(csv[0], "time_iso,elapsed_s,counts,level,counts2,value2,stretch\r");
    EXPECT_EQ(csv[1], "2026-12-08T14:05:02.752Z,0.011,194,0.4737,328,20.5000,1\r");
}

TEST_F(LiveView, AFullDiskEndsLoggingWithItsLineKeepsWhatWasWrittenAndTheRunGoesOn) {
    const std::string path = logPath("full.log");
    chooseLog(path);
    const std::string record = oneValueRecord();
    SetFileSpaceLimit(1000);
    runFor(1.0);

    // The CSV's longer lines fill the disk first; both files end there.
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"log file " + logPath("full.csv") +
                                       " not written (No space left on device): logging "
                                       "stopped, the run goes on"});
    EXPECT_EQ(logFileOpen, 0);
    EXPECT_EQ(csvFileOpen, 0);
    EXPECT_GT(liveRecordsShown, 150u);  // the run went on to the stop press
    EXPECT_EQ(wire(), "rgst");
    // What reached the disk is every record up to the failure, in order.
    const std::string kept = fileBytes(path) + fileBytes(logPath("full.csv"));
    EXPECT_EQ(kept.size(), 1000u);
    const std::string raw = fileBytes(path);
    EXPECT_EQ(raw, repeated(record + "\r\n", liveRecordsShown).substr(0, raw.size()));
}

TEST_F(LiveView, LoggingEveryRunOpensAFreshFileOfThePatternForEachRun) {
    SetCtrlVal(livePanel, LIVE_EVERY_RUN, 1);
    chooseLog(logPath("first.log"));
    runFor(0.3);
    runFor(0.3);
    runFor(0.3);

    EXPECT_EQ(popups.fileRequests.size(), 1u);  // asked once
    const std::string record = oneValueRecord() + "\r\n";
    for (const char* name : {"first.log", "QV-0000012345_2026-12-08_1405.log",
                             "QV-0000012345_2026-12-08_1405_2.log"}) {
        const std::string bytes = fileBytes(logPath(name));
        EXPECT_GT(bytes.size(), 10 * record.size()) << name;
        EXPECT_EQ(bytes, repeated(record, bytes.size() / record.size())) << name;
    }
    EXPECT_TRUE(std::filesystem::exists(logPath("QV-0000012345_2026-12-08_1405_2.csv")));
}

class TakeReading : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        instrument.setDrift(0);
        connect();
        openFromMain(MAIN_CALIBRATE);
        clearWire();
    }
    float field(int control) const {
        float value = -1;
        GetCtrlVal(currentPanel, control, &value);
        return value;
    }
};

TEST_F(TakeReading, AveragesTheRecordsOfTheLevelAndWritesNothing) {
    instrument.setLevel(0.1);
    press(CAL_TAKE_A);
    EXPECT_NEAR(field(CAL_READING_A), instrument.reportedCounts(), 1.0);
    instrument.setLevel(0.9);
    press(CAL_TAKE_B);
    EXPECT_NEAR(field(CAL_READING_B), instrument.reportedCounts(), 1.0);

    EXPECT_EQ(wire(), "rgstrgst");
    EXPECT_EQ(instrument.blocksWritten(), 0);
    EXPECT_TRUE(messageLines().empty());
    const auto shown = TextBoxLines(currentPanel, CAL_TAKING);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Reading B: ", 0), 0u) << shown[0];
}

TEST_F(TakeReading, ARefusedGoLeavesTheFieldAndSaysWhy) {
    instrument.faults().wrongLetterFor = 'g';
    press(CAL_TAKE_B);
    EXPECT_EQ(field(CAL_READING_B), 3700.0f);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"reading B not taken: 'g' was answered with <X>OK"});
    EXPECT_EQ(wire(), "rg");
}

}  // namespace

namespace {

// QUORVEL_LIVE_SHOTS=<dir> saves pictures of the live panel's chart: during a run, paused,
// zoomed, and with two values.
class LiveViewPictures : public LiveScenario {
  protected:
    // The frames' timers run on real time, which a virtual-clock run hardly spends: a
    // picture waits for them, so that every box shows the latest record.
    void save(const char* name) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const QString file = QDir(dir).filePath(QString::fromLatin1(name));
        EXPECT_TRUE(PanelWindow(livePanel)->grab().save(file)) << file.toStdString();
    }
    QString dir = qEnvironmentVariable("QUORVEL_LIVE_SHOTS");
};

TEST_F(LiveViewPictures, OfTheChartOnRequest) {
    if (dir.isEmpty())
        GTEST_SKIP() << "set QUORVEL_LIVE_SHOTS to a directory to save the pictures";
    QDir().mkpath(dir);
    StripChart* chart = StripChartWidget(livePanel, LIVE_CHART);
    ASSERT_NE(chart, nullptr);
    instrument.block()[24] = 20;  // the simulator's own 2.0 gauge
    instrument.setDrift(0.2);
    const double start = clock.now() + kStartExchange;
    auto crosshair = [&](double x, double y) {
        chart->showCrosshairAt(QPointF(chart->width() * x, chart->height() * y));
    };
    clock.schedule(start + 45, [&] {
        crosshair(0.6, 0.4);
        save("live-running.png");
    });
    clock.schedule(start + 46, [&] { chart->setPaused(true); });
    clock.schedule(start + 55, [&] {
        crosshair(0.3, 0.5);
        save("live-paused.png");
    });
    clock.schedule(start + 56, [&] {
        const double t = chart->history().lastTime();
        chart->zoomTo(t - 16, t - 10, 0.8, 1.5);
        crosshair(0.55, 0.45);
        save("live-zoomed.png");
    });
    runFor(57);

    StartStripChartRun(livePanel, LIVE_CHART);
    chart->setPaused(false);
    chart->resetZoom();
    instrument.block()[42] = kRs232Data | kSecondChannel;
    for (int i = 0; i < 40; ++i)  // a second value that warms and cools
        clock.schedule(clock.now() + kStartExchange + i,
                       [this, i] { instrument.setTemperature(20.0 + 1.5 * std::sin(i / 6.0)); });
    clock.schedule(clock.now() + kStartExchange + 40, [&] {
        crosshair(0.7, 0.3);
        save("live-two-values.png");
    });
    runFor(41);
}

}  // namespace
