// End to end through a Windows COM port: the tool's own serial line, real clock and real
// windows (offscreen) against an instrument on COM1. scripts/windows/e2e.sh puts
// quorvel-sim there under Wine; QUORVEL_E2E_SERIAL names the serial number it answers with
// (14 characters, as the connected panel shows it).
#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "live/live_log.h"
#include "live/live_readout.h"
#include "tests/harness/operator.h"
#include "tests/harness/popups.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"
#include "ui/vaskinterface_ids.h"

namespace {

int valueOf(int control) {
    int value = -1;
    GetCtrlVal(currentPanel, control, &value);
    return value;
}

class ComPortEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        qunsetenv("QUORVEL_COM1");  // COM1 is the system's own COM port
        SetToolkitClock(nullptr);
        SetSerialBackend(nullptr);
        SetPopupAnswerer(&popups);
        resetVaskInterfaceState();
        ASSERT_EQ(startVaskInterface(0, nullptr), 0);
        press(currentPanel, MAIN_CONNECT);
        ASSERT_EQ(TextBoxLines(connectedPanel, CONNECTED_TEXT).size(), 3u)
            << "no instrument answered on COM1";
    }
    void TearDown() override {
        DiscardAllPanels();
        SetPopupAnswerer(nullptr);
    }

    RecordingPopups popups;  // answers Yes: writing a panel's defaults asks first
};

TEST_F(ComPortEndToEnd, ConnectIdentifiesTheInstrumentOnCom1) {
    const std::string serial = qEnvironmentVariable("QUORVEL_E2E_SERIAL").toStdString();
    EXPECT_EQ(TextBoxLines(connectedPanel, CONNECTED_TEXT),
              (std::vector<std::string>{"You have successfully connected",
                                        "To Quorvel Serial Number", serial}));
    EXPECT_TRUE(IsPanelVisible(connectedPanel));
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
}

TEST_F(ComPortEndToEnd, KxWrittenIsReadBack) {
    press(currentPanel, MAIN_KX);
    press(currentPanel, KX_READ);
    ASSERT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
    const int next = valueOf(KX_BYTE7) == 123 ? 77 : 123;
    ASSERT_TRUE(setValue(currentPanel, KX_BYTE7, next));
    press(currentPanel, KX_SET);
    EXPECT_TRUE(IsPanelVisible(donePanel));
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());

    press(currentPanel, KX_MAIN);
    press(currentPanel, MAIN_KX);
    press(currentPanel, KX_READ);
    EXPECT_EQ(valueOf(KX_BYTE7), next);
}

TEST_F(ComPortEndToEnd, ClockSetIsReadBack) {
    press(currentPanel, MAIN_CLOCK);
    ASSERT_TRUE(setValue(currentPanel, CLOCK_YEAR, 2031));
    ASSERT_TRUE(setValue(currentPanel, CLOCK_DAY_OF_MONTH, 15));
    ASSERT_TRUE(setValue(currentPanel, CLOCK_MONTH, 6));
    press(currentPanel, CLOCK_SET);
    EXPECT_TRUE(IsPanelVisible(donePanel));
    press(currentPanel, CLOCK_MAIN);
    press(currentPanel, MAIN_CLOCK);
    press(currentPanel, CLOCK_READ);
    EXPECT_EQ(valueOf(CLOCK_YEAR), 2031);
    EXPECT_EQ(valueOf(CLOCK_MONTH), 6);
    EXPECT_EQ(valueOf(CLOCK_DAY_OF_MONTH), 15);
    // A clock read adds the instrument's seconds as its one line.
    const std::vector<std::string> lines = TextBoxLines(messagePanel, MESSAGE_TEXT);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("seconds = ", 0), 0u) << lines[0];
}

TEST_F(ComPortEndToEnd, ALiveRunOfThreeSecondsWithALog) {
    const std::string logPath =
        (std::filesystem::temp_directory_path() /
         ("quorvel-com-e2e-" + std::to_string(QCoreApplication::applicationPid()) + ".log"))
            .string();
    press(currentPanel, MAIN_LIVE);
    const int livePanel = currentPanel;
    popups.answerFileSelect(logPath, VAL_NEW_FILE_SELECTED);
    press(livePanel, LIVE_LOG_FILE);
    ASSERT_EQ(logFileOpen, 1);

    QElapsedTimer run;
    run.start();
    QTimer::singleShot(3500, [livePanel] { press(livePanel, LIVE_STOP); });
    press(livePanel, LIVE_START);  // returns once the stop press has ended the run
    std::printf("[ figures  ] %lu records in %.1f s through COM1\n", liveRecordsShown,
                run.elapsed() / 1000.0);

    EXPECT_EQ(liveRunning, 0);
    EXPECT_EQ(logFileOpen, 0);
    EXPECT_GT(liveRecordsShown, 300u);  // about 2.5 s of records at 192 a second
    EXPECT_EQ(liveRecordsMissed, 0u);
    EXPECT_TRUE(TextBoxLines(messagePanel, MESSAGE_TEXT).empty());
    std::ifstream in(logPath, std::ios::binary);
    const std::string log{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    EXPECT_EQ(log.size(), liveRecordsShown * 7);  // "dddd\r" and the CR LF each line ends with
    EXPECT_FALSE(StripChartPoints(livePanel, LIVE_CHART).empty());

    // The stop pair has ended the stream: nothing more comes.
    Delay(0.2);
    FlushInQ(1);
    SetComTime(1, 0.3);
    char spare[5];
    EXPECT_EQ(ComRd(1, spare, 5), 0);
    std::filesystem::remove(logPath);
    std::filesystem::remove(std::filesystem::path(logPath).replace_extension(".csv"));
}

}  // namespace
