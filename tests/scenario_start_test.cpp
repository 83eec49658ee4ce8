// The scheduled start panel against the simulated instrument: the bytes and pauses on the
// line, the controls filled, the lines shown and the block the instrument keeps.
#include <QSpinBox>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/link_state.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr double kCharTime = 10.0 / 9600;

using Block = std::array<uint8_t, 43>;

std::string writeForm(const Block& block) {
    std::string text;
    int sum = 0;
    char cell[4];
    for (uint8_t byte : block) {
        std::snprintf(cell, sizeof cell, "%02X,", byte);
        text += cell;
        sum += byte;
    }
    std::snprintf(cell, sizeof cell, "%02X", sum & 0xFF);
    return text + cell;
}

int controlValue(int control) {
    int value = -1;
    EXPECT_EQ(GetCtrlVal(currentPanel, control, &value), 0);
    return value;
}

class StartPanel : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        for (int i = 0; i < 43; ++i) instrument.block()[i] = static_cast<uint8_t>(0x13 * i + 7);
        instrument.block()[42] = 0x49;  // scheduled-start flag clear, clock-set flag set
        connect();
        openFromMain(MAIN_START);
        ASSERT_EQ(PanelResourceId(currentPanel), PANEL_START);
        clearWire();
    }

    // Start fields 1 to 4 and the year within the century, bytes 18 to 22.
    void setStartBytes(std::array<uint8_t, 5> bytes) {
        for (int i = 0; i < 5; ++i) instrument.block()[18 + i] = bytes[i];
    }

    void setControls(int minute, int hour, int day, int month, int year) {
        EXPECT_TRUE(::setValue(currentPanel, START_MINUTE, minute));
        EXPECT_TRUE(::setValue(currentPanel, START_HOUR, hour));
        EXPECT_TRUE(::setValue(currentPanel, START_DAY, day));
        EXPECT_TRUE(::setValue(currentPanel, START_MONTH, month));
        EXPECT_TRUE(::setValue(currentPanel, START_YEAR, year));
    }
};

TEST_F(StartPanel, ReadFillsTheControlsAndClearsTheMessages) {
    setStartBytes({0x45, 0x08, 0x31, 0x12, 0x00});
    addMessageText("an older line");
    const double start = clock.now();
    press(START_READ);

    EXPECT_EQ(wire(), "r");
    ASSERT_EQ(wireTimes().size(), 1u);
    EXPECT_NEAR(wireTimes()[0] - start, 0.5, 2 * kCharTime);
    // 0.2 s, the acknowledgement, 0.2 s, the text, 0.2 s.
    EXPECT_NEAR(clock.now() - wireTimes()[0], 0.6, 0.01);

    EXPECT_EQ(controlValue(START_MINUTE), 45);
    EXPECT_EQ(controlValue(START_HOUR), 8);
    EXPECT_EQ(controlValue(START_DAY), 31);
    EXPECT_EQ(controlValue(START_MONTH), 12);
    EXPECT_EQ(controlValue(START_YEAR), 2000);  // year byte 00
    EXPECT_TRUE(messageLines().empty());
    EXPECT_FALSE(visible(messagePanel));
}

TEST_F(StartPanel, PairsThatAreNotDecimalShowTheirLeadingDigits) {
    setStartBytes({0xA4, 0x1B, 0x2C, 0x0F, 0x3D});
    press(START_READ);
    EXPECT_EQ(controlValue(START_MINUTE), 0);  // "A4"
    EXPECT_EQ(controlValue(START_HOUR), 1);    // "1B"
    EXPECT_EQ(controlValue(START_DAY), 2);
    EXPECT_EQ(controlValue(START_YEAR), 2003);
    // "0F" gives 0, which the month control (1 to 12) refuses.
    EXPECT_EQ(controlValue(START_MONTH), 1);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"start month 0 from the instrument is outside the panel's "
                                       "range; not shown"});
    EXPECT_TRUE(visible(messagePanel));
}

TEST_F(StartPanel, WriteSetsTheStartFlagAndDoesNotReadBack) {
    instrument.faults().lowerCaseHex = true;
    Block expected = instrument.block();
    setControls(5, 0, 31, 10, 2099);  // a day that October has
    const double start = clock.now();
    press(START_SET);

    const uint8_t startBytes[] = {0x05, 0x00, 0x31, 0x10, 0x99};
    for (int i = 0; i < 5; ++i) expected[18 + i] = startBytes[i];
    expected[42] = 0x69;
    const std::string text = writeForm(expected);
    EXPECT_EQ(wire(), "rw" + text);  // nothing after the text
    EXPECT_EQ(text.substr(54, 3), "05,");
    EXPECT_EQ(text.substr(57, 3), "00,");
    EXPECT_EQ(text.substr(66, 3), "99,");

    // 'w' 0.4 s after 'r'; the callback ends 0.5 s + 0.2 s after the text went out.
    const auto times = wireTimes();
    ASSERT_EQ(times.size(), 133u);
    EXPECT_NEAR(times[0] - start, 0.0, 2 * kCharTime);
    EXPECT_NEAR(times[1] - times[0], 0.4, 0.01);
    EXPECT_NEAR(clock.now() - times[2], 0.7, 0.01);

    EXPECT_TRUE(visible(donePanel));
    EXPECT_TRUE(messageLines().empty());
    EXPECT_FALSE(visible(messagePanel));
    // The instrument takes the clock-set flag back; its clock bytes run on.
    expected[42] = 0x61;
    for (int i = 0; i < 43; ++i) {
        if (i < 11 || i > 17) {
            EXPECT_EQ(instrument.block()[i], expected[i]) << "byte " << i;
        }
    }
}

TEST_F(StartPanel, RefusalsShowTheReplyBelowAnEmptyTextBox) {
    const Block before = instrument.block();
    addMessageText("an older line");
    instrument.faults().wrongLetterFor = 'w';
    press(START_SET);
    EXPECT_EQ(wire(), "rw");
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
    for (int i = 18; i < 43; ++i) EXPECT_EQ(instrument.block()[i], before[i]) << "byte " << i;

    clearWire();
    instrument.faults().wrongLetterFor = 'D';
    press(START_SET);
    EXPECT_EQ(wire().size(), 2u + 131u);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(instrument.blocksWritten(), 0);
}

TEST_F(StartPanel, FailedReadsDecodeNothingAndWriteNothing) {
    backend.failReads(1, kComIoError);
    press(START_READ);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = -10"});
    EXPECT_TRUE(visible(messagePanel));
    press(START_SET);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = -10"});
    backend.failReads(1, 0);

    instrument.faults().cutRepliesTo = 100;
    press(START_READ);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 100 of 129 characters came"});
    press(START_SET);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 100 of 129 characters came"});
    instrument.faults().cutRepliesTo = -1;

    instrument.faults().garbage = true;
    press(START_READ);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: unexpected character at position 0"});
    press(START_SET);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: unexpected character at position 0"});

    EXPECT_EQ(wire(), "rrrrrr");
    EXPECT_EQ(instrument.blocksWritten(), 0);
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(controlValue(START_YEAR), 2026);  // the resource file's value, untouched
    EXPECT_EQ(controlValue(START_MONTH), 1);
}

TEST_F(StartPanel, ValuesOutsideTheCellsAreRefusedBeforeTheWrite) {
    auto* year = qobject_cast<QSpinBox*>(ControlWidget(currentPanel, START_YEAR));
    ASSERT_TRUE(year);
    year->setMinimum(1900);
    year->setValue(1999);
    press(START_SET);
    EXPECT_EQ(wire(), "");  // refused before any serial traffic
    EXPECT_EQ(messageLines(), std::vector<std::string>{
                                  "start year must be 2000 to 2099, not 1999; nothing written"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
}

}  // namespace
