// The kx settings panel as the operator meets it: read, set, refusals and failed reads,
// with the bytes on the wire and the block the instrument keeps.
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

class KxSettings : public ToolFixture {
  protected:
    void TearDown() override {
        qunsetenv("QUORVEL_UIR");
        ToolFixture::TearDown();
    }
    // Every byte but the clock distinct, many with hex letters, so that a byte moved or
    // left out shows; `flags` in byte 42.
    Block arrangeBlock(int byte7, int flags) {
        Block& block = instrument.block();
        for (int i = 0; i < 43; ++i)
            if (i < kFirstClockByte || i > kLastClockByte)
                block[i] = static_cast<uint8_t>(i * 29 + 0x1B);
        putDecimalStart(block);
        block[7] = static_cast<uint8_t>(byte7);
        block[42] = static_cast<uint8_t>(flags);
        return block;
    }
    void openPanel(bool connected = true) {
        if (connected)
            connect();
        openFromMain(MAIN_KX);
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
    // Byte 7, then the bits 6, 5, 4, 1 and 0.
    std::array<int, 6> shown() const {
        return {value(KX_BYTE7),          value(KX_OPTION6), value(KX_START_FLAG),
                value(KX_SECOND_CHANNEL), value(KX_RS232),   value(KX_OPTION0)};
    }
    // The 131 characters between 'w' and the re-read in a set's wire.
    std::string sentBlock() const { return wire().substr(2, 131); }
    double wireTime(size_t index) const { return wireTimes().at(index); }
};

TEST_F(KxSettings, ReadShowsByte7AndTheFlagBitsWhileThePanelIsDimmed) {
    arrangeBlock(5, 0x7B);  // bits 6, 5, 4, 3, 1, 0
    openPanel();
    const double start = clock.now();
    bool dimmedDuringRead = false;
    clock.schedule(start + 1.5, [&] { dimmedDuringRead = dimmed(); });

    press(KX_READ);
    EXPECT_NEAR(clock.now() - start, 2.1, 1e-6);
    EXPECT_EQ(wire(), "r");
    EXPECT_NEAR(wireTime(0) - start, 0.5, 2e-3);
    EXPECT_EQ(shown(), (std::array<int, 6>{5, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(dimmedDuringRead);
    EXPECT_FALSE(dimmed());
    EXPECT_TRUE(messageLines().empty());
    EXPECT_FALSE(visible(messagePanel));
}

TEST_F(KxSettings, ReadOfOnlyTheUnshownBitsShowsEveryFlagOff) {
    arrangeBlock(0xFE, 0x84);  // bits 7 and 2
    openPanel();
    for (int control : {KX_OPTION6, KX_START_FLAG, KX_SECOND_CHANNEL, KX_RS232, KX_OPTION0})
        SetCtrlVal(currentPanel, control, 1);
    press(KX_READ);
    EXPECT_EQ(shown(), (std::array<int, 6>{254, 0, 0, 0, 0, 0}));
}

TEST_F(KxSettings, SetWithoutChangesClearsTheClockSetFlagAndUpperCasesTheBlock) {
    Block expected = arrangeBlock(5, 0x7B);
    instrument.faults().lowerCaseHex = true;
    openPanel();
    press(KX_READ);
    clearWire();
    const double start = clock.now();

    press(KX_SET);
    expected[42] = 0x73;
    expected = withClockOf(expected, sentBlock());
    EXPECT_EQ(sentBlock().substr(21, 2), "05");
    EXPECT_EQ(wire(), "rw" + writeFormOf(expected) + "r");
    EXPECT_EQ(clockless(instrument.block()), clockless(expected));
    EXPECT_TRUE(visible(donePanel));
    EXPECT_TRUE(visible(currentPanel));
    EXPECT_FALSE(visible(messagePanel));
    EXPECT_TRUE(messageLines().empty());

    // 0.5 s settle and 0.2 s after the flush before 'r'; 0.4 s of step delays before 'w'
    // and again before the text; 0.5 s settle and 0.2 s before the re-read.
    ASSERT_EQ(wireTimes().size(), 3u + 131u);
    EXPECT_NEAR(wireTime(0) - start, 0.7, 2e-3);
    EXPECT_NEAR(wireTime(1) - wireTime(0), 0.4, 1e-6);
    EXPECT_NEAR(wireTime(2) - wireTime(1), 0.4, 1e-6);
    EXPECT_NEAR(wireTime(133) - wireTime(2), 0.7, 1e-6);
}

TEST_F(KxSettings, SetBuildsByte42FromTheControlsAlone) {
    Block expected = arrangeBlock(0x3A, 0x84);
    openPanel();
    press(KX_READ);
    ::setValue(currentPanel, KX_BYTE7, 200);
    ::setValue(currentPanel, KX_OPTION6, 1);
    ::setValue(currentPanel, KX_RS232, 1);
    clearWire();

    press(KX_SET);
    expected[7] = 200;
    expected[42] = 0x42;
    expected = withClockOf(expected, sentBlock());
    EXPECT_EQ(wire(), "rw" + writeFormOf(expected) + "r");
    EXPECT_EQ(clockless(instrument.block()), clockless(expected));
}

TEST_F(KxSettings, RefusalAtWSendsNoBlockAndHidesThePanel) {
    const Block before = arrangeBlock(5, 0x12);
    openPanel();
    instrument.faults().wrongLetterFor = 'w';
    InsertTextBoxLine(messagePanel, MESSAGE_TEXT, -1, "from before");

    press(KX_SET);
    EXPECT_EQ(wire(), "rw");
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
    EXPECT_EQ(instrument.blocksWritten(), 0);
}

TEST_F(KxSettings, RefusalAtDShowsTheAcknowledgementAndReadsNothingBack) {
    const Block before = arrangeBlock(5, 0x12);
    openPanel();
    instrument.faults().wrongLetterFor = 'D';

    press(KX_SET);
    Block sent = before;
    sent[7] = 0;  // the panel's initial values
    sent[42] = 0;
    EXPECT_EQ(wire(), "rw" + writeFormOf(withClockOf(sent, sentBlock())));
    EXPECT_EQ(messageLines(), std::vector<std::string>{"<X>OK"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

TEST_F(KxSettings, ReadBeforeAnyConnectReportsTheErrorCodeInAClearedMessagePanel) {
    openPanel(false);
    SetCtrlVal(currentPanel, KX_BYTE7, 42);
    InsertTextBoxLine(messagePanel, MESSAGE_TEXT, -1, "from before");

    press(KX_READ);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"error code = " + std::to_string(kComNotOpen)});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_TRUE(visible(currentPanel));
    EXPECT_FALSE(dimmed());
    EXPECT_EQ(value(KX_BYTE7), 42);
    EXPECT_EQ(wire(), "");
}

TEST_F(KxSettings, SetWhoseReadFailsReportsTheErrorCodeAndHidesThePanel) {
    const Block before = arrangeBlock(5, 0x12);
    openPanel();
    backend.failReads(1, kComIoError);
    press(KX_SET);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"error code = " + std::to_string(kComIoError)});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

TEST_F(KxSettings, ShortReadIsAFailedReadAndNothingIsWritten) {
    const Block before = arrangeBlock(5, 0x12);
    openPanel();
    instrument.faults().cutRepliesTo = 100;
    SetCtrlVal(currentPanel, KX_BYTE7, 42);

    press(KX_READ);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 100 of 129 characters came"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(dimmed());
    EXPECT_EQ(value(KX_BYTE7), 42);

    clearWire();
    press(KX_SET);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 100 of 129 characters came"});
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

TEST_F(KxSettings, MalformedReadIsAFailedReadAndNothingIsWritten) {
    const Block before = arrangeBlock(5, 0x12);
    openPanel();
    instrument.faults().garbage = true;  // two stray characters shift the text

    press(KX_SET);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: unexpected character at position 0"});
    EXPECT_FALSE(visible(currentPanel));
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

TEST_F(KxSettings, ReadWithoutTheTwoChecksumCharactersStillShowsTheSettings) {
    arrangeBlock(77, 0x12);
    instrument.faults().omitBlockChecksum = true;
    openPanel();
    press(KX_READ);
    EXPECT_EQ(shown(), (std::array<int, 6>{77, 0, 0, 1, 1, 0}));
    EXPECT_TRUE(messageLines().empty());
}

TEST_F(KxSettings, Byte7AboveOneByteIsKeptOutOfTheControl) {
    openPanel();
    EXPECT_NE(SetCtrlVal(currentPanel, KX_BYTE7, 256), 0);
    EXPECT_NE(SetCtrlVal(currentPanel, KX_BYTE7, -1), 0);
    EXPECT_EQ(value(KX_BYTE7), 0);
}

// With a resource file whose ranges are wider than the block allows, the set action
// itself refuses the value before anything goes to the instrument.
TEST_F(KxSettings, Byte7AboveOneByteIsRefusedBeforeAnySerialTraffic) {
    std::ifstream in(QUORVEL_SOURCE_DIR "/ui/VASKInterface.uir");
    std::stringstream original;
    original << in.rdbuf();
    const auto path = std::filesystem::temp_directory_path() / "quorvel-kx-ranges.uir";
    std::ofstream(path) << std::regex_replace(original.str(), std::regex("\"max\": 255"),
                                              "\"max\": 999");
    DiscardAllPanels();
    resetVaskInterfaceState();
    qputenv("QUORVEL_UIR", QByteArray::fromStdString(path.string()));
    ASSERT_EQ(startVaskInterface(0, nullptr), 0);
    const Block before = arrangeBlock(5, 0x12);
    openPanel();
    ASSERT_EQ(SetCtrlVal(currentPanel, KX_BYTE7, 300), 0);

    press(KX_SET);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"setting byte 7 = 300 is out of range 0 to 255"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_TRUE(visible(currentPanel));
    EXPECT_EQ(wire(), "");
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

}  // namespace
