// The qv settings panel as the operator meets it: read, set, the inverted option bit, the
// flag bits it keeps, refusals and failed reads.
#include <QByteArray>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "app/vaskinterface.h"
#include "feedback/panel_set.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/rs232.h"
#include "ui/vaskinterface_ids.h"

namespace {

class QvSettings : public ToolFixture {
  protected:
    void TearDown() override {
        qunsetenv("QUORVEL_UIR");
        ToolFixture::TearDown();
    }
    // Every byte but the clock distinct, many with hex letters; the qv bytes within their
    // ranges; `flags` in byte 42.
    Block arrangeBlock(int flags) {
        Block& block = instrument.block();
        for (int i = 0; i < 43; ++i)
            if (i < kFirstClockByte || i > kLastClockByte)
                block[i] = static_cast<uint8_t>(i * 29 + 0x1B);
        putDecimalStart(block);
        block[7] = 0x11;
        block[8] = 0xA2;
        block[9] = 0x03;
        block[10] = 0xFF;
        block[23] = 9;
        block[42] = static_cast<uint8_t>(flags);
        return block;
    }
    void openPanel(bool connected = true) {
        if (connected)
            connect();
        openFromMain(MAIN_QV);
        clearWire();
    }
    int value(int control) const {
        int v = -1;
        GetCtrlVal(currentPanel, control, &v);
        return v;
    }
    bool dimmed() const {
        int v = -1;
        GetPanelAttribute(currentPanel, ATTR_DIMMED, &v);
        return v != 0;
    }
    // Bytes 7, 8, 9, 10, 23, then the flag controls 10, 11, 13 and 12.
    std::array<int, 9> shown() const {
        return {value(QV_BYTE7),          value(QV_BYTE8),  value(QV_BYTE9),
                value(QV_BYTE10),         value(QV_BYTE23), value(QV_START_FLAG),
                value(QV_SECOND_CHANNEL), value(QV_RS232),  value(QV_OPTION0_OFF)};
    }
    std::string sentBlock() const { return wire().substr(2, 131); }
    // Reads, then sets with the controls as the read left them; returns when the set began.
    double readThenSet() {
        press(QV_READ);
        clearWire();
        const double start = clock.now();
        press(QV_SET);
        return start;
    }
};

TEST_F(QvSettings, ReadShowsTheBytesAndOptionBit0Inverted) {
    arrangeBlock(0x00);
    openPanel();
    SetCtrlVal(currentPanel, QV_OPTION0_OFF, 0);
    const double start = clock.now();
    bool dimmedDuringRead = false;
    clock.schedule(start + 1.5, [&] { dimmedDuringRead = dimmed(); });

    press(QV_READ);
    EXPECT_NEAR(clock.now() - start, 2.1, 1e-6);
    EXPECT_EQ(wire(), "r");
    EXPECT_NEAR(wireTimes().at(0) - start, 0.5, 2e-3);
    EXPECT_EQ(shown(), (std::array<int, 9>{0x11, 0xA2, 3, 0xFF, 9, 0, 0, 0, 1}));
    EXPECT_TRUE(dimmedDuringRead);
    EXPECT_FALSE(dimmed());
    EXPECT_TRUE(messageLines().empty());
}

TEST_F(QvSettings, ReadOfBits7To2AndBit0ShowsEveryFlagControlOff) {
    arrangeBlock(0xCD);  // bits 7, 6, 3, 2, 0
    openPanel();
    for (int control : {QV_START_FLAG, QV_SECOND_CHANNEL, QV_RS232})
        SetCtrlVal(currentPanel, control, 1);
    press(QV_READ);
    EXPECT_EQ(shown(), (std::array<int, 9>{0x11, 0xA2, 3, 0xFF, 9, 0, 0, 0, 0}));
}

TEST_F(QvSettings, SetWithoutChangesKeepsBits7To2AndClearsBit6) {
    Block expected = arrangeBlock(0xCD);
    instrument.faults().lowerCaseHex = true;
    openPanel();
    const double start = readThenSet();

    expected[42] = 0x8D;
    expected = withClockOf(expected, sentBlock());
    EXPECT_EQ(wire(), "rw" + writeFormOf(expected) + "r");
    // The instrument takes the clock-set flag (bit 3) as an order to set its clock, and
    // clears it once done.
    expected[42] = 0x85;
    EXPECT_EQ(clockless(instrument.block()), clockless(expected));
    EXPECT_TRUE(visible(donePanel));
    EXPECT_TRUE(visible(currentPanel));
    EXPECT_TRUE(messageLines().empty());

    // No pause between the flush and 'r', unlike the kx set.
    ASSERT_EQ(wireTimes().size(), 3u + 131u);
    EXPECT_NEAR(wireTimes()[0] - start, 0.5, 2e-3);
    EXPECT_NEAR(wireTimes()[1] - wireTimes()[0], 0.4, 1e-6);
    EXPECT_NEAR(wireTimes()[2] - wireTimes()[1], 0.4, 1e-6);
    EXPECT_NEAR(wireTimes()[133] - wireTimes()[2], 0.7, 1e-6);
}

TEST_F(QvSettings, SetOfAnAllClearFlagByteWritesItBackAndByte23AsOneDigit) {
    const Block before = arrangeBlock(0x00);
    openPanel();
    readThenSet();
    EXPECT_EQ(sentBlock(), writeFormOf(withClockOf(before, sentBlock())));
    EXPECT_EQ(sentBlock().substr(69, 3), "09,");
    EXPECT_EQ(sentBlock().substr(126, 3), "00,");
}

TEST_F(QvSettings, SetWritesEveryControlIntoItsByteAndOption0Inverted) {
    Block expected = arrangeBlock(0x01);
    openPanel();
    press(QV_READ);
    EXPECT_EQ(value(QV_OPTION0_OFF), 0);
    ::setValue(currentPanel, QV_BYTE7, 250);
    ::setValue(currentPanel, QV_BYTE8, 0);
    ::setValue(currentPanel, QV_BYTE9, 10);
    ::setValue(currentPanel, QV_BYTE10, 16);
    ::setValue(currentPanel, QV_BYTE23, 15);
    ::setValue(currentPanel, QV_OPTION0_OFF, 1);
    ::setValue(currentPanel, QV_START_FLAG, 1);
    ::setValue(currentPanel, QV_SECOND_CHANNEL, 1);
    ::setValue(currentPanel, QV_RS232, 1);
    clearWire();

    press(QV_SET);
    expected[7] = 250;
    expected[8] = 0;
    expected[9] = 10;
    expected[10] = 16;
    expected[23] = 15;
    expected[42] = 0x32;
    expected = withClockOf(expected, sentBlock());
    EXPECT_EQ(wire(), "rw" + writeFormOf(expected) + "r");
    EXPECT_EQ(clockless(instrument.block()), clockless(expected));

    ::setValue(currentPanel, QV_OPTION0_OFF, 0);
    ::setValue(currentPanel, QV_START_FLAG, 0);
    press(QV_SET);
    EXPECT_EQ(instrument.block()[42], 0x13);
}

TEST_F(QvSettings, Byte23AboveOneDigitIsReportedAndNotShown) {
    arrangeBlock(0x00);
    instrument.block()[23] = 0x20;
    openPanel();
    SetCtrlVal(currentPanel, QV_BYTE23, 7);
    press(QV_READ);
    EXPECT_EQ(shown(), (std::array<int, 9>{0x11, 0xA2, 3, 0xFF, 7, 0, 0, 0, 1}));
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"setting byte 23 = 32 is out of range 0 to 15, not shown"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(dimmed());
}

TEST_F(QvSettings, RefusalsShowTheAcknowledgementAndHideThePanel) {
    const Block before = arrangeBlock(0x12);
    openPanel();
    instrument.faults().wrongLetterFor = 'w';
    press(QV_SET);
    EXPECT_EQ(wire(), "rw");
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(currentPanel));

    navigateTo(PANEL_QV);  // a fresh panel, as the operator would open it again
    instrument.faults().wrongLetterFor = 'D';
    clearWire();
    press(QV_SET);
    EXPECT_EQ(wire().size(), 2u + 131u);  // no re-read
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

TEST_F(QvSettings, FailedReadsHideThePanelOnSetAndWriteNothing) {
    openPanel(false);
    press(QV_SET);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"error code = " + std::to_string(kComNotOpen)});
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_EQ(wire(), "");

    const Block before = arrangeBlock(0x12);
    navigateTo(PANEL_MAIN);
    openPanel();
    instrument.faults().cutRepliesTo = 128;
    press(QV_SET);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 128 of 129 characters came"});
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

TEST_F(QvSettings, ValuesBeyondTheirCellsAreRefusedBeforeAnySerialTraffic) {
    openPanel(false);
    EXPECT_NE(SetCtrlVal(currentPanel, QV_BYTE23, 16), 0);
    EXPECT_NE(SetCtrlVal(currentPanel, QV_BYTE9, 256), 0);

    // A resource file whose ranges are wider than the block allows.
    std::ifstream in(QUORVEL_SOURCE_DIR "/ui/VASKInterface.uir");
    std::stringstream original;
    original << in.rdbuf();
    std::string widened =
        std::regex_replace(original.str(), std::regex("\"max\": 255"), "\"max\": 999");
    widened = std::regex_replace(widened, std::regex("\"max\": 15\\b"), "\"max\": 99");
    const auto path = std::filesystem::temp_directory_path() / "quorvel-qv-ranges.uir";
    std::ofstream(path) << widened;
    DiscardAllPanels();
    resetVaskInterfaceState();
    qputenv("QUORVEL_UIR", QByteArray::fromStdString(path.string()));
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    const Block before = arrangeBlock(0x12);
    openPanel();
    ASSERT_EQ(SetCtrlVal(currentPanel, QV_BYTE8, 256), 0);
    ASSERT_EQ(SetCtrlVal(currentPanel, QV_BYTE23, 16), 0);

    press(QV_SET);
    EXPECT_EQ(messageLines(), (std::vector<std::string>{
                                  "setting byte 8 = 256 is out of range 0 to 255",
                                  "setting byte 23 = 16 is out of range 0 to 15",
                              }));
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_TRUE(visible(currentPanel));
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

}  // namespace
