// The default calibration: the block it writes for each gauge type, the way back to a
// fresh main panel, its trace lines and its refusals.
#include "tests/calibration_scenario.h"

namespace {

class DefaultCalibration : public CalibrationScenario {};

struct TypeCase {
    int type;
    float length;
    int scaleTrim, rangeCode, zero;
};

TEST_F(DefaultCalibration, WritesTheDefaultFieldsForEachTypeAndReturnsToTheMainPanel) {
    const TypeCase cases[] = {
        {0, 2.0f, 223, 0, -500}, {1, 1.5f, 105, 1, -1900}, {2, 1.5f, 133, 0, -820}};
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        const Block before = withCalibration(arrangeBlock(), 7, 3, 4066, -500, 99);
        instrument.block() = before;
        if (PanelResourceId(currentPanel) != PANEL_MAIN)
            press(CAL_MAIN);
        openCalibration();
        const int calibrationPanel = currentPanel;
        enter({.gaugeLength = c.length, .gaugeType = c.type});
        addEarlierMessage();

        const double start = clock.now();
        const std::string out = pressCapturing(CAL_DEFAULT);
        const Block expected = withClockOf(withCalibration(before, c.scaleTrim, c.rangeCode, 4096,
                                                           c.zero, static_cast<int>(10 * c.length)),
                                           sentBlock());
        EXPECT_EQ(wire(), "rw" + writeFormOf(expected));
        EXPECT_EQ(kept(), clockless(expected));
        EXPECT_EQ(out, std::to_string(c.type) + "\r\nnewgain 4096 oldgain 4066 newzero " +
                           std::to_string(c.zero) +
                           " oldzero -500\nwrite in default calibrate buffer \n" +
                           writeFormOf(expected) + "\n");
        EXPECT_NEAR(wireTimes().at(0) - start, 0.2, 0.01);  // clear, 0.2 s, flush, 'r'

        EXPECT_FALSE(IsPanelVisible(calibrationPanel));
        EXPECT_EQ(PanelResourceId(currentPanel), PANEL_MAIN);
        EXPECT_NE(currentPanel, calibrationPanel);
        EXPECT_TRUE(visible(currentPanel));
        EXPECT_TRUE(visible(donePanel));
        EXPECT_TRUE(messageLines().empty());  // cleared at the start
        HidePanel(donePanel);
    }
}

TEST_F(DefaultCalibration, TypeZeroAtTwoSendsTheListedBytes) {
    openCalibration();
    enter({.gaugeLength = 2.0f, .gaugeType = 0});
    pressCapturing(CAL_DEFAULT);
    const std::string text = wire().substr(2);
    ASSERT_EQ(text.size(), 131u);
    EXPECT_EQ(text.substr(3, 18), "DF,00,10,00,FE,0C,");
    EXPECT_EQ(text.substr(72, 3), "14,");
}

TEST_F(DefaultCalibration, WrongLengthReports) {
    openCalibration();
    const Block before = kept();

    enter({.gaugeLength = 2.0f, .gaugeType = 1});
    addEarlierMessage();
    std::string out = pressCapturing(CAL_DEFAULT);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"wrong length = 2"});
    EXPECT_EQ(out.find("bad length"), std::string::npos);
    EXPECT_EQ(wire(), "r");

    clearWire();
    enter({.gaugeLength = 5.5f, .gaugeType = 0});
    out = pressCapturing(CAL_DEFAULT);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"wrong length = 6"});
    EXPECT_TRUE(out.ends_with(" oldzero 0\nbad length 6\n")) << out;
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(kept(), before);
    EXPECT_TRUE(onCalibrationPanel());
}

TEST_F(DefaultCalibration, RefusalsLeaveTheCalibrationPanelInFront) {
    openCalibration();
    const Block before = kept();

    instrument.faults().wrongLetterFor = 'r';
    addEarlierMessage();
    const std::string out = pressCapturing(CAL_DEFAULT);
    ASSERT_EQ(messageLines().size(), 1u);
    EXPECT_EQ(out, "bad hex 1 " + messageLines()[0] + "\n");
    EXPECT_EQ(wire(), "r");

    clearWire();
    instrument.faults().wrongLetterFor = 'w';
    pressCapturing(CAL_DEFAULT);
    EXPECT_EQ(wire(), "rw");
    ASSERT_EQ(messageLines().size(), 1u);
    EXPECT_EQ(messageLines()[0][1], 'X');
    EXPECT_EQ(kept(), before);

    clearWire();
    instrument.faults().wrongLetterFor = 'D';
    pressCapturing(CAL_DEFAULT);
    EXPECT_EQ(wire().size(), 2u + 131u);
    ASSERT_EQ(messageLines().size(), 1u);
    EXPECT_EQ(messageLines()[0][1], 'X');
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_TRUE(onCalibrationPanel());
}

TEST_F(DefaultCalibration, ShortReadAndUnknownTypeWriteNothing) {
    startWithWideRings();
    openCalibration();
    const Block before = kept();

    instrument.faults().cutRepliesTo = 100;
    pressCapturing(CAL_DEFAULT);
    EXPECT_EQ(messageLines(),
              (std::vector<std::string>{"settings not read: 100 of 129 characters came"}));
    EXPECT_EQ(wire(), "r");

    clearWire();
    instrument.faults().cutRepliesTo = -1;
    enter({.gaugeLength = 2.0f, .gaugeType = 3});
    const std::string out = pressCapturing(CAL_DEFAULT);
    EXPECT_TRUE(out.starts_with("3\r\nnewgain 4096 oldgain 4096 newzero 0 oldzero 0\n")) << out;
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"calibration not written: gauge type 3 is not 0, 1 or 2"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(kept(), before);
}

}  // namespace
