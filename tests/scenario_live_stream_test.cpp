// The stream as it came and as it ends: the raw log holds every character received after
// the 'G', whatever the records hold, and an instrument that goes on sending after the
// stop pair is told apart from one that stopped, with no byte or pause added on the wire.
#include <string>
#include <vector>

#include "link/reasons.h"
#include "tests/live_scenario.h"
#include "toolkit/panels/shell.h"

namespace {

class LiveRawLog : public LiveScenario {
  protected:
    // Streams `texts` in turn for about half a second into a fresh log; its bytes.
    std::string logOf(const std::vector<std::string>& texts) {
        instrument.faults().streamTexts = texts;
        chooseLog(logPath("raw.log"));
        runFor(0.5);
        return fileBytes(logPath("raw.log"));
    }
    // The first `count` records of `texts`, each followed by the log's CR LF.
    static std::string recordsOf(const std::vector<std::string>& texts, size_t count) {
        std::string all;
        for (size_t i = 0; i < count; ++i) all += texts[i % texts.size()] + "\r\n";
        return all;
    }
    // Stop closes the log with the record on its way left out: at most one.
    void expectAllButTheOneOnItsWay(size_t logged) const {
        EXPECT_LE(static_cast<size_t>(instrument.recordsSent()) - logged, 1u);
    }
};

TEST_F(LiveRawLog, KeepsNonTextNulAndEscapeRecordsAsTheyCame) {
    const std::vector<std::string> texts = {
        "\xff\x1b"
        "12\r",
        std::string("\0\0\0\0\r", 5), "\x1b[2J\r", "1234\r"};
    const std::string log = logOf(texts);
    const size_t logged = log.size() / 7;
    ASSERT_GT(logged, 80u);
    EXPECT_EQ(log, recordsOf(texts, logged));
    expectAllButTheOneOnItsWay(logged);
    EXPECT_EQ(liveRecordsShown, logged / 4);  // one in four is a reading
    EXPECT_EQ(lines(fileBytes(logPath("raw.csv"))).size(), liveRecordsShown + 1);
    EXPECT_EQ(wire(), "rgst");
}

TEST_F(LiveRawLog, KeepsARecordsOwnLineFeedWithoutAddingACarriageReturn) {
    const std::string log = logOf({"123\r\n"});
    ASSERT_GT(liveRecordsShown, 80u);
    EXPECT_EQ(log, repeated("123\r\n\r\n", liveRecordsShown));
}

TEST_F(LiveRawLog, KeepsRecordsWithoutALineEndThatAreNoReadings) {
    const std::string log = logOf({"zzzzz"});
    const size_t logged = log.size() / 7;
    ASSERT_GT(logged, 80u);
    EXPECT_EQ(log, recordsOf({"zzzzz"}, logged));
    expectAllButTheOneOnItsWay(logged);
    EXPECT_EQ(liveRecordsShown, 0u);
    EXPECT_EQ(ShellStatusField(StatusField::Records),
              "0 records, " + std::to_string(liveRecordsBroken) + " out of step");
}

// Records of six characters in a stream of five: each after the first is out of step, and
// its characters are kept up to the line end where the reader takes the stream up again.
TEST_F(LiveRawLog, KeepsEveryCharacterOfCrLfRecordsOutOfStep) {
    const std::string log = logOf({"1234\r\n"});
    ASSERT_GT(liveRecordsBroken, 80u);
    EXPECT_EQ(liveRecordsShown, 1u);
    EXPECT_EQ(log, "1234\r\r\n" + repeated("\n1234\r\r\n", liveRecordsBroken));
    expectAllButTheOneOnItsWay(liveRecordsBroken + 1);
}

class LiveStopCheck : public LiveScenario {};

TEST_F(LiveStopCheck, AnInstrumentThatStopsAddsNothingOnTheWireAndNoLine) {
    runFor(1.0);
    clock.advance(5.0);
    EXPECT_EQ(wire(), "rgst");
    EXPECT_TRUE(messageLines().empty());
}

TEST_F(LiveStopCheck, AnInstrumentStillSendingGetsALineAndNothingMoreIsSent) {
    instrument.faults().ignoreStopPair = true;
    runFor(1.0);
    EXPECT_TRUE(messageLines().empty());  // Stop returned as it always has
    clock.advance(1.0);
    EXPECT_EQ(messageLines(), std::vector<std::string>{kStillSendingText});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(wire(), "rgst");
}

TEST_F(LiveStopCheck, AnExchangeRightAfterTheStopEndsTheWatchInSilence) {
    instrument.faults().ignoreStopPair = true;
    runFor(0.5);
    runFor(0.5);  // the second start reads the block at once, amid the records
    clock.advance(5.0);
    for (const std::string& line : messageLines()) EXPECT_NE(line, kStillSendingText);
}

// Connect and the calibration panel keep the connection-failed lines and add the reason.
TEST_F(LiveStopCheck, AWakeUpThatMeetsLiveRecordsSaysTheInstrumentDidNotTakeTheStop) {
    instrument.faults().ignoreStopPair = true;
    runFor(0.5);
    const std::vector<std::string> expected = {
        "Connection failed, please try ", "pressing the button (unit may be sleeping)",
        "reconnect power or check serial cable", kStillSendingText};
    press(LIVE_MAIN);
    connect();
    auto shown = messageLines();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.end()), expected);
    EXPECT_EQ(ShellStatusField(StatusField::Instrument), "still sending live records");

    openFromMain(MAIN_CALIBRATE);  // its wake-up adds to the lines already there
    shown = messageLines();
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(shown.begin() + 6, shown.end()), expected);
}

}  // namespace
