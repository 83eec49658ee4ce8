// What the window writes when the block comes from the settings history: a kept value the
// instrument cannot take is refused before anything is sent, an entry of another instrument
// brings only the panels' settings, and a write whose read-back did not come whole says so.
#include <QComboBox>
#include <fstream>

#include "feedback/panel_set.h"
#include "history/history.h"
#include "settings/history_page.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr char kSerial[] = "QV-0000012345";
constexpr char kOther[] = "QV-0000099999";

class KeptWrites : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        putDecimalStart(instrument.block());
        connect();
    }
    // One entry kept for `serial` at 09:00, holding `block`.
    void keep(const std::string& serial, const Block& block) {
        std::ofstream(historyFilePath(serial), std::ios::app) << formatHistoryLine(
            "2025-06-15 09:00:00", "kx write", "before", serial, "COM1", readFormOf(block).c_str());
    }
    // Restores the newest entry of `serial`'s file from the History page.
    RestoreOutcome restoreNewestOf(const std::string& serial) {
        HistoryPage page;
        auto* files = page.findChild<QComboBox*>();
        files->setCurrentIndex(files->findData(QString::fromStdString(historyFilePath(serial))));
        page.selectEntry(0);
        clearWire();
        return page.restoreSelected();
    }
};

TEST_F(KeptWrites, AKeptValueTheInstrumentCannotTakeIsRefusedBeforeTheQuestion) {
    const Block before = instrument.block();
    Block kept = before;
    kept[23] = 31;
    keep(kSerial, kept);
    EXPECT_EQ(restoreNewestOf(kSerial), RestoreOutcome::Failed);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"setting byte 23 holds 31, not 0 to 15; nothing written"});
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_TRUE(popups.questions.empty());
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(clockless(instrument.block()), clockless(before));

    kept = before;
    kept[2] = 5;  // no length table has range code 5
    keep(kSerial, kept);
    EXPECT_EQ(restoreNewestOf(kSerial), RestoreOutcome::Failed);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"range code (byte 2) holds 5, not 0, 1, 2, 3 or 8; nothing "
                                       "written"});
    EXPECT_EQ(wire(), "r");
}

TEST_F(KeptWrites, AnEntryOfAnotherInstrumentBringsOnlyThePanelsSettingsAndItsQuestionSaysSo) {
    const Block before = instrument.block();
    Block other = before;
    other[1] = 100, other[3] = 0x0F, other[24] = 35;  // its own gauge's calibration
    other[7] = 12, other[23] = 3, other[30] = 0x55;
    other[42] = before[42] | 0x40;  // option bit 6
    keep(kOther, other);
    EXPECT_EQ(restoreNewestOf(kOther), RestoreOutcome::Written);
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].text,
              "Restore the settings of QV-0000099999 kept at 2025-06-15 09:00:00 (before kx "
              "write) to QV-0000012345?\nThey were kept from another instrument: only the kx, "
              "qv and scheduled start settings are taken; calibration, the clock and the other "
              "bytes stay as the instrument holds them. These fields will change:\n"
              "setting byte 7: 0 → 12\nsetting byte 23: 0 → 3\noption bit 6: off → on");
    Block expected = before;
    expected[7] = 12, expected[23] = 3, expected[42] = other[42];
    EXPECT_EQ(clockless(instrument.block()), clockless(expected));
    EXPECT_TRUE(visible(donePanel));
}

TEST_F(KeptWrites, AReadBackThatDidNotComeWholeIsSaidBesideWriteDone) {
    openFromMain(MAIN_KX);
    press(KX_READ);
    clearWire();
    // The text and its 'D' go whole; the block read back after them is cut short.
    clock.schedule(clock.now() + 1.5, [this] { instrument.faults().cutRepliesTo = 60; });
    press(KX_SET);
    EXPECT_EQ(instrument.blocksWritten(), 1);
    EXPECT_TRUE(visible(donePanel));
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{
                  "written, but the block read back did not come whole: not compared"});
    EXPECT_TRUE(visible(messagePanel));
}

}  // namespace
