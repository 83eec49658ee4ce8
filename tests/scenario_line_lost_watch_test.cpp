// Outside a live run, an exchange that meets a lost line: the status bar follows the adapter
// away and back without a byte on the wire, and the next action reopens the port, wakes and
// identifies the instrument as Connect does, then runs its own exchange; another instrument
// stops it before its exchange.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "feedback/panel_set.h"
#include "live/live_readout.h"
#include "tests/harness/operator.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/testing.h"
#include "toolkit/platform/durations.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/serial_devices.h"
#include "ui/vaskinterface_ids.h"

namespace {

const SerialDeviceInfo kAdapter{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10KX7QZ"};
const std::string kLostLine = "error code = " + std::to_string(kComDeviceLost);

class LineLostWatch : public ToolFixture {
  protected:
    void SetUp() override {
        SetSerialDeviceLister([this] { return devices; });
        ChooseDeviceForComPort(1, kAdapter.device);
        ToolFixture::SetUp();
        connect();
        openFromMain(MAIN_KX);
        clearWire();
    }
    void TearDown() override {
        ToolFixture::TearDown();
        ChooseDeviceForComPort(1, "");
        SetSerialDeviceLister({});
    }
    // The adapter is pulled out and a read meets the lost line.
    void loseLineOnRead() {
        backend.dropLine(1);
        devices.clear();
        lostWallTime = clock.wallTime();
        press(KX_READ);
        ASSERT_EQ(messageLines(), std::vector<std::string>{kLostLine});
    }
    // Listed again under another device name, as a USB adapter put back may be.
    void adapterBack() {
        SerialDeviceInfo back = kAdapter;
        back.device = "/dev/ttyUSB1";
        devices = {back};
        clock.advance(0.3);
    }
    std::string instrumentField() const { return ShellStatusField(StatusField::Instrument); }
    std::string lostAt() const { return "line lost at " + LocalTimeOfDay(lostWallTime) + "; "; }

    std::vector<SerialDeviceInfo> devices{kAdapter};
    double lostWallTime = 0;
};

TEST_F(LineLostWatch, TheReadAfterTheAdapterIsBackWakesAndIdentifiesFirst) {
    press(KX_READ);
    ASSERT_EQ(wire(), "r");  // the read as it stands, with no line lost
    clearWire();

    loseLineOnRead();
    EXPECT_EQ(instrumentField(), lostAt() + "waiting for COM1 (FT232R USB UART) to come back");
    clock.advance(5.0);
    const size_t opensWhileAway = backend.opens().size();
    adapterBack();
    EXPECT_EQ(instrumentField(),
              lostAt() + "COM1 (FT232R USB UART) is back: the next action reconnects");
    // Watching lists the devices and nothing more.
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(backend.opens().size(), opensWhileAway);

    press(KX_READ);
    // The port opened anew, the wake-up and 'i' as Connect sends them, then the read's 'r'.
    ASSERT_EQ(wire(), "stir");
    const std::vector<double> times = wireTimes();
    EXPECT_NEAR(times[1] - times[0], 0.1, 0.002);
    EXPECT_NEAR(times[2] - times[1], 2.0, 0.002);
    EXPECT_EQ(backend.opens().size(), opensWhileAway + 1);
    EXPECT_TRUE(messageLines().empty());
    EXPECT_EQ(instrumentField(), "Quorvel QV-0000012345");

    // The watch is over: the next read is the plain one again.
    clearWire();
    press(KX_READ);
    EXPECT_EQ(wire(), "r");
}

TEST_F(LineLostWatch, WhileTheAdapterIsAwayAnActionMeetsTheLostLineAsBefore) {
    loseLineOnRead();
    const size_t opens = backend.opens().size();
    press(KX_READ);
    EXPECT_EQ(messageLines(), std::vector<std::string>{kLostLine});
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(backend.opens().size(), opens);
}

TEST_F(LineLostWatch, AnotherInstrumentAtTheReturnIsNamedAndTheActionNotDone) {
    loseLineOnRead();
    sim::Instrument other(sim::Options{9600, 0, "QV-0000099999"});
    InstrumentPeer otherPeer(other);
    backend.attach(1, &otherPeer);
    adapterBack();

    press(KX_READ);
    EXPECT_EQ(other.receivedText(), "sti");
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"another instrument answered on COM1: serial number "
                                       "QV-0000099999 instead of QV-0000012345; nothing was done "
                                       "(Connect to use it)"});
    EXPECT_EQ(instrumentField(),
              lostAt() + "COM1 (FT232R USB UART) is back: the next action reconnects");

    // Connect takes whichever instrument answers, as always, and ends the watch.
    other.clearReceived();
    press(KX_MAIN);
    connect();
    EXPECT_EQ(other.receivedText(), "sti");
    EXPECT_EQ(instrumentField(), "Quorvel QV-0000099999");
    other.clearReceived();
    openFromMain(MAIN_KX);
    press(KX_READ);
    EXPECT_EQ(other.receivedText(), "r");
}

TEST_F(LineLostWatch, AnInstrumentThatDoesNotAnswerLeavesTheActionUndoneAndTheWatchOn) {
    loseLineOnRead();
    instrument.faults().asleep = true;
    adapterBack();
    press(KX_READ);
    EXPECT_EQ(wire(), "sti");
    EXPECT_EQ(messageLines().at(1), "Connection failed, please try ");
    EXPECT_EQ(instrumentField(),
              lostAt() + "COM1 (FT232R USB UART) is back: the next action reconnects");

    instrument.pressButton();
    clearWire();
    press(KX_READ);
    EXPECT_EQ(wire(), "stir");
    EXPECT_TRUE(messageLines().empty());
}

TEST_F(LineLostWatch, ARunEndedByItsLostLineStartsAgainOnTheReturnedAdapter) {
    press(KX_MAIN);
    openFromMain(MAIN_LIVE);
    ASSERT_TRUE(setValue(currentPanel, LIVE_RECONNECT, 0));
    clock.schedule(clock.now() + 3.0, [this] {
        backend.dropLine(1);
        devices.clear();
        lostWallTime = clock.wallTime();
    });
    press(LIVE_START);  // returns once the run has ended by itself
    ASSERT_EQ(messageLines(), std::vector<std::string>{kLostLine});
    EXPECT_EQ(instrumentField(), lostAt() + "waiting for COM1 (FT232R USB UART) to come back");

    adapterBack();
    clearWire();
    pressAt(clock.now() + 10.0, LIVE_STOP);
    press(LIVE_START);
    // The wake-up and 'i', then the start's own block read and 'g', and the stop pair.
    EXPECT_EQ(wire(), "stirgst");
    EXPECT_GT(liveRecordsShown, 100u);
    EXPECT_EQ(instrumentField(), "Quorvel QV-0000012345");
}

// QUORVEL_LINE_SHOTS=<dir> saves a picture of the window once the adapter is back.
TEST_F(LineLostWatch, PictureOnRequest) {
    const QString dir = qEnvironmentVariable("QUORVEL_LINE_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set QUORVEL_LINE_SHOTS to a directory to save the picture";
    QDir().mkpath(dir);
    loseLineOnRead();
    adapterBack();
    QElapsedTimer waited;  // the frames' timers run on real time
    waited.start();
    while (waited.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const QString file = QDir(dir).filePath(QStringLiteral("line-back.png"));
    EXPECT_TRUE(PanelWindow(currentPanel)->window()->grab().save(file)) << file.toStdString();
}

}  // namespace
