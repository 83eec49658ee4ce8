// Live runs as the operator meets them: the records shown, plotted and logged, the bytes
// on the wire when a run starts and ends, and the ways a start is refused.
#include <QPlainTextEdit>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "link/link_state.h"
#include "tests/harness/operator.h"
#include "tests/live_scenario.h"
#include "toolkit/panels/testing.h"
#include "toolkit/serial/rs232.h"

namespace {

constexpr double kCharTime = 10.0 / 9600;

class LiveRun : public LiveScenario {};

TEST_F(LiveRun, OneValueRecordsPlotOnTheGaugeLengthAndShowTheLastRecord) {
    instrument.block()[24] = 100;  // a 10.0 gauge
    instrument.setLevel(10);       // beyond the top: the instrument reports 4095
    const double pressedAt = clock.now();
    runFor(1.0);

    EXPECT_EQ(wire(), "rgst");
    const auto times = wireTimes();
    ASSERT_EQ(times.size(), 4u);
    EXPECT_NEAR(times[0] - pressedAt, 0.4 + kCharTime, 1e-9);  // 0.2 s, flush, 0.2 s, 'r'
    EXPECT_NEAR(times[3] - times[2], kCharTime, 1e-9);         // the stop pair back to back

    ASSERT_GT(liveRecordsShown, 100u);
    EXPECT_EQ(liveRecordsMissed, 0u);
    const auto plotted = points();
    ASSERT_EQ(plotted.size(), liveRecordsShown);
    EXPECT_TRUE(std::all_of(plotted.begin(), plotted.end(), [](double p) { return p == 10.0; }));
    double ymin = -1, ymax = -1;
    StripChartYRange(livePanel, LIVE_CHART, ymin, ymax);
    EXPECT_EQ(ymin, 0.0);
    EXPECT_EQ(ymax, 10.0);
    EXPECT_EQ(recordLines(), std::vector<std::string>{"4095"});
    double second = -1;
    GetCtrlVal(livePanel, LIVE_SECOND, &second);
    EXPECT_EQ(second, 0.0);  // one-value records leave it alone
    EXPECT_EQ(liveRunning, 0);
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_START));

    // The bottom of the gauge plots 0.0, after the points of the first run.
    instrument.setLevel(0);
    runFor(0.5);
    const auto both = points();
    ASSERT_EQ(both.size(), plotted.size() + liveRecordsShown);
    EXPECT_EQ(both.front(), 10.0);
    EXPECT_EQ(both.back(), 0.0);
    EXPECT_EQ(recordLines(), std::vector<std::string>{"   0"});
}

// Each replacement of the last record reaches a screen reader as a text change; a caret
// carried along with it would be one more message for every record.
TEST_F(LiveRun, TheLastRecordIsReplacedWithoutMovingTheCaret) {
    runFor(0.5);
    auto* box = qobject_cast<QPlainTextEdit*>(ControlWidget(livePanel, LIVE_RECORD));
    ASSERT_NE(box, nullptr);
    int caretMoves = 0;
    QObject::connect(box, &QPlainTextEdit::cursorPositionChanged, [&] { ++caretMoves; });
    for (const char* record : {"2050", "2051", "   7", "4095"}) {
        ASSERT_EQ(ResetTextBox(livePanel, LIVE_RECORD, record), 0);
        EXPECT_EQ(recordLines(), std::vector<std::string>{record});
    }
    EXPECT_EQ(caretMoves, 0);
    EXPECT_EQ(box->textCursor().position(), 0);
    EXPECT_FALSE(box->textCursor().hasSelection());
}

TEST_F(LiveRun, TwoValueRecordsShowTheSecondValueInSixteenths) {
    instrument.block()[42] = kRs232Data | kSecondChannel;
    instrument.block()[24] = 100;
    instrument.setLevel(10);
    instrument.setTemperature(20.5);  // sent as 328 sixteenths
    runFor(1.0);

    EXPECT_EQ(wire(), "rgst");
    EXPECT_EQ(twoChannelMode, 1);
    ASSERT_GT(liveRecordsShown, 50u);
    EXPECT_EQ(liveRecordsMissed, 0u);
    double second = 0;
    GetCtrlVal(livePanel, LIVE_SECOND, &second);
    EXPECT_EQ(second, 20.5);
    const auto plotted = points();
    ASSERT_EQ(plotted.size(), liveRecordsShown);
    EXPECT_EQ(plotted.back(), 10.0);
    EXPECT_EQ(recordLines(), std::vector<std::string>{"4095,  328"});
}

TEST_F(LiveRun, ZeroLengthGaugePlotsEveryPointAtZero) {
    instrument.block()[24] = 0;
    runFor(0.5);
    double ymin = -1, ymax = -1;
    StripChartYRange(livePanel, LIVE_CHART, ymin, ymax);
    EXPECT_EQ(ymax, 0.0);
    const auto plotted = points();
    ASSERT_FALSE(plotted.empty());
    EXPECT_TRUE(std::all_of(plotted.begin(), plotted.end(), [](double p) { return p == 0.0; }));
}

class LiveLog : public LiveScenario {};

TEST_F(LiveLog, HoldsTheRawRecordsWithStoredCrLf) {
    const std::string path = logPath("one.log");
    chooseLog(path);
    ASSERT_EQ(popups.fileRequests.size(), 1u);
    EXPECT_EQ(popups.fileRequests[0].title, "Log File for output");
    EXPECT_EQ(logFileOpen, 1);
    const std::string record = oneValueRecord();  // e.g. "2050\r"
    runFor(1.0);

    ASSERT_GT(liveRecordsShown, 100u);
    EXPECT_EQ(fileBytes(path), repeated(record + "\r\n", liveRecordsShown));
    EXPECT_EQ(logFileOpen, 0);  // stop closed it
    EXPECT_EQ(wire(), "rgst");
}

TEST_F(LiveLog, TwoValueLinesAreElevenCharactersAndTheLineEnd) {
    instrument.block()[42] = kRs232Data | kSecondChannel;
    instrument.setLevel(0);
    const std::string path = logPath("two.log");
    chooseLog(path);
    runFor(0.5);
    ASSERT_GT(liveRecordsShown, 10u);
    EXPECT_EQ(fileBytes(path), repeated("   0,  328\r\r\n", liveRecordsShown));
}

TEST_F(LiveLog, ASecondRunWithoutChoosingAFileLogsNothing) {
    const std::string path = logPath("first.log");
    chooseLog(path);
    runFor(0.5);
    const std::string firstRun = fileBytes(path);
    ASSERT_FALSE(firstRun.empty());

    runFor(0.5);
    EXPECT_GT(liveRecordsShown, 10u);
    EXPECT_EQ(fileBytes(path), firstRun);
    EXPECT_EQ(wire(), "rgstrgst");
}

TEST_F(LiveLog, RightClickShowsTheHelpAndChoosesNothing) {
    rightClick(livePanel, LIVE_LOG_FILE);
    ASSERT_EQ(popups.messages.size(), 1u);
    EXPECT_EQ(popups.messages[0].title, "Help for File");
    EXPECT_EQ(popups.messages[0].text, "Press this button to select a file for logging the data");
    EXPECT_TRUE(popups.fileRequests.empty());
    EXPECT_EQ(wire(), "");
}

class LiveEnd : public LiveScenario {};

TEST_F(LiveEnd, ReturnEndsTheRunClosesTheLogAndHidesTheDonePanel) {
    DisplayPanel(donePanel);
    const std::string path = logPath("return.log");
    chooseLog(path);
    runFor(0.5, LIVE_RETURN);

    EXPECT_EQ(wire(), "rgst");
    EXPECT_EQ(liveRunning, 0);
    EXPECT_EQ(logFileOpen, 0);
    EXPECT_EQ(fileBytes(path), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(currentPanel, livePanel);
    EXPECT_TRUE(visible(livePanel));
}

TEST_F(LiveEnd, StopAndReturnWithNoRunStillSendTheStopPair) {
    DisplayPanel(donePanel);
    press(LIVE_STOP);
    EXPECT_EQ(wire(), "st");
    EXPECT_TRUE(visible(donePanel));  // stop leaves it
    press(LIVE_RETURN);
    EXPECT_EQ(wire(), "stst");
    EXPECT_FALSE(visible(donePanel));
}

// A stop lands between two reads; the records that came before the stop pair left belong
// to the run, whether reads wake per record or sleep a tenth of a second to gather them.
class LiveStopKeeps : public LiveScenario, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        backend.gatherReads(GetParam());
        LiveScenario::SetUp();
    }
};

TEST_P(LiveStopKeeps, EveryRecordSentBeforeTheStopPairInTheLogAndTheCsv) {
    const std::string path = logPath("kept.log");
    chooseLog(path);
    for (const int stopControl : {LIVE_STOP, LIVE_RETURN}) {
        const int sentBefore = instrument.recordsSent();
        const size_t plottedBefore = points().size();
        runFor(1.03, stopControl);
        const int sent = instrument.recordsSent() - sentBefore;
        EXPECT_EQ(wire().substr(wire().size() - 2), "st");
        ASSERT_GT(sent, 150);
        // At most the record being sent while the stop pair travelled is not in.
        EXPECT_LE(sent - static_cast<int>(liveRecordsShown), 1);
        EXPECT_GE(sent, static_cast<int>(liveRecordsShown));
        EXPECT_EQ(fileBytes(path), repeated(oneValueRecord() + "\r\n", liveRecordsShown));
        std::ifstream csv(logPath("kept.csv"));
        const long csvLines =
            std::count(std::istreambuf_iterator<char>(csv), std::istreambuf_iterator<char>(), '\n');
        EXPECT_EQ(csvLines, static_cast<long>(liveRecordsShown) + 1);  // and its header
        EXPECT_EQ(points().size() - plottedBefore, liveRecordsShown);
        chooseLog(path);
    }
}

INSTANTIATE_TEST_SUITE_P(ReadsThat, LiveStopKeeps, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Gather" : "WakePerRecord"; });

class LiveRefusal : public LiveScenario {};

TEST_F(LiveRefusal, ClearRs232FlagWarnsAndTheStartGoesOn) {
    instrument.block()[42] = 0;
    std::string wireAtPopup;
    popups.onMessage = [&](const RecordedMessage&) { wireAtPopup = wire(); };
    runFor(0.5);

    ASSERT_EQ(popups.messages.size(), 1u);
    EXPECT_EQ(popups.messages[0].title, "Configuration Error");
    EXPECT_EQ(popups.messages[0].text,
              "Please go to the configuration window to enable RS232 data");
    EXPECT_EQ(wireAtPopup, "r");
    EXPECT_EQ(wire(), "rgst");
    EXPECT_GT(liveRecordsShown, 0u);
}

TEST_F(LiveRefusal, WrongLetterAfterReadShowsTheAcknowledgementAndStartsNothing) {
    instrument.faults().wrongLetterFor = 'r';
    press(LIVE_START);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(liveRunning, 0);
    EXPECT_TRUE(points().empty());
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_START));
}

TEST_F(LiveRefusal, WrongLetterAfterGoShowsTheAcknowledgementAndStartsNothing) {
    instrument.faults().wrongLetterFor = 'g';
    press(LIVE_START);
    EXPECT_EQ(wire(), "rg");
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(liveRunning, 0);
    EXPECT_TRUE(points().empty());
}

TEST_F(LiveRefusal, NegativeStatusOfTheBlockReadIsShownAsAnErrorCode) {
    // The acknowledgement has come by 0.41 s; the block is read from 0.61 s.
    clock.schedule(clock.now() + 0.5, [this] { backend.failReads(1, kComIoError); });
    press(LIVE_START);
    backend.failReads(1, 0);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = -10"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(liveRunning, 0);
}

TEST_F(LiveRefusal, ShortBlockStartsNoRun) {
    instrument.faults().cutRepliesTo = 100;
    press(LIVE_START);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 100 of 129 characters came"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(liveRunning, 0);
    EXPECT_TRUE(points().empty());
}

TEST_F(LiveRefusal, MessagesOfAnEarlierActionAreClearedAtStart) {
    instrument.faults().wrongLetterFor = 'r';
    press(LIVE_START);
    instrument.faults().wrongLetterFor = 0;
    runFor(0.3);
    EXPECT_TRUE(messageLines().empty());
    EXPECT_EQ(wire(), "rrgst");
}

}  // namespace
