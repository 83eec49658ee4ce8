// Connecting to the instrument: the bytes and pauses on the line, and what the operator reads.
#include "feedback/panel_set.h"
#include "link/link_state.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

const std::vector<std::string> kFailureLines = {"Connection failed, please try ",
                                                "pressing the button (unit may be sleeping)",
                                                "reconnect power or check serial cable"};

std::vector<std::string> failureReport(const std::string& ackLine) {
    std::vector<std::string> lines{ackLine};
    lines.insert(lines.end(), kFailureLines.begin(), kFailureLines.end());
    return lines;
}

class Connect : public ToolFixture {};

TEST_F(Connect, AwakeInstrumentShowsItsSerialNumber) {
    connect();
    EXPECT_EQ(wire(), "sti");
    EXPECT_EQ(connectedLines(),
              (std::vector<std::string>{"You have successfully connected",
                                        "To Quorvel Serial Number", "QV-0000012345 "}));
    EXPECT_TRUE(visible(connectedPanel));
    EXPECT_TRUE(messageLines().empty());
    EXPECT_FALSE(visible(messagePanel));
}

TEST_F(Connect, WakeUpPausesBeforeIdentify) {
    connect();
    const auto times = wireTimes();
    ASSERT_EQ(times.size(), 3u);
    const double charTime = 10.0 / 9600;
    EXPECT_NEAR(times[1] - times[0], 0.1, charTime * 1.5);  // 's', 0.1 s, 't'
    EXPECT_NEAR(times[2] - times[1], 2.0, charTime * 1.5);  // 't', 2.0 s and the flush, 'i'
}

TEST_F(Connect, OpensTheSelectedPortWithTheLineSettings) {
    connect(3);
    ASSERT_FALSE(backend.opens().empty());
    const auto& open = backend.opens().back();
    EXPECT_EQ(open.port, 3);
    EXPECT_EQ(open.deviceName, "COM3");
    EXPECT_EQ(open.settings.baudRate, 9600);
    EXPECT_EQ(open.settings.parity, 0);
    EXPECT_EQ(open.settings.dataBits, 8);
    EXPECT_EQ(open.settings.stopBits, 1);
    EXPECT_EQ(comPort, 3);
    EXPECT_STREQ(deviceName, "COM3");
}

TEST_F(Connect, AsleepInstrumentGivesTheFailureLines) {
    instrument.faults().asleep = true;
    connect();
    EXPECT_EQ(messageLines(), failureReport(""));
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(connectedPanel));
}

TEST_F(Connect, NoInstrumentWaitsForTheTimeOutAndReports) {
    const double start = clock.now();
    connect(2);  // nothing attached to COM2
    EXPECT_NEAR(clock.now() - start, 2.1 + 3.0, 0.01);
    EXPECT_EQ(messageLines(), failureReport(""));
}

TEST_F(Connect, WrongLetterIsShownAsTheAcknowledgementReceived) {
    instrument.faults().wrongLetterFor = 'i';
    instrument.faults().wrongLetter = 'X';
    connect();
    const auto lines = messageLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].size(), 5u);
    EXPECT_EQ(lines[0][1], 'X');
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), kFailureLines);
}

TEST_F(Connect, CharactersThatCannotBeShownAreEscapedInTheAcknowledgementLine) {
    instrument.faults().wrongLetterFor = 'i';
    instrument.faults().wrongLetter = '\0';
    connect();
    EXPECT_EQ(messageLines(), failureReport("<\\x00>OK"));

    instrument.faults().wrongLetter = '\x1b';
    connect();
    EXPECT_EQ(messageLines(), failureReport("<\\x1b>OK"));
}

TEST_F(Connect, StaleReplyIsNeverTakenForANewOne) {
    connect();  // leaves "...I..." behind in the shared buffer
    instrument.faults().noAnswer = true;
    connect();
    EXPECT_EQ(messageLines(), failureReport(""));
}

TEST_F(Connect, ShortIdentityReplyShowsOnlyWhatCame) {
    instrument.faults().cutRepliesTo = 8;
    connect();
    const auto lines = connectedLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "QV-00000");
}

TEST_F(Connect, SecondConnectShowsOnlyTheLatestLines) {
    connect();
    connect();
    EXPECT_EQ(connectedLines().size(), 3u);
}

TEST_F(Connect, FailedConnectAfterASuccessLeavesTheConnectionPanelAlone) {
    connect();
    instrument.faults().noAnswer = true;
    connect();
    EXPECT_EQ(connectedLines().size(), 3u);
    EXPECT_EQ(messageLines(), failureReport(""));
}

TEST_F(Connect, PortThatCannotBeOpenedReportsTheErrorCode) {
    backend.failOpens(kComCannotOpen);
    connect();
    EXPECT_EQ(messageLines(), (std::vector<std::string>{"error code = -6"}));
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(wire(), "");
}

TEST(HexConversions, DecodePairsWithoutValidation) {
    EXPECT_EQ(hexPairValue("0A"), 10);
    EXPECT_EQ(hexPairValue("ff"), 255);
    EXPECT_EQ(hexPairValue("FF"), 255);
    EXPECT_EQ(hexPairValue("9,"), 140);
    EXPECT_EQ(hexDigitValue(','), -4);
    EXPECT_EQ(hexDigitValue('\r'), -35);
    EXPECT_EQ(hexDigitValue('G'), 16);
}

}  // namespace
