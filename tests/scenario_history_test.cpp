// The settings history: an entry before and after every kind of write, the History page
// with its restore, and a history that cannot be written or has a damaged line.
#include <filesystem>
#include <fstream>

#include "feedback/panel_set.h"
#include "history/history.h"
#include "settings/history_page.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr char kTime[] = "2025-06-15 09:30:00";
constexpr char kSerial[] = "QV-0000012345";

Block blockOf(const std::string& text) {
    Block block{};
    for (int i = 0; i < 43; ++i)
        block[i] = static_cast<uint8_t>(std::stoi(text.substr(3 * i, 2), nullptr, 16));
    return block;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        parts.push_back(line.substr(from, tab - from));
    parts.push_back(line.substr(from));
    return parts;
}

class History : public ToolFixture {
  protected:
    // Every byte but the clock distinct, so that a byte moved or lost shows.
    Block arrange() {
        Block& block = instrument.block();
        for (int i = 0; i < 43; ++i)
            if (i < kFirstClockByte || i > kLastClockByte)
                block[i] = static_cast<uint8_t>(i * 29 + 0x1B);
        block[1] = 223, block[2] = 0, block[3] = 0x10, block[4] = 0, block[5] = 0, block[6] = 0;
        block[24] = 20;
        block[18] = 0x30, block[19] = 0x08, block[20] = 0x01, block[21] = 0x03, block[22] = 0x27;
        block[23] = 3;
        block[42] = 0x12;
        return block;
    }
    // The 131 characters that went out after 'w': the text and its checksum.
    std::string written() const { return wire().substr(wire().find('w') + 1, 131); }
};

TEST_F(History, AKxWriteKeepsTheTextReadAndTheTextWritten) {
    const Block before = arrange();
    connect();
    openFromMain(MAIN_KX);
    press(KX_READ);
    ::setValue(currentPanel, KX_BYTE7, 123);
    clearWire();
    press(KX_SET);
    const std::string sent = written();
    const std::string prefix = std::string(kTime) + "\tkx write\t";
    // Each block with its checksum, as the instrument sends it.
    EXPECT_EQ(historyLines(),
              (std::vector<std::string>{prefix + "before\t" + kSerial + "\tCOM1\t" +
                                            writeFormOf(withClockOf(before, sent)),
                                        prefix + "written\t" + kSerial + "\tCOM1\t" + sent}));
}

struct WriteAction {
    const char* name;  // as the history names it
    int mainButton;
    int button;
};

class EveryWrite : public History, public ::testing::WithParamInterface<WriteAction> {};

TEST_P(EveryWrite, KeepsAnEntryBeforeAndAfter) {
    const Block before = arrange();
    connect();
    openFromMain(GetParam().mainButton);
    clearWire();
    press(GetParam().button);
    ASSERT_EQ(instrument.blocksWritten(), 1);
    // The clock write and the calibration also note what they did; notes are no entries.
    std::vector<std::string> lines;
    for (const std::string& line : historyLines())
        if (fields(line)[2] != "note")
            lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u);
    const auto first = fields(lines[0]), second = fields(lines[1]);
    EXPECT_EQ(first, (std::vector<std::string>{kTime, GetParam().name, "before", kSerial, "COM1",
                                               first.back()}));
    EXPECT_EQ(clockless(blockOf(first.back())), clockless(before));
    EXPECT_EQ(second, (std::vector<std::string>{kTime, GetParam().name, "written", kSerial, "COM1",
                                                written()}));
}

INSTANTIATE_TEST_SUITE_P(
    KxQvClockStartCalibrationDefault, EveryWrite,
    ::testing::Values(WriteAction{"kx write", MAIN_KX, KX_SET},
                      WriteAction{"qv write", MAIN_QV, QV_SET},
                      WriteAction{"clock write", MAIN_CLOCK, CLOCK_SET},
                      WriteAction{"start write", MAIN_START, START_SET},
                      WriteAction{"calibration", MAIN_CALIBRATE, CAL_CALIBRATE},
                      WriteAction{"default calibration", MAIN_CALIBRATE, CAL_DEFAULT}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::erase(name, ' ');
        return name;
    });

TEST_F(History, RestoreBringsTheBlockBackButTheClockAfterNamingTheFieldsThatChange) {
    const Block original = arrange();
    connect();
    openFromMain(MAIN_KX);
    press(KX_READ);
    ::setValue(currentPanel, KX_BYTE7, 123);
    press(KX_SET);
    press(KX_MAIN);
    openFromMain(MAIN_QV);
    press(QV_READ);
    ::setValue(currentPanel, QV_BYTE8, 200);
    press(QV_SET);
    instrument.block()[12] = 0x45;  // the clock has moved on meanwhile

    HistoryPage page;
    ASSERT_EQ(page.entries().size(), 4u);
    EXPECT_EQ(page.entries()[3].action, "kx write");
    EXPECT_EQ(page.entries()[3].stage, "before");
    page.selectEntry(3);
    ASSERT_TRUE(page.readInstrument());
    clearWire();
    EXPECT_EQ(page.restoreSelected(), RestoreOutcome::Written);

    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].title, "Restore settings");
    EXPECT_EQ(popups.questions[0].text,
              "Restore the settings kept at 2025-06-15 09:30:00 (before kx write)?\n"
              "The clock keeps running. These fields will change:\n"
              "setting byte 7: 123 → 230\n"
              "setting byte 8: 200 → 3");
    EXPECT_EQ(clockless(instrument.block()), clockless(original));
    EXPECT_EQ(instrument.block()[12], 0x45);
    EXPECT_TRUE(visible(donePanel));
    EXPECT_EQ(historyLines().size(), 6u);
    EXPECT_EQ(fields(historyLines()[4])[1], "restore");
}

TEST_F(History, RestoreAnsweredNoSendsNothingAfterItsRead) {
    arrange();
    connect();
    openFromMain(MAIN_KX);
    press(KX_READ);
    ::setValue(currentPanel, KX_BYTE7, 123);
    press(KX_SET);
    HistoryPage page;
    page.selectEntry(1);  // before the write
    popups.confirmAnswer = 0;
    clearWire();
    EXPECT_EQ(page.restoreSelected(), RestoreOutcome::Declined);
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(instrument.block()[7], 123);
}

TEST_F(History, AFolderThatCannotBeMadeAsksBeforeTheWriteYesWritesNoSendsNothing) {
    arrange();
    const std::string blocker = historyDir + "/not-a-folder";
    std::ofstream(blocker) << "a file where the folder should be\n";
    setHistoryFolder(blocker + "/history");
    connect();
    openFromMain(MAIN_KX);
    press(KX_READ);
    ::setValue(currentPanel, KX_BYTE7, 99);
    popups.confirmAnswer = 0;
    clearWire();
    press(KX_SET);
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].title, "Settings history");
    EXPECT_EQ(popups.questions[0].text,
              "The settings history cannot keep the block being replaced (cannot create the "
              "folder " +
                  blocker + "/history). Write anyway?");
    EXPECT_EQ(wire(), "r");  // the read before the write, and nothing after it
    EXPECT_NE(instrument.block()[7], 99);
    EXPECT_TRUE(messageLines().empty());

    popups.confirmAnswer = 1;
    press(KX_SET);
    EXPECT_EQ(instrument.block()[7], 99);
    EXPECT_TRUE(visible(donePanel));
    EXPECT_TRUE(messageLines().empty());  // the operator was told already
}

TEST_F(History, ADamagedLineIsSkippedWithANote) {
    const std::string path = historyFilePath(kSerial);
    const std::string text = readFormOf(instrument.block());
    std::ofstream(path) << kTime << "\tkx write\tbefore\t" << kSerial << "\tCOM1\t" << text << "\n"
                        << "2025-06-15 09:31:00\tkx write\tbefore\t" << kSerial << "\tCOM1\t"
                        << text.substr(0, 60) << "\n"
                        << "2025-06-15 09:32:00\tkx write\twritten\t" << kSerial << "\tCOM1\t"
                        << text << "\n";
    connect();
    HistoryPage page;
    ASSERT_EQ(page.entries().size(), 2u);
    EXPECT_EQ(page.entries()[0].time, "2025-06-15 09:32:00");  // newest first
    EXPECT_EQ(page.note(), "line 2 of the history is damaged and was skipped");
}

}  // namespace
