// Notes in the settings history: free text that survives its line, a note never taken for
// settings, and files of older tools (entries alone) loading as before.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "history/history.h"
#include "tests/block_forms.h"

namespace {

TEST(HistoryNotes, FreeTextWithTabsAndLineEndsReadsBackWhole) {
    const HistoryNote note{"2025-06-15 09:30:00",
                           kCalibrationNote,
                           "QV-0000012345",
                           "COM1",
                           {{"trace", "read back buffer\n00,\t1F,\r\n\\end\x1b"}, {"a=b", "c=d"}},
                           0};
    const std::string line = formatNoteLine(note);
    EXPECT_EQ(line,
              "2025-06-15 09:30:00\tcalibration\tnote\tQV-0000012345\tCOM1\t"
              "trace=read back buffer\\n00,\\t1F,\\r\\n\\\\end\\x1b\ta=b=c=d\n");
    HistoryNote read;
    ASSERT_TRUE(parseNoteLine(line.substr(0, line.size() - 1), read));
    EXPECT_EQ(read.fact("trace"), "read back buffer\n00,\t1F,\r\n\\end\x1b");
    EXPECT_EQ(read.fact("a"), "b=c=d");  // the first '=' ends the name
    EXPECT_EQ(read.kind, "calibration");
}

// A file as the window now writes it: entries, notes between them, an entry of an older
// tool without a checksum and a damaged line. Notes are kept apart and are never entries.
TEST(HistoryNotes, TheLoaderKeepsNotesApartFromTheEntriesAndCountsNoNoteAsDamaged) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("QV-0000012345.txt").toStdString();
    Block block{};
    block[42] = 0x02;
    const std::string text = readFormOf(block);
    {
        std::ofstream file(path);
        file << "2025-06-15 09:00:00\tkx write\tbefore\tQV-0000012345\tCOM1\t" << text << "\n"
             << formatNoteLine({"2025-06-15 09:01:00",
                                kClockReadNote,
                                "QV-0000012345",
                                "COM1",
                                {{"instrument", "2025-06-15 09:03:13"}, {"drift", "133"}},
                                0})
             << formatHistoryLine("2025-06-15 09:02:00", "overview read", kReadStage,
                                  "QV-0000012345", "COM1", text.c_str())
             << "2025-06-15 09:03:00\tlive run\tnote\tQV\tCOM1\tno equals sign\n"
             << "2025-06-15 09:04:00\tkx write\tnote\tQV-0000012345\tCOM1\t" << text << "\n";
    }
    const HistoryFile history = loadHistory(path);
    ASSERT_EQ(history.entries.size(), 2u);
    EXPECT_EQ(history.entries[0].checksum, "");
    EXPECT_EQ(history.entries[1].stage, "read");
    ASSERT_EQ(history.notes.size(), 1u);
    EXPECT_EQ(history.notes[0].fact("drift"), "133");
    EXPECT_EQ(history.notes[0].line, 2);
    // A note without its facts' form is damaged, and so is a block whose stage says note.
    EXPECT_EQ(history.damagedCount, 2);
    EXPECT_EQ(history.firstDamagedLines, (std::vector<long long>{4, 5}));
}

}  // namespace
