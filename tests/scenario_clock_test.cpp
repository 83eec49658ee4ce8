// The real-time clock panel against the simulated instrument: the bytes and pauses on the
// line, the controls filled, the lines shown and the block the instrument keeps.
#include <QSpinBox>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "feedback/panel_set.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr double kCharTime = 10.0 / 9600;

using Block = std::array<uint8_t, 43>;

// The 131 characters the tool should send for `block`: upper-case hex, commas, checksum.
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

class ClockPanel : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        // Every byte distinct and some with hex letters, so a shifted or lost byte shows.
        for (int i = 0; i < 43; ++i)
            instrument.block()[i] = static_cast<uint8_t>(0x11 * (i % 15) + i);
        // The start two decimal digits a byte, as a block that is written must hold it.
        instrument.block()[21] = 0x03, instrument.block()[22] = 0x27;
        instrument.block()[42] = 0xC2;  // clock-set flag clear
        connect();
        openFromMain(MAIN_CLOCK);
        ASSERT_EQ(PanelResourceId(currentPanel), PANEL_CLOCK);
        clearWire();
    }

    // Seconds, minutes, hours, byte 14, day of month, month, year within the century.
    void setClockBytes(std::array<uint8_t, 7> bytes) {
        for (int i = 0; i < 7; ++i) instrument.block()[11 + i] = bytes[i];
    }

    void setControls(int seconds, int minutes, int hours, int dayOfWeek, int day, int month,
                     int year) {
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_SECONDS, seconds));
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_MINUTES, minutes));
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_HOURS, hours));
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_DAY_OF_WEEK, dayOfWeek));
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_DAY_OF_MONTH, day));
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_MONTH, month));
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_YEAR, year));
    }
};

TEST_F(ClockPanel, ReadSendsOnlyTheReadCommandAndFillsTheControls) {
    setClockBytes({0x30, 0x15, 0x09, 0x00, 0x28, 0x02, 0x07});
    const double start = clock.now();
    press(CLOCK_READ);

    EXPECT_EQ(wire(), "r");
    ASSERT_EQ(wireTimes().size(), 1u);
    EXPECT_NEAR(wireTimes()[0] - start, 0.5, 2 * kCharTime);
    // 0.2 s after 'r', then one read that finds the acknowledgement and the text there.
    EXPECT_NEAR(clock.now() - wireTimes()[0], 0.2, 0.01);

    const int seconds = controlValue(CLOCK_SECONDS);
    EXPECT_GE(seconds, 30);  // the instrument's clock runs
    EXPECT_LE(seconds, 31);
    EXPECT_EQ(controlValue(CLOCK_MINUTES), 15);
    EXPECT_EQ(controlValue(CLOCK_HOURS), 9);
    EXPECT_EQ(controlValue(CLOCK_DAY_OF_WEEK), 1);  // stored 00 shows 1
    EXPECT_EQ(controlValue(CLOCK_DAY_OF_MONTH), 28);
    EXPECT_EQ(controlValue(CLOCK_MONTH), 2);
    EXPECT_EQ(controlValue(CLOCK_YEAR), 2007);

    EXPECT_EQ(messageLines(), std::vector<std::string>{"seconds = " + std::to_string(seconds)});
    EXPECT_FALSE(visible(messagePanel));
}

TEST_F(ClockPanel, TwoReadsAddTwoSecondsLines) {
    setClockBytes({0x10, 0x59, 0x23, 0x06, 0x31, 0x12, 0x99});
    press(CLOCK_READ);
    press(CLOCK_READ);
    const auto lines = messageLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("seconds = ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("seconds = ", 0), 0u);
    EXPECT_NE(lines[0], lines[1]);  // 0.7 s and more apart
    EXPECT_FALSE(visible(messagePanel));
    EXPECT_EQ(controlValue(CLOCK_DAY_OF_WEEK), 7);
    EXPECT_EQ(controlValue(CLOCK_YEAR), 2099);
}

TEST_F(ClockPanel, WriteSendsTheControlsAsDecimalPairsWithTheClockSetFlag) {
    instrument.faults().lowerCaseHex = true;
    Block expected = instrument.block();
    setControls(5, 7, 23, 1, 9, 12, 2099);
    const double start = clock.now();
    press(CLOCK_SET);

    const uint8_t clockBytes[] = {0x05, 0x07, 0x23, 0x00, 0x09, 0x12, 0x99};
    for (int i = 0; i < 7; ++i) expected[11 + i] = clockBytes[i];
    expected[42] = 0xCA;
    const std::string text = writeForm(expected);
    EXPECT_EQ(wire(), "rw" + text + "r");
    EXPECT_EQ(text.substr(33, 3), "05,");  // a leading zero, never a blank
    EXPECT_EQ(text.substr(42, 3), "00,");  // day of week 1
    EXPECT_EQ(text.substr(51, 3), "99,");  // 2099

    const auto times = wireTimes();
    ASSERT_EQ(times.size(), 134u);
    EXPECT_NEAR(times[0] - start, 0.0, 2 * kCharTime);  // no pause before the read
    EXPECT_NEAR(times[1] - times[0], 0.4, 0.01);
    // The re-read: 0.2 s after 'r', then the acknowledgement and the text with no pause.
    EXPECT_NEAR(clock.now() - times[133], 0.2, 0.01);

    EXPECT_TRUE(visible(donePanel));
    EXPECT_TRUE(messageLines().empty());
    EXPECT_FALSE(visible(messagePanel));
    // The instrument sets its clock from the bytes and takes the flag back.
    const Block& kept = instrument.block();
    EXPECT_GE(kept[11], 0x05);
    EXPECT_LE(kept[11], 0x06);
    expected[42] = 0xC2;
    for (int i = 12; i < 43; ++i) EXPECT_EQ(kept[i], expected[i]) << "byte " << i;
    for (int i = 0; i < 11; ++i) EXPECT_EQ(kept[i], expected[i]) << "byte " << i;
}

TEST_F(ClockPanel, WriteKeepsAClockSetFlagThatIsAlreadySet) {
    instrument.block()[42] = 0x08;
    setControls(10, 0, 0, 7, 1, 1, 2000);
    press(CLOCK_SET);
    const std::string sent = wire().substr(2, 131);
    EXPECT_EQ(sent.substr(33, 3), "10,");
    EXPECT_EQ(sent.substr(42, 3), "06,");  // day of week 7 stores 06
    EXPECT_EQ(sent.substr(48, 3), "01,");
    EXPECT_EQ(sent.substr(51, 3), "00,");  // year 2000
    EXPECT_EQ(sent.substr(126, 3), "08,");
    EXPECT_TRUE(visible(donePanel));
}

TEST_F(ClockPanel, RefusalAtWSendsNoTextAndShowsOnlyTheReply) {
    const Block before = instrument.block();
    press(CLOCK_READ);  // leaves a "seconds" line behind
    clearWire();
    instrument.faults().wrongLetterFor = 'w';
    press(CLOCK_SET);
    EXPECT_EQ(wire(), "rw");
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(instrument.blocksWritten(), 0);
    for (int i = 0; i < 43; ++i) {
        if (i < 11 || i > 17) {
            EXPECT_EQ(instrument.block()[i], before[i]) << "byte " << i;
        }
    }
}

TEST_F(ClockPanel, RefusalAtDEndsWithoutReadingBack) {
    instrument.faults().wrongLetterFor = 'D';
    press(CLOCK_SET);
    EXPECT_EQ(wire().size(), 2u + 131u);  // 'r', 'w', the text, and no re-read
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
}

TEST_F(ClockPanel, FailedReadsDecodeNothingAndWriteNothing) {
    backend.failReads(1, kComIoError);
    press(CLOCK_READ);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = -10"});
    EXPECT_TRUE(visible(messagePanel));
    press(CLOCK_SET);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"error code = -10"});
    backend.failReads(1, 0);

    instrument.faults().cutRepliesTo = 60;
    press(CLOCK_READ);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 60 of 129 characters came"});
    press(CLOCK_SET);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 60 of 129 characters came"});
    instrument.faults().cutRepliesTo = -1;

    // Stray characters ahead of each reply leave the text out of step.
    instrument.faults().garbage = true;
    press(CLOCK_READ);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: unexpected character at position 0"});
    press(CLOCK_SET);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: unexpected character at position 0"});

    EXPECT_EQ(wire(), "rrrrrr");
    EXPECT_EQ(instrument.blocksWritten(), 0);
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(controlValue(CLOCK_YEAR), 2026);  // the resource file's value, untouched
    EXPECT_EQ(controlValue(CLOCK_MONTH), 1);
}

// A field that would not fit its two-digit cell never reaches the block, even when the
// panel lets it through.
TEST_F(ClockPanel, ValuesOutsideTheCellsAreRefusedBeforeTheWrite) {
    auto* year = qobject_cast<QSpinBox*>(ControlWidget(currentPanel, CLOCK_YEAR));
    auto* dayOfWeek = qobject_cast<QSpinBox*>(ControlWidget(currentPanel, CLOCK_DAY_OF_WEEK));
    ASSERT_TRUE(year && dayOfWeek);
    year->setMaximum(3000);
    year->setValue(2100);
    dayOfWeek->setMinimum(0);
    dayOfWeek->setValue(0);
    press(CLOCK_SET);
    EXPECT_EQ(wire(), "");  // refused before any serial traffic
    EXPECT_EQ(messageLines(),
              (std::vector<std::string>{"day of week must be 1 to 100, not 0; nothing written",
                                        "year must be 2000 to 2099, not 2100; nothing written"}));
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
}

}  // namespace
