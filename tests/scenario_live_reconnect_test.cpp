// A live run whose USB adapter is pulled out and comes back: the run waits with its log
// open, wakes and identifies the instrument when the adapter is listed again, and goes on
// in the same files; another instrument, Stop during the wait and the box turned off each
// end it without a byte more on the wire.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "live/reconnect_choice.h"
#include "tests/harness/operator.h"
#include "tests/live_scenario.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/strip_chart.h"
#include "toolkit/panels/testing.h"
#include "toolkit/platform/durations.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/serial_devices.h"

namespace {

const SerialDeviceInfo kAdapter{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10KX7QZ"};

class LiveReconnect : public LiveScenario {
  protected:
    void SetUp() override {
        SetSerialDeviceLister([this] { return devices; });
        ChooseDeviceForComPort(1, kAdapter.device);
        LiveScenario::SetUp();
    }
    void TearDown() override {
        LiveScenario::TearDown();
        ChooseDeviceForComPort(1, "");
        SetSerialDeviceLister({});
    }

    // The adapter goes `after` seconds from now; it is listed again `away` seconds later,
    // under another device name, with `peer` on its cable (the same instrument unless
    // given).
    void pullAdapter(double after, double away, LinePeer* returning = nullptr) {
        clock.schedule(clock.now() + after, [this] {
            backend.dropLine(1);
            devices.clear();
            lostWallTime = clock.wallTime();
            recordsBeforeGap = liveRecordsShown;
        });
        clock.schedule(clock.now() + after + away, [this, returning] {
            if (returning)
                backend.attach(1, returning);
            SerialDeviceInfo back = kAdapter;
            back.device = "/dev/ttyUSB1";
            devices = {back};
        });
    }
    std::string lostLine() const {
        return "line lost at " + LocalTimeOfDay(lostWallTime) + " after " +
               std::to_string(recordsBeforeGap) +
               " records; waiting for COM1 (FT232R USB UART) to come back";
    }

    std::vector<SerialDeviceInfo> devices{kAdapter};
    double lostWallTime = 0;
    unsigned long recordsBeforeGap = 0;
};

TEST_F(LiveReconnect, TheSameInstrumentGoesOnInTheSameLogAndCsvInAStretchOfItsOwn) {
    chooseLog(logPath("run.log"));
    pullAdapter(kStartExchange + 1.0, 6.0);
    std::string statusWhileAway;
    clock.schedule(clock.now() + kStartExchange + 4.55,
                   [&] { statusWhileAway = ShellStatusField(StatusField::Records); });
    pressAt(clock.now() + 20.0, LIVE_STOP);
    press(LIVE_START);

    EXPECT_EQ(statusWhileAway,
              "line lost at " + LocalTimeOfDay(lostWallTime) +
                  "; waiting for COM1 (FT232R USB UART) to come back (waited 3 s)");
    // Nothing while the adapter was away; then the wake-up, 'i', the block and 'g' as a
    // connect and a start send them, and at the end the stop pair.
    ASSERT_EQ(wire(), "rgstirgst");
    const std::vector<double> times = wireTimes();
    EXPECT_NEAR(times[3] - times[2], 0.1, 0.002);  // 's', 0.1 s, 't'
    EXPECT_NEAR(times[4] - times[3], 2.0, 0.002);  // 't', 2.0 s, 'i'

    ASSERT_GT(recordsBeforeGap, 50u);
    ASSERT_GT(liveRecordsShown, recordsBeforeGap + 50u);
    const std::vector<std::string> messages = messageLines();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], lostLine());
    EXPECT_EQ(messages[1].rfind("line back at ", 0), 0u);
    // Six seconds away, up to one more before the list is looked at, the return exchange.
    EXPECT_NE(messages[1].find(" after a gap of 9 s, " + std::to_string(recordsBeforeGap) +
                               " records before it; the run goes on"),
              std::string::npos)
        << messages[1];

    // Every record of both stretches, once, as it came; the CSV numbers the stretches.
    EXPECT_EQ(fileBytes(logPath("run.log")), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
    const auto csv = lines(fileBytes(logPath("run.csv")));
    ASSERT_EQ(csv.size(), liveRecordsShown + 1);
    EXPECT_EQ(csv[0], "time_iso,elapsed_s,counts,level,stretch\r");
    for (size_t i = 1; i < csv.size(); ++i) {
        const char* stretch = i <= recordsBeforeGap ? ",1\r" : ",2\r";
        ASSERT_EQ(csv[i].substr(csv[i].size() - 3), stretch) << "line " << i;
    }
    EXPECT_EQ(points().size(), liveRecordsShown);
    // The chart draws no line across the gap.
    const ChartHistory& history = StripChartWidget(livePanel, LIVE_CHART)->history();
    std::vector<ChartColumn> columns(200);
    history.fillColumns(history.firstTime(), history.lastTime(), false, columns);
    EXPECT_EQ(std::count_if(columns.begin(), columns.end(),
                            [](const ChartColumn& c) { return c.breakBefore; }),
              1);
}

TEST_F(LiveReconnect, AnotherInstrumentAtTheReturnEndsTheRunWithoutG) {
    sim::Instrument other(sim::Options{9600, 0, "QV-0000099999"});
    InstrumentPeer otherPeer(other);
    chooseLog(logPath("run.log"));
    pullAdapter(kStartExchange + 1.0, 2.0, &otherPeer);
    press(LIVE_START);  // returns once the run has ended by itself

    EXPECT_EQ(liveRunning, 0);
    EXPECT_EQ(wire(), "rg");
    EXPECT_EQ(other.receivedText(), "sti");
    EXPECT_EQ(messageLines(),
              (std::vector<std::string>{lostLine(),
                                        "another instrument answered on COM1: serial number "
                                        "QV-0000099999 instead of QV-0000012345; the run ends"}));
    EXPECT_EQ(logFileOpen, 0);
    EXPECT_EQ(fileBytes(logPath("run.log")), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_START));
}

TEST_F(LiveReconnect, SettingsChangedWhileAwayEndTheRunBeforeG) {
    pullAdapter(kStartExchange + 1.0, 2.0);
    clock.schedule(clock.now() + kStartExchange + 2.0,
                   [this] { instrument.block()[42] |= kSecondChannel; });
    press(LIVE_START);

    EXPECT_EQ(liveRunning, 0);
    EXPECT_EQ(wire(), "rgstir");
    EXPECT_EQ(messageLines().back(),
              "the instrument on COM1 now sends other records (two values, gauge 2.0) than the "
              "run's (one value, gauge 2.0); the run ends");
}

TEST_F(LiveReconnect, AnInstrumentAsleepAtTheReturnIsAskedAgainUntilItAnswers) {
    // Its power dipped while the adapter was away: it came back asleep.
    pullAdapter(kStartExchange + 1.0, 2.0);
    clock.schedule(clock.now() + kStartExchange + 2.0,
                   [this] { instrument.faults().asleep = true; });
    std::string statusWhileAsleep;
    clock.schedule(clock.now() + kStartExchange + 12.0, [&] {
        statusWhileAsleep = ShellStatusField(StatusField::Records);
        instrument.pressButton();
    });
    pressAt(clock.now() + kStartExchange + 30.0, LIVE_STOP);
    press(LIVE_START);

    EXPECT_EQ(statusWhileAsleep.rfind("line lost at " + LocalTimeOfDay(lostWallTime) +
                                          "; COM1 (FT232R USB UART) is back but the instrument "
                                          "does not answer: asleep? (waited ",
                                      0),
              0u)
        << statusWhileAsleep;
    // Two tries unanswered, five seconds apart and more, then the one that resumes.
    EXPECT_EQ(wire(), "rgstististirgst");
    EXPECT_EQ(messageLines().size(), 2u);
}

TEST_F(LiveReconnect, ALineLostAgainDuringTheReturnIsWaitedForAgain) {
    pullAdapter(kStartExchange + 1.0, 2.0);
    // Gone again as the return's block read begins, once its 'r' has reached the instrument.
    std::function<void()> dropAtTheRead = [&] {
        if (wire() == "rgstir")
            backend.dropLine(1);
        else
            clock.schedule(clock.now() + 0.001, dropAtTheRead);
    };
    clock.schedule(clock.now() + kStartExchange + 2.0, dropAtTheRead);
    pressAt(clock.now() + kStartExchange + 30.0, LIVE_STOP);
    press(LIVE_START);

    // The first return ends where the line went; the next look opens it again and the run
    // goes on.
    EXPECT_EQ(wire(), "rgstirstirgst");
    const std::vector<std::string> messages = messageLines();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].rfind("line back at ", 0), 0u) << messages[1];
    EXPECT_GT(liveRecordsShown, recordsBeforeGap + 50u);
}

TEST_F(LiveReconnect, StopWhileWaitingSendsNothingAndClosesTheLog) {
    chooseLog(logPath("run.log"));
    pullAdapter(kStartExchange + 1.0, 1000.0);
    pressAt(clock.now() + kStartExchange + 5.0, LIVE_STOP);
    press(LIVE_START);

    EXPECT_EQ(liveRunning, 0);
    EXPECT_EQ(wire(), "rg");
    EXPECT_EQ(logFileOpen, 0);
    EXPECT_EQ(messageLines(), std::vector<std::string>{lostLine()});
    EXPECT_EQ(fileBytes(logPath("run.log")), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_START));
}

TEST_F(LiveReconnect, TheBoxIsOnByDefaultRememberedAndReadByItsLabel) {
    int on = -1;
    GetCtrlVal(livePanel, LIVE_RECONNECT, &on);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(controlLabel(livePanel, LIVE_RECONNECT), "Reconnect by itself");

    ASSERT_TRUE(setValue(livePanel, LIVE_RECONNECT, 0));
    press(LIVE_MAIN);
    openFromMain(MAIN_LIVE);
    GetCtrlVal(currentPanel, LIVE_RECONNECT, &on);
    EXPECT_EQ(on, 0);
    EXPECT_FALSE(reconnectByItself());
}

// QUORVEL_LIVE_SHOTS=<dir> saves pictures of the window while a run waits for its line and
// after the line came back.
TEST_F(LiveReconnect, PicturesOnRequest) {
    const QString dir = qEnvironmentVariable("QUORVEL_LIVE_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set QUORVEL_LIVE_SHOTS to a directory to save the pictures";
    QDir().mkpath(dir);
    const auto save = [&](const char* name) {
        QElapsedTimer waited;  // the frames' timers run on real time
        waited.start();
        while (waited.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const QString file = QDir(dir).filePath(QString::fromLatin1(name));
        EXPECT_TRUE(PanelWindow(livePanel)->window()->grab().save(file)) << file.toStdString();
    };
    instrument.setDrift(0.2);
    chooseLog(logPath("run.log"));
    pullAdapter(kStartExchange + 30.0, 20.0);
    clock.schedule(clock.now() + kStartExchange + 42.55, [&] { save("live-waiting.png"); });
    clock.schedule(clock.now() + kStartExchange + 80.0, [&] { save("live-back.png"); });
    pressAt(clock.now() + kStartExchange + 81.0, LIVE_STOP);
    press(LIVE_START);
}

}  // namespace
