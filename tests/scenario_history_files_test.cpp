// The settings history against hostile files: entries edited by hand, a file of any size,
// and a disk that fills up in the middle of an entry.

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <fstream>
#include <iterator>

#include "feedback/panel_set.h"
#include "history/history.h"
#include "settings/history_page.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "tests/history_files_scenario.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

namespace {

TEST_F(HistoryFiles, ATamperedEntryIsSkippedAndCannotBeRestored) {
    writeByte7(123);
    HistoryEntry before = HistoryPage().entries()[1];
    ASSERT_EQ(before.stage, "before");
    // The block edited by hand: the start made FF FF FF FF FF, byte 7 99, byte 25 EE.
    std::string edited = before.text;
    for (int byte : {18, 19, 20, 21, 22}) edited.replace(3 * byte, 2, "FF");
    edited.replace(21, 2, "99");
    edited.replace(75, 2, "EE");
    const std::string tail = "\t" + std::string(kSerial) + "\tCOM1\t" + edited + before.checksum;
    std::ofstream(path(), std::ios::app)
        << before.time << "\tzz" << '\0' << "yy\tbefore" << tail << "\n"  // a NUL as well
        << before.time << "\tkx write\tbefore" << tail << "\n";

    HistoryPage page;
    EXPECT_EQ(page.entries().size(), 2u);
    EXPECT_EQ(page.note(), "lines 3, 4 of the history are damaged and were skipped");

    before.text = edited;  // as a page that did not check would have offered it
    clearWire();
    EXPECT_EQ(restoreHistoryEntry(before), RestoreOutcome::Failed);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{
                  "settings not restored: the kept entry is damaged; nothing written"});
    EXPECT_TRUE(popups.questions.empty());
    EXPECT_EQ(wire(), "");
}

TEST_F(HistoryFiles, ALineWithoutChecksumLoadsAndAnImpossibleStartInItIsNeverWritten) {
    Block kept = instrument.block();
    const std::string line =
        std::string("2025-06-15 09:00:00\tkx write\tbefore\t") + kSerial + "\tCOM1\t";
    kept[18] = kept[19] = kept[20] = kept[21] = kept[22] = 0xFF;
    std::ofstream(path()) << line << readFormOf(instrument.block()) << "\n"
                          << line << readFormOf(kept) << "\n";
    HistoryPage page;
    ASSERT_EQ(page.entries().size(), 2u);
    EXPECT_TRUE(page.entryList()->item(0)->text().endsWith("(kept without a checksum)"));
    page.selectEntry(0);
    EXPECT_EQ(page.fieldTable()->item(10, 1)->text(), "not a date: FF FF FF FF FF");

    clearWire();
    EXPECT_EQ(page.restoreSelected(), RestoreOutcome::Failed);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{
                  "start minute (byte 18) holds FF, not two decimal digits; nothing written"});
    EXPECT_TRUE(popups.questions.empty());
    EXPECT_EQ(wire(), "r");  // the instrument read, nothing written
    EXPECT_EQ(instrument.blocksWritten(), 0);
}

TEST_F(HistoryFiles, ANulInAFieldIsShownEscapedAndTheQuestionWhole) {
    writeByte7(123);
    HistoryEntry before = HistoryPage().entries()[1];
    before.action = std::string("zz\0yy", 5);
    popups.confirmAnswer = 0;
    EXPECT_EQ(restoreHistoryEntry(before), RestoreOutcome::Declined);
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].text,
              "Restore the settings kept at 2025-06-15 09:30:00 (before zz\\x00yy)?\n"
              "The clock keeps running. These fields will change:\n"
              "setting byte 7: 123 → 230");
}

TEST_F(HistoryFiles, AHugeFileLoadsItsNewestPartAndSaysWhatWasLeftOut) {
    // Lines of one length, every 997th damaged: where the loaded part starts is known.
    const std::string text = readFormOf(instrument.block());
    const std::string entry = formatHistoryLine("2025-06-15 09:00:00", "kx write", "before",
                                                kSerial, "COM1", text.c_str());
    constexpr long long kLines = 30000;
    std::string all;
    std::vector<long long> startOf(kLines + 2);
    for (long long n = 1; n <= kLines; ++n) {
        startOf[n] = static_cast<long long>(all.size());
        all += n % 997 == 0 ? std::string("damaged\n") : entry;
    }
    std::ofstream(path(), std::ios::binary) << all;
    const long long tailStart = static_cast<long long>(all.size()) - kHistoryTailBytes;
    long long first = 1;
    while (startOf[first] < tailStart) ++first;
    long long damaged = 0, entries = 0;
    std::vector<long long> named;
    for (long long n = first; n <= kLines; ++n) {
        if (n % 997 != 0)
            ++entries;
        else if (++damaged <= 5)
            named.push_back(n - first + 1);  // counted from the first line loaded
    }

    HistoryPage page;
    ASSERT_EQ(page.entries().size(), kHistoryMostEntries);
    EXPECT_EQ(page.entries().front().line, kLines - first + 1);  // the newest first
    char megabytes[16];
    std::snprintf(megabytes, sizeof megabytes, "%.1f", static_cast<double>(startOf[first]) / 1e6);
    std::string numbers;
    for (long long n : named) numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
    EXPECT_EQ(page.note().toStdString(),
              "older history not loaded: the first " + std::string(megabytes) +
                  " MB of the file and " + std::to_string(entries - 10000) +
                  " entries before the newest 10000\n" + std::to_string(damaged) +
                  " lines of the part loaded are damaged and were skipped; the first are lines " +
                  numbers);

    // The notes stay short: the table and the buttons keep their places in the window.
    page.resize(760, 640);
    page.show();
    QApplication::processEvents();
    EXPECT_LE(page.restoreButton()->geometry().bottom(), page.height());
    EXPECT_GT(page.fieldTable()->height(), 150);
}

TEST_F(HistoryFiles, AnOverLongLastLineIsSkippedAndTheEntriesBeforeItStayUsable) {
    writeByte7(123);
    writeByte7(124);
    // Longer than the part of a file that is loaded, and with no line end: all that the
    // tail of the file holds.
    std::ofstream(path(), std::ios::app | std::ios::binary)
        << std::string(static_cast<size_t>(kHistoryTailBytes) + 4096, 'x');

    HistoryPage page;
    ASSERT_EQ(page.entries().size(), 4u);
    EXPECT_EQ(page.note(), "line 5 of the history is damaged and was skipped");
    page.selectEntry(3);  // the block held before the first write
    clearWire();
    EXPECT_EQ(page.restoreSelected(), RestoreOutcome::Written);
    EXPECT_EQ(instrument.block()[7], 230);
    // The restore's entries start on lines of their own, behind the damaged one.
    EXPECT_EQ(loadHistory(path()).entries.size(), 6u);
}

TEST_F(HistoryFiles, AFullDiskLeavesNoPartOfAnEntryAndTheNextOneIsWhole) {
    writeByte7(123);
    const std::string whole = fileBytes(path());
    const size_t lineLength = whole.find('\n') + 1;

    // The entry before the write does not fit: cut back, and the operator is asked.
    SetFileSpaceLimit(20);
    popups.confirmAnswer = 0;
    clearWire();
    writeByte7(124);
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].text,
              "The settings history cannot keep the block being replaced (cannot write " + path() +
                  ": No space left on device). Write anyway?");
    EXPECT_EQ(fileBytes(path()), whole);
    EXPECT_EQ(wire().find('w'), std::string::npos);

    // The entry before fits, the entry written does not: cut back, and one line says so.
    SetFileSpaceLimit(static_cast<long long>(lineLength) + 30);
    writeByte7(125);
    EXPECT_EQ(instrument.block()[7], 125);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"settings history not saved: cannot write " +
                                                       path() + ": No space left on device"});
    EXPECT_EQ(fileBytes(path()).size(), whole.size() + lineLength);

    SetFileSpaceLimit(-1);
    writeByte7(126);
    const HistoryFile history = loadHistory(path());
    EXPECT_EQ(history.damagedCount, 0);
    ASSERT_EQ(history.entries.size(), 5u);
    EXPECT_EQ(history.entries.back().stage, "written");
}

}  // namespace
