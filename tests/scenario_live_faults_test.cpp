// The live run where things go wrong: records that do not come whole, log files that are
// replaced, cannot be opened or are not chosen, and runs ended by leaving the panel.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/harness/operator.h"
#include "tests/live_scenario.h"

namespace {

size_t countOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class LiveShortRecord : public LiveScenario {};

TEST_F(LiveShortRecord, IsNotPlottedItsCharactersAreLoggedAndTheBoxSaysSo) {
    const std::string path = logPath("short.log");
    chooseLog(path);
    const std::string record = oneValueRecord();
    // The line goes silent mid-stream; reads then end at the 3 s time-out with what came.
    instrument.faults().dropLineAfter = 0.5 + 2.5 * 10.0 / 9600;
    runFor(4.0);

    ASSERT_GT(liveRecordsShown, 50u);
    EXPECT_GE(liveRecordsMissed, 1u);
    EXPECT_EQ(recordLines(), std::vector<std::string>{kNoRecordLine});
    EXPECT_EQ(points().size(), liveRecordsShown);
    // The two characters that came before the line fell silent end the log, as they came.
    EXPECT_EQ(fileBytes(path), repeated(record + "\r\n", liveRecordsShown) + "20\r\n");
    EXPECT_EQ(wire(), "rgst");
}

class LiveLogFile : public LiveScenario {};

TEST_F(LiveLogFile, AnOlderLongerLogKeepsNoTail) {
    const std::string path = logPath("old.log");
    std::ofstream(path) << std::string(20000, 'X');
    chooseLog(path);
    runFor(0.5);
    ASSERT_GT(liveRecordsShown, 10u);
    EXPECT_EQ(fileBytes(path), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
}

TEST_F(LiveLogFile, ALogThatCannotBeOpenedIsReportedAndNotCountedOpen) {
    const std::string path = logPath("no-such-folder/live.log");
    chooseLog(path);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"log file not opened: " + path});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(logFileOpen, 0);

    runFor(0.3);
    EXPECT_GT(liveRecordsShown, 10u);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(wire(), "rgst");
}

TEST_F(LiveLogFile, AFileChosenDuringARunTakesTheFollowingRecords) {
    const std::string first = logPath("first.log"), second = logPath("second.log");
    chooseLog(first);
    popups.answerFileSelect(second, VAL_NEW_FILE_SELECTED);
    pressAt(clock.now() + 0.7, LIVE_LOG_FILE);
    runFor(1.2);

    const std::string line = oneValueRecord() + "\r\n";
    const size_t inFirst = countOf(fileBytes(first), line);
    const size_t inSecond = countOf(fileBytes(second), line);
    EXPECT_GT(inFirst, 10u);
    EXPECT_GT(inSecond, 10u);
    EXPECT_EQ(inFirst + inSecond, liveRecordsShown);
    EXPECT_EQ(fileBytes(first).size() + fileBytes(second).size(), liveRecordsShown * line.size());
}

TEST_F(LiveLogFile, CancellingTheChooserLeavesTheLogAsItWas) {
    const std::string path = logPath("kept.log");
    chooseLog(path);
    popups.answerCancel();
    press(LIVE_LOG_FILE);
    ASSERT_EQ(popups.fileRequests.size(), 2u);
    EXPECT_TRUE(popups.fileRequests[1].allowCancel);
    EXPECT_EQ(logFileOpen, 1);
    EXPECT_EQ(std::string(logFilePath), path);
    EXPECT_FALSE(visible(messagePanel));
    EXPECT_TRUE(messageLines().empty());

    runFor(0.5);
    EXPECT_EQ(fileBytes(path), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
}

TEST_F(LiveLogFile, AChooserErrorBringsTheMessagePanelAndKeepsTheLog) {
    const std::string path = logPath("kept.log");
    chooseLog(path);
    popups.answerFileSelect(logPath("other.log"), UIE_FileDialogFailed);
    press(LIVE_LOG_FILE);
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_TRUE(messageLines().empty());
    EXPECT_EQ(logFileOpen, 1);
    EXPECT_EQ(std::string(logFilePath), path);
}

class LiveLeaving : public LiveScenario {
  protected:
    // Should the run not end as it must, a stop after 5 s keeps the test from hanging.
    void armBackstop() {
        clock.schedule(clock.now() + 5.0,
                       [] { stopgcallback(0, LIVE_STOP, EVENT_COMMIT, nullptr, 0, 0); });
    }
};

TEST_F(LiveLeaving, ClosingThePanelEndsTheRunAndClosesTheLog) {
    const std::string path = logPath("close.log");
    chooseLog(path);
    armBackstop();
    const double pressedAt = clock.now();
    clock.schedule(pressedAt + 0.5, [this] { closeWindow(livePanel); });
    press(LIVE_START);

    EXPECT_EQ(wire(), "rgst");
    EXPECT_LT(clock.now(), pressedAt + 1.0);
    EXPECT_EQ(liveRunning, 0);
    EXPECT_EQ(logFileOpen, 0);
    EXPECT_EQ(liveRecordsMissed, 0u);
    EXPECT_EQ(fileBytes(path), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
}

TEST_F(LiveLeaving, GoingToTheMainPanelEndsTheRun) {
    armBackstop();
    const double pressedAt = clock.now();
    pressAt(pressedAt + 0.5, LIVE_MAIN);
    press(LIVE_START);

    EXPECT_EQ(wire(), "rgst");
    EXPECT_LT(clock.now(), pressedAt + 1.0);
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_MAIN);
    EXPECT_EQ(liveRecordsMissed, 0u);
    // The live panel left behind is gone, its chart with it.
    EXPECT_EQ(PanelWindow(livePanel), nullptr);
}

TEST_F(LiveLeaving, GoingToTheCalibrationPanelEndsTheRun) {
    armBackstop();
    const double pressedAt = clock.now();
    pressAt(pressedAt + 0.5, LIVE_CALIBRATION);
    press(LIVE_START);

    EXPECT_EQ(wire(), "rgst");
    EXPECT_LT(clock.now(), pressedAt + 1.0);
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_CALIBRATION);
}

TEST_F(LiveLeaving, LeavingWithNoRunSendsNothing) {
    press(LIVE_MAIN);
    EXPECT_EQ(wire(), "");
}

class LiveStartButton : public LiveScenario {};

TEST_F(LiveStartButton, IsDimmedDuringARunSoASecondPressStartsNothing) {
    const double pressedAt = clock.now();
    bool dimmedDuringRun = false;
    clock.schedule(pressedAt + kStartExchange + 0.2,
                   [&] { dimmedDuringRun = isControlDimmed(livePanel, LIVE_START); });
    pressAt(pressedAt + kStartExchange + 0.4, LIVE_START);
    runFor(1.0);

    EXPECT_TRUE(dimmedDuringRun);
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_START));
    EXPECT_EQ(wire(), "rgst");
}

TEST_F(LiveStartButton, APressQueuedDuringTheStartExchangeStartsNothing) {
    // The callback blocks in its pauses; the press waits and is handled inside the loop.
    pressAt(clock.now() + 0.3, LIVE_START);
    runFor(0.5);
    EXPECT_EQ(wire(), "rgst");
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_START));
}

}  // namespace

namespace {

class LiveLostLine : public LiveScenario {};

TEST_F(LiveLostLine, WithoutReconnectingEndsTheRunWithTheErrorCodeInsteadOfSpinning) {
    ASSERT_TRUE(setValue(livePanel, LIVE_RECONNECT, 0));
    clock.schedule(clock.now() + kStartExchange + 0.3, [this] { backend.dropLine(1); });
    press(LIVE_START);  // returns once the run has ended by itself
    EXPECT_EQ(liveRunning, 0);
    EXPECT_GT(liveRecordsShown, 10u);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = -11"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_START));
    EXPECT_EQ(wire(), "rg");  // the stop pair meets a port that knows its line is gone
}

}  // namespace
