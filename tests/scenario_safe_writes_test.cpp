// Writes that cannot overwrite the instrument by mistake: the question before writing a
// panel's defaults, dates that exist, this computer's time, the default calibration's
// question, the instrument's checksum, the block read back and a control that cannot be read.
#include <QByteArray>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "link/date_bytes.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr char kNotReadQuestion[] =
    "The values shown are the panel's defaults, not the instrument's: they were not read "
    "from it.\nWrite them to the instrument anyway?";
constexpr char kNotEnteredQuestion[] =
    "The values shown are the panel's defaults, not the instrument's: they were neither read "
    "from it nor entered.\nWrite them to the instrument anyway?";

class SafeWrites : public ToolFixture {
  protected:
    void TearDown() override {
        qunsetenv("QUORVEL_UIR");
        ToolFixture::TearDown();
    }
    void open(int mainButton) {
        connect();
        openFromMain(mainButton);
        clearWire();
    }
    int value(int control) const {
        int v = -1;
        GetCtrlVal(currentPanel, control, &v);
        return v;
    }
    void setDate(int day, int month, int year) {
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_DAY_OF_MONTH, day));
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_MONTH, month));
        EXPECT_TRUE(::setValue(currentPanel, CLOCK_YEAR, year));
    }
};

TEST_F(SafeWrites, UnreadKxValuesAreWrittenOnlyOnYesAndAReadEndsTheQuestion) {
    const Block before = instrument.block();
    open(MAIN_KX);
    popups.confirmAnswer = 0;
    press(KX_SET);
    EXPECT_EQ(wire(), "");
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].title, "Values not read");
    EXPECT_EQ(popups.questions[0].text, kNotReadQuestion);
    EXPECT_FALSE(visible(donePanel));

    popups.confirmAnswer = 1;
    press(KX_SET);
    Block sent = before;
    sent[7] = 0;
    sent[42] = 0;
    const std::string text = wire().substr(2, 131);
    EXPECT_EQ(wire(), "rw" + writeFormOf(withClockOf(sent, text)) + "r");
    EXPECT_TRUE(visible(donePanel));

    press(KX_READ);
    press(KX_SET);
    EXPECT_EQ(popups.questions.size(), 2u);  // none after the read
}

TEST_F(SafeWrites, ClockDefaultsAskUntilAFieldIsEntered) {
    open(MAIN_CLOCK);
    popups.confirmAnswer = 0;
    press(CLOCK_SET);
    EXPECT_EQ(wire(), "");
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].text, kNotEnteredQuestion);

    EXPECT_TRUE(::setValue(currentPanel, CLOCK_HOURS, 7));
    press(CLOCK_SET);
    EXPECT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(wire().substr(0, 2), "rw");
}

TEST_F(SafeWrites, DaysTheMonthDoesNotHaveAreRefusedBeforeAnyTraffic) {
    open(MAIN_CLOCK);
    setDate(31, 2, 2027);
    press(CLOCK_SET);
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{
                  "day of month 31 does not exist in February 2027; nothing written"});
    setDate(29, 2, 2027);
    press(CLOCK_SET);
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{
                  "day of month 29 does not exist in February 2027; nothing written"});
    EXPECT_FALSE(visible(donePanel));

    setDate(29, 2, 2028);
    press(CLOCK_SET);
    EXPECT_EQ(wire().substr(0, 2), "rw");
    EXPECT_TRUE(visible(donePanel));
    EXPECT_EQ(instrument.block()[15], 0x29);
    EXPECT_EQ(instrument.block()[16], 0x02);
    EXPECT_EQ(instrument.block()[17], 0x28);
}

TEST_F(SafeWrites, StartDayIsCheckedAndAStartInThePastIsWrittenOnlyOnYes) {
    open(MAIN_START);
    EXPECT_TRUE(::setValue(currentPanel, START_DAY, 31));
    EXPECT_TRUE(::setValue(currentPanel, START_MONTH, 4));
    press(START_SET);
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(messageLines(), std::vector<std::string>{
                                  "start day 31 does not exist in April 2026; nothing written"});

    // The computer reads 2025-06-15 09:30; a minute earlier is the past.
    EXPECT_TRUE(::setValue(currentPanel, START_DAY, 15));
    EXPECT_TRUE(::setValue(currentPanel, START_MONTH, 6));
    EXPECT_TRUE(::setValue(currentPanel, START_YEAR, 2025));
    EXPECT_TRUE(::setValue(currentPanel, START_HOUR, 9));
    EXPECT_TRUE(::setValue(currentPanel, START_MINUTE, 29));
    popups.confirmAnswer = 0;
    press(START_SET);
    EXPECT_EQ(wire(), "");
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].title, "Start time in the past");
    EXPECT_EQ(popups.questions[0].text,
              "The start time 2025-06-15 09:29 lies in the past of this computer's clock (now "
              "2025-06-15 09:30).\nWrite it anyway?");
    popups.confirmAnswer = 1;
    press(START_SET);
    EXPECT_EQ(wire().substr(0, 2), "rw");
    EXPECT_EQ(instrument.block()[18], 0x29);
}

TEST_F(SafeWrites, AStoredStartOfZerosReadsAsNoneAndLeavesTheControls) {
    open(MAIN_START);
    for (int i = 18; i <= 22; ++i) instrument.block()[i] = 0;
    press(START_READ);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"no scheduled start stored"});
    EXPECT_EQ(value(START_YEAR), 2026);
    EXPECT_EQ(value(START_DAY), 1);
}

TEST_F(SafeWrites, ComputerTimeFillsTheFieldsAndWritesNothingUntilSet) {
    computerNow = {2028, 2, 29, 23, 59, 58, 2};  // a Tuesday
    open(MAIN_CLOCK);
    EXPECT_EQ(controlLabel(currentPanel, CLOCK_DAY_OF_WEEK), "Day of week (1 = Sunday)");
    press(CLOCK_COMPUTER_TIME);
    EXPECT_EQ(wire(), "");
    EXPECT_EQ((std::vector<int>{value(CLOCK_YEAR), value(CLOCK_MONTH), value(CLOCK_DAY_OF_MONTH),
                                value(CLOCK_DAY_OF_WEEK), value(CLOCK_HOURS), value(CLOCK_MINUTES),
                                value(CLOCK_SECONDS)}),
              (std::vector<int>{2028, 2, 29, 3, 23, 59, 58}));
    press(CLOCK_SET);
    EXPECT_TRUE(popups.questions.empty());
    EXPECT_EQ(instrument.block()[14], 0x02);  // Tuesday, as the instrument counts from Sunday

    computerNow = {2028, 2, 29, 23, 30, 0, 2};
    press(CLOCK_MAIN);
    openFromMain(MAIN_START);
    clearWire();
    press(START_NOW_PLUS_HOUR);
    EXPECT_EQ(wire(), "");
    EXPECT_EQ((std::vector<int>{value(START_YEAR), value(START_MONTH), value(START_DAY),
                                value(START_HOUR), value(START_MINUTE)}),
              (std::vector<int>{2028, 3, 1, 0, 30}));
}

TEST_F(SafeWrites, DefaultCalibrationAsksFirst) {
    const Block before = instrument.block();
    open(MAIN_CALIBRATE);
    InsertTextBoxLine(messagePanel, MESSAGE_TEXT, -1, "from before");
    popups.confirmAnswer = 0;
    press(CAL_DEFAULT);
    EXPECT_EQ(wire(), "");
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].title, "Default calibration");
    EXPECT_EQ(popups.questions[0].text,
              "This replaces the instrument's gain and zero with the defaults for gauge type 0 "
              "and length 2.\nWrite the default calibration?");
    EXPECT_EQ(messageLines(), std::vector<std::string>{"from before"});
    EXPECT_EQ(clockless(instrument.block()), clockless(before));

    popups.confirmAnswer = 1;
    press(CAL_DEFAULT);
    EXPECT_EQ(wire().substr(0, 2), "rw");
    EXPECT_EQ(instrument.blocksWritten(), 1);
}

TEST_F(SafeWrites, AReadBackThatDiffersNamesTheBytes) {
    open(MAIN_KX);
    press(KX_READ);
    clearWire();
    const double start = clock.now();
    // The text goes out whole; the block read back comes with byte 7 changed on the way.
    clock.schedule(start + 1.5, [this] { instrument.faults().damageBlockCharacter = 21; });
    press(KX_SET);
    EXPECT_EQ(instrument.blocksWritten(), 1);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"block read back differs from the one written in byte 7"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
}

TEST_F(SafeWrites, AControlThatCannotBeReadStopsTheWriteBeforeAnyTraffic) {
    std::ifstream in(QUORVEL_SOURCE_DIR "/ui/VASKInterface.uir");
    std::stringstream original;
    original << in.rdbuf();
    const auto path = std::filesystem::temp_directory_path() / "quorvel-kx-no-byte7.uir";
    std::ofstream(path) << std::regex_replace(
        original.str(),
        std::regex(R"(\s*\{"id": 10, "kind": "numeric", "label": "Setting byte 7"[^\n]*)"), "");
    DiscardAllPanels();
    resetVaskInterfaceState();
    qputenv("QUORVEL_UIR", QByteArray::fromStdString(path.string()));
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    const Block before = instrument.block();
    open(MAIN_KX);
    press(KX_SET);
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"setting byte 7 could not be read from the panel (error " +
                                       std::to_string(UIE_InvalidControl) + "); nothing written"});
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

// One hex digit of the block text changed on the line, its checksum as the instrument
// computed it: no action writes, and the display reads show nothing of it.
struct DamagedRead {
    const char* name;
    int mainButton;
    int button;
};

class DamagedBlockText : public SafeWrites, public ::testing::WithParamInterface<DamagedRead> {};

TEST_P(DamagedBlockText, IsRefusedAndNothingIsWritten) {
    const Block before = instrument.block();
    open(GetParam().mainButton);
    instrument.faults().damageBlockCharacter = 4;  // byte 1's low digit: DF reads DF -> D4
    press(GetParam().button);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: checksum does not match"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(instrument.blocksWritten(), 0);
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
    EXPECT_TRUE(historyLines().empty());  // no write, so nothing kept
}

INSTANTIATE_TEST_SUITE_P(
    EveryReadThatChecks, DamagedBlockText,
    ::testing::Values(DamagedRead{"KxRead", MAIN_KX, KX_READ},
                      DamagedRead{"QvRead", MAIN_QV, QV_READ},
                      DamagedRead{"KxSet", MAIN_KX, KX_SET}, DamagedRead{"QvSet", MAIN_QV, QV_SET},
                      DamagedRead{"ClockSet", MAIN_CLOCK, CLOCK_SET},
                      DamagedRead{"StartSet", MAIN_START, START_SET},
                      DamagedRead{"Calibrate", MAIN_CALIBRATE, CAL_CALIBRATE},
                      DamagedRead{"DefaultCalibration", MAIN_CALIBRATE, CAL_DEFAULT}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

class UndecimalStart : public SafeWrites, public ::testing::WithParamInterface<DamagedRead> {};

// A start the instrument holds as FF goes back with every write that does not replace it:
// no write sends it, whichever action it is.
TEST_P(UndecimalStart, IsNeverWrittenAndOneLineNamesTheField) {
    for (int byte = 18; byte <= 22; ++byte) instrument.block()[byte] = 0xFF;
    const Block before = instrument.block();
    open(GetParam().mainButton);
    press(GetParam().button);
    EXPECT_EQ(wire().find('w'), std::string::npos);
    ASSERT_FALSE(messageLines().empty());
    EXPECT_EQ(messageLines().back(),
              "start minute (byte 18) holds FF, not two decimal digits; nothing written");
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
    EXPECT_TRUE(historyLines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWriteThatKeepsTheStart, UndecimalStart,
    ::testing::Values(DamagedRead{"KxSet", MAIN_KX, KX_SET}, DamagedRead{"QvSet", MAIN_QV, QV_SET},
                      DamagedRead{"ClockSet", MAIN_CLOCK, CLOCK_SET},
                      DamagedRead{"DefaultCalibration", MAIN_CALIBRATE, CAL_DEFAULT}),
    [](const auto& info) { return std::string(info.param.name); });

// Only the digits are checked: a start of 99 in every field, which no calendar has, is the
// instrument's own and goes back as it came.
TEST_F(SafeWrites, ADecimalStartGoesBackAsItCameWhateverItsValues) {
    for (int byte = 18; byte <= 22; ++byte) instrument.block()[byte] = 0x99;
    open(MAIN_KX);
    press(KX_READ);
    press(KX_SET);
    EXPECT_TRUE(visible(donePanel));
    ASSERT_NE(wire().find('w'), std::string::npos);
    EXPECT_EQ(wire().substr(wire().find('w') + 1 + 3 * 18, 15), "99,99,99,99,99,");
}

TEST(DateBytes, EachOfTheTwelveIsCheckedAndNoOtherByte) {
    std::string text;
    for (int i = 0; i < 43; ++i) text += "00,";
    EXPECT_FALSE(findDateByteFault(text.c_str()));
    for (int byte = 11; byte <= 22; ++byte) {
        std::string damaged = text;
        damaged.replace(3 * byte, 2, byte % 2 ? "9A" : "A9");
        const auto fault = findDateByteFault(damaged.c_str());
        ASSERT_TRUE(fault) << byte;
        EXPECT_EQ(fault->byte, byte);
    }
    for (int byte : {10, 23, 42}) text.replace(3 * byte, 2, "FF");
    EXPECT_FALSE(findDateByteFault(text.c_str()));
}

}  // namespace
