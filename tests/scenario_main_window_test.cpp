// The main window around the panels: the navigation bar, the page area that never leaves
// the operator stranded, input while an exchange runs, the status bar and the words
// below an error code.
#include <QByteArray>
#include <set>

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/link_state.h"
#include "live/live_readout.h"
#include "tests/live_scenario.h"
#include "toolkit/serial/error_explanations.h"
#include "toolkit/serial/rs232.h"

namespace {

class MainWindowShell : public ToolFixture {};
class MainWindowLive : public LiveScenario {};

const std::string kNothingInFront =
    "Nothing is shown here. Choose where to go in the navigation bar.";

TEST_F(MainWindowShell, EachEntryRunsItsNavigationAndMarksThePageInFront) {
    EXPECT_EQ(ShellMarkedEntry(), "Main panel");
    ASSERT_TRUE(PressShellEntry("kx settings"));
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_KX);
    EXPECT_EQ(ShellMarkedEntry(), "kx settings");
    const int kxPanel = currentPanel;
    ASSERT_TRUE(PressShellEntry("Real-time clock"));
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_CLOCK);
    EXPECT_FALSE(visible(kxPanel));
    ASSERT_TRUE(PressShellEntry("Main panel"));
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_MAIN);
    EXPECT_EQ(ShellPlaceholderLine(), "");
    EXPECT_EQ(wire(), "");
}

// A refused write hides the settings page and nothing replaces it: the page area says so
// and the bar still leads on.
TEST_F(MainWindowShell, AHiddenPageLeavesALineAndTheBarLeadsOn) {
    connect();
    PressShellEntry("kx settings");
    instrument.faults().wrongLetterFor = 'w';
    press(KX_SET);
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(ShellPlaceholderLine(), kNothingInFront);
    EXPECT_EQ(ShellMarkedEntry(), "");

    ASSERT_TRUE(PressShellEntry("qv settings"));
    EXPECT_TRUE(visible(currentPanel));
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_QV);
    EXPECT_EQ(ShellPlaceholderLine(), "");
}

// A click on "Set start time" made while "Read start time" runs must not write afterwards.
TEST_F(MainWindowShell, AClickDuringAnExchangeIsDroppedWhenItEnds) {
    connect();
    PressShellEntry("Scheduled start");
    clearWire();
    pressAt(clock.now() + 0.3, START_SET);
    press(START_READ);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(instrument.blocksWritten(), 0);
    EXPECT_EQ(ShellBusyText(), "");
}

TEST_F(MainWindowShell, StatusBarTellsThePortAndWhoAnswered) {
    // COM1 reaches the system's COM1 (as on Windows), COM2 a device of another name.
    qputenv("QUORVEL_COM1", "COM1");
    qputenv("QUORVEL_COM2", "/dev/ttyUSB7");
    EXPECT_EQ(ShellStatusField(StatusField::Port), "not connected");
    connect();
    EXPECT_EQ(ShellStatusField(StatusField::Port), "COM1");
    EXPECT_EQ(ShellStatusField(StatusField::Instrument), "Quorvel QV-0000012345");

    HidePanel(connectedPanel);
    instrument.faults().asleep = true;
    connect(2);
    EXPECT_EQ(ShellStatusField(StatusField::Port), "COM2 \u00b7 /dev/ttyUSB7");
    EXPECT_EQ(ShellStatusField(StatusField::Instrument), "no answer");
    qunsetenv("QUORVEL_COM1");
    qunsetenv("QUORVEL_COM2");
}

TEST_F(MainWindowShell, AFailedOpenIsExplainedBelowItsErrorCode) {
    backend.failOpens(kComCannotOpen);
    connect();
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"error code = " + std::to_string(kComCannotOpen)});
    EXPECT_EQ(ShellMessageHint(), ComErrorExplanation(kComCannotOpen));
    EXPECT_EQ(ShellStatusField(StatusField::Instrument), "port not open");
    clearMessages();
    EXPECT_EQ(ShellMessageHint(), "");
}

TEST_F(MainWindowShell, EveryErrorCodeHasItsOwnExplanation) {
    const int codes[] = {kComInvalidPort,  kComNotOpen, kComCannotOpen,
                         kComBadParameter, kComIoError, kComDeviceLost};
    std::set<std::string> seen;
    for (const int code : codes) {
        clearMessages();
        reportErrorCode(code);
        EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = " + std::to_string(code)});
        EXPECT_EQ(ShellMessageHint(), ComErrorExplanation(code));
        seen.insert(ShellMessageHint());
    }
    EXPECT_EQ(seen.size(), std::size(codes));
}

TEST_F(MainWindowShell, SilenceOnTheLineIsExplained) {
    connect();
    PressShellEntry("kx settings");
    instrument.faults().noAnswer = true;
    press(KX_READ);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 0 of 129 characters came"});
    EXPECT_NE(ShellMessageHint().find("No instrument answered"), std::string::npos);
}

// Leaving the live page from the bar ends the run as leaving it by its own buttons does.
TEST_F(MainWindowLive, TheBarLeadsAwayDuringARunAndEndsIt) {
    chooseLog(logPath("run.log"));
    EXPECT_EQ(ShellStatusField(StatusField::LogFile), "Log: " + logPath("run.log"));
    clock.schedule(clock.now() + kStartExchange + 1.0, [] { PressShellEntry("qv settings"); });
    press(LIVE_START);
    EXPECT_EQ(liveRunning, 0);
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_QV);
    EXPECT_EQ(ShellMarkedEntry(), "qv settings");
    EXPECT_EQ(wire().substr(wire().size() - 2), "st");
    EXPECT_EQ(ShellStatusField(StatusField::Records),
              std::to_string(liveRecordsShown) + " records");
    EXPECT_GT(liveRecordsShown, 0u);
    EXPECT_EQ(ShellStatusField(StatusField::LogFile), "");
}

}  // namespace
