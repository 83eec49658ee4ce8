// The two-point calibration as the operator meets it: opening the panel, the calibrate
// button, the lines shown and traced, and the block the instrument keeps.
#include "tests/calibration_scenario.h"

namespace {

const std::vector<std::string> kConnectionLines = {"Connection failed, please try ",
                                                   "pressing the button (unit may be sleeping)",
                                                   "reconnect power or check serial cable"};

class Calibration : public CalibrationScenario {};

TEST_F(Calibration, OpeningThePanelWakesAndIdentifiesTheInstrument) {
    connect();
    clearWire();
    const double start = clock.now();
    openFromMain(MAIN_CALIBRATE);
    EXPECT_TRUE(onCalibrationPanel());
    EXPECT_EQ(wire(), "sti");
    const auto times = wireTimes();
    ASSERT_EQ(times.size(), 3u);
    EXPECT_NEAR(times[0] - start, 0.0, 0.01);
    EXPECT_NEAR(times[1] - times[0], 0.1, 0.01);
    EXPECT_NEAR(times[2] - times[1], 2.0, 0.01);
    EXPECT_TRUE(messageLines().empty());
    EXPECT_FALSE(visible(messagePanel));
    // The identity reply is taken off the line: the next exchange starts clean.
    pressCapturing(CAL_CALIBRATE);
    EXPECT_TRUE(visible(donePanel));
}

TEST_F(Calibration, AsleepInstrumentAddsTheConnectionLinesAndThePanelStaysUsable) {
    instrument.faults().asleep = true;
    connect();
    ASSERT_EQ(messageLines().size(), 4u);
    openFromMain(MAIN_CALIBRATE);
    std::vector<std::string> expected;
    for (int report = 0; report < 2; ++report) {
        expected.push_back("");
        expected.insert(expected.end(), kConnectionLines.begin(), kConnectionLines.end());
    }
    EXPECT_EQ(messageLines(), expected);  // added below the connect's lines, not cleared
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_TRUE(onCalibrationPanel());

    instrument.pressButton();
    pressCapturing(CAL_CALIBRATE);
    EXPECT_TRUE(visible(donePanel));
    EXPECT_EQ(kept()[3] * 256 + kept()[4], 4066);
}

TEST_F(Calibration, EachPressCorrectsFromWhatTheInstrumentHolds) {
    const Block before = arrangeBlock(4096, 0);
    openCalibration();
    enter({});
    const double start = clock.now();
    const std::string out = pressCapturing(CAL_CALIBRATE);
    const double took = clock.now() - start;

    const Block first = withClockOf(withCalibration(before, 223, 0, 4066, 12, 20), sentBlock());
    EXPECT_EQ(wire(), "rw" + writeFormOf(first));
    EXPECT_EQ(kept(), clockless(first));
    char sum[8];
    std::snprintf(sum, sizeof sum, "%x", checksumOf(first));
    EXPECT_EQ(out, "read back buffer\n" + readFormOf(withClockOf(before, sentBlock())) +
                       "\n0\r\n2sum " + sum + " buffer \n" + writeFormOf(first) + "\n");
    EXPECT_TRUE(visible(donePanel));
    EXPECT_TRUE(onCalibrationPanel());
    EXPECT_TRUE(messageLines().empty());
    EXPECT_FALSE(visible(messagePanel));

    // Pauses: 0.2 after 'r' and after its acknowledgement, 0.2 twice around the 'W', 0.5
    // behind the text and 0.2 behind the 'D'; the rest is the line's own time.
    const auto times = wireTimes();
    ASSERT_EQ(times.size(), 2u + 131u);
    EXPECT_NEAR(times[2] - times[1], 0.4, 0.02);
    EXPECT_NEAR(took, 1.5, 0.35);

    clearWire();
    pressCapturing(CAL_CALIBRATE);
    EXPECT_EQ(kept(), clockless(withCalibration(before, 223, 0, 4036, 24, 20)));
}

TEST_F(Calibration, WrongLengthForTypeZeroIsAddedBelowEarlierLines) {
    const Block before = arrangeBlock();
    openCalibration();
    enter({.gaugeLength = 6.0f, .gaugeType = 0});
    addEarlierMessage();
    const std::string out = pressCapturing(CAL_CALIBRATE);
    EXPECT_EQ(messageLines(), (std::vector<std::string>{"earlier", "wrong length = 6"}));
    EXPECT_TRUE(visible(messagePanel));
    const std::string read = out.substr(17, 129);
    EXPECT_EQ(out, "read back buffer\n" + readFormOf(withClockOf(before, read)) +
                       "\n0\r\nbad length 6\n");
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(kept(), clockless(before));
    EXPECT_FALSE(visible(donePanel));
}

TEST_F(Calibration, WrongLengthForTypeOneClearsTheBox) {
    openCalibration();
    const Block before = kept();
    enter({.gaugeLength = 4.0f, .gaugeType = 1});
    addEarlierMessage();
    const std::string out = pressCapturing(CAL_CALIBRATE);
    EXPECT_EQ(messageLines(), (std::vector<std::string>{"wrong length = 4"}));
    EXPECT_TRUE(out.ends_with("\n1\r\n")) << out;
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(kept(), before);

    // A half length shows rounded up: 3.5 is wrong for type 1 while 3 is fine.
    enter({.gaugeLength = 3.5f, .gaugeType = 1});
    pressCapturing(CAL_CALIBRATE);
    EXPECT_EQ(messageLines(), (std::vector<std::string>{"wrong length = 4"}));
}

TEST_F(Calibration, TypeTwoTakesEveryLengthOfTheTable) {
    openCalibration();
    for (float length : {0.25f, 5.5f, 11.0f}) {
        enter({.gaugeLength = length,
               .gaugeType = 2,
               .levelA = 0,
               .levelB = 1000 * length,
               .readingA = 0,
               .readingB = 4095});
        pressCapturing(CAL_CALIBRATE);
        EXPECT_TRUE(messageLines().empty()) << length;
        EXPECT_EQ(kept()[24], static_cast<int>(10 * length));
    }
}

TEST_F(Calibration, RefusalsShowTheAcknowledgementAlone) {
    openCalibration();
    const Block before = kept();

    instrument.faults().wrongLetterFor = 'r';
    addEarlierMessage();
    EXPECT_EQ(pressCapturing(CAL_CALIBRATE), "");
    EXPECT_EQ(wire(), "r");
    ASSERT_EQ(messageLines().size(), 1u);
    EXPECT_EQ(messageLines()[0].size(), 5u);
    EXPECT_EQ(messageLines()[0][1], 'X');

    clearWire();
    instrument.faults().wrongLetterFor = 'w';
    addEarlierMessage();
    EXPECT_TRUE(pressCapturing(CAL_CALIBRATE).find("2sum ") != std::string::npos);
    EXPECT_EQ(wire(), "rw");  // the block text is not sent
    ASSERT_EQ(messageLines().size(), 1u);
    EXPECT_EQ(messageLines()[0][1], 'X');
    EXPECT_EQ(kept(), before);
    EXPECT_FALSE(visible(donePanel));

    clearWire();
    instrument.faults().wrongLetterFor = 'D';
    addEarlierMessage();
    pressCapturing(CAL_CALIBRATE);
    EXPECT_EQ(wire().size(), 2u + 131u);
    ASSERT_EQ(messageLines().size(), 1u);
    EXPECT_EQ(messageLines()[0][1], 'X');
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_TRUE(onCalibrationPanel());
}

TEST_F(Calibration, ShortBlockReadStopsBeforeAnythingIsWritten) {
    openCalibration();
    const Block before = kept();
    instrument.faults().cutRepliesTo = 100;
    pressCapturing(CAL_CALIBRATE);
    EXPECT_EQ(messageLines(),
              (std::vector<std::string>{"settings not read: 100 of 129 characters came"}));
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(kept(), before);
}

TEST_F(Calibration, InputsThatDivideByZeroAreRefused) {
    openCalibration();
    const Block before = kept();
    struct Case {
        CalibrationInputs inputs;
        const char* line;
    };
    const Case cases[] = {
        {{.levelA = 900, .levelB = 900},
         "calibration not written: level A and level B must differ"},
        {{.readingA = 2000, .readingB = 2000},
         "calibration not written: reading A and reading B must differ"},
    };
    for (const Case& c : cases) {
        clearWire();
        enter(c.inputs);
        addEarlierMessage();
        pressCapturing(CAL_CALIBRATE);
        EXPECT_EQ(messageLines(), std::vector<std::string>{c.line});
        EXPECT_TRUE(visible(messagePanel));
        EXPECT_EQ(wire(), "r");
        EXPECT_EQ(kept(), before);
    }

    clearWire();
    instrument.block()[3] = instrument.block()[4] = 0;
    enter({});
    pressCapturing(CAL_CALIBRATE);
    EXPECT_EQ(messageLines(), std::vector<std::string>{
                                  "calibration not written: the instrument's present gain is 0"});
    EXPECT_EQ(wire(), "r");
}

TEST_F(Calibration, GainOrZeroBeyondTheirSixteenBitFieldsIsRefused) {
    openCalibration();
    const Block before = kept();
    enter({.readingA = 400, .readingB = 410});  // a slope of 12.5 counts: gain x 327
    pressCapturing(CAL_CALIBRATE);
    ASSERT_EQ(messageLines().size(), 1u);
    EXPECT_EQ(messageLines()[0].rfind("calibration not written: new gain ", 0), 0u);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(kept(), before);
}

TEST_F(Calibration, GaugesOutsideTheTablesAreRefused) {
    startWithWideRings();
    openCalibration();
    const Block before = kept();

    enter({.gaugeLength = 2.0f, .gaugeType = 3});
    const std::string out = pressCapturing(CAL_CALIBRATE);
    EXPECT_TRUE(out.ends_with("\n3\r\n")) << out;
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"calibration not written: gauge type 3 is not 0, 1 or 2"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(kept(), before);

    clearWire();
    enter({.gaugeLength = 0.75f, .gaugeType = 2});
    pressCapturing(CAL_CALIBRATE);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"wrong length = 1"});
    EXPECT_EQ(wire(), "r");
}

}  // namespace
