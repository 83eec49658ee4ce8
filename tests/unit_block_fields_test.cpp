// The settings block by field name, as the command line sets it, and the comparisons a
// restore and a write start from: the bytes and bits a name reaches, and nothing else.
#include <gtest/gtest.h>

#include <string>

#include "history/restore.h"
#include "link/block_fields.h"
#include "link/date_bytes.h"
#include "toolkit/platform/calendar.h"

namespace {

// The read form of 43 bytes of `value`, bytes given in `bytes` aside.
std::string blockText(int value, std::initializer_list<std::pair<int, int>> bytes = {}) {
    std::string text;
    for (int i = 0; i < 43; ++i) {
        int v = value;
        for (const auto& [index, byte] : bytes)
            if (index == i)
                v = byte;
        char group[4];
        std::snprintf(group, sizeof group, "%02X,", v);
        text += group;
    }
    return text;
}

TEST(BlockFieldNames, AreFoundAsThePagesNameThemAndTakeOnlyValuesTheirCellsHold) {
    EXPECT_EQ(findBlockField("rs232_data_flag"), findBlockField("RS232 data flag"));
    EXPECT_EQ(findBlockField("Setting-Byte-7")->name, std::string("setting byte 7"));
    EXPECT_EQ(findBlockField("setting byte 77"), nullptr);

    const BlockFieldView& byte7 = *findBlockField("setting byte 7");
    const BlockFieldView& byte23 = *findBlockField("setting byte 23");
    const BlockFieldView& flag = *findBlockField("second channel flag");
    EXPECT_EQ(parseFieldValue(byte7, "255"), 255);
    EXPECT_EQ(parseFieldValue(byte7, "256"), std::nullopt);
    EXPECT_EQ(parseFieldValue(byte7, "-1"), std::nullopt);
    EXPECT_EQ(parseFieldValue(byte7, "12a"), std::nullopt);
    EXPECT_EQ(parseFieldValue(byte23, "15"), 15);  // one hex digit of room
    EXPECT_EQ(parseFieldValue(byte23, "16"), std::nullopt);
    EXPECT_EQ(parseFieldValue(flag, "ON"), 1);
    EXPECT_EQ(parseFieldValue(flag, "0"), 0);
    EXPECT_EQ(parseFieldValue(flag, "2"), std::nullopt);
    // Calibration, the clock and the flags no panel sets are shown, never set by name.
    for (const char* name : {"gain", "gauge length", "clock", "clock set flag", "flag bit 7"})
        EXPECT_EQ(parseFieldValue(*findBlockField(name), "1"), std::nullopt) << name;
}

TEST(BlockFieldNames, ASetChangesTheCharactersOfItsByteOrBitAlone) {
    const std::string before = blockText(0xA5, {{42, 0x8D}});
    std::string text = before;
    putFieldValue(text.data(), *findBlockField("setting byte 9"), 10);
    putFieldValue(text.data(), *findBlockField("RS232 data flag"), 1);
    putFieldValue(text.data(), *findBlockField("option bit 0"), 0);
    std::string expected = before;
    expected.replace(27, 2, "0a");
    expected.replace(126, 2, "8e");  // 0x8D with bit 1 set and bit 0 cleared
    EXPECT_EQ(text, expected);
    EXPECT_EQ(changedFields(before.c_str(), text.c_str()),
              (std::vector<std::string>{"setting byte 9: 165 → 10", "option bit 0: on → off",
                                        "RS232 data flag: off → on"}));
}

TEST(DateBytes, ATimeGoesInWholeOrNotAtAll) {
    std::string text = blockText(0);
    const CalendarTime time{2031, 6, 15, 9, 5, 7, 0};
    EXPECT_TRUE(putClockBytes(text.data(), time));
    EXPECT_EQ(text.substr(33, 21), "07,05,09,00,15,06,31,");
    EXPECT_TRUE(putStartBytes(text.data(), time));
    EXPECT_EQ(text.substr(54, 15), "05,09,15,06,31,");

    const std::string kept = text;
    EXPECT_FALSE(putClockBytes(text.data(), CalendarTime{2100, 1, 1, 0, 0, 0, 5}));
    EXPECT_FALSE(putStartBytes(text.data(), CalendarTime{1999, 12, 31, 23, 59, 0, 5}));
    EXPECT_EQ(text, kept);
}

TEST(Restore, PutsBackEveryByteButTheRunningClockAndItsFlag) {
    HistoryEntry entry;
    entry.text = blockText(0x11, {{42, 0x02}});
    const std::string now = blockText(0x22, {{42, 0x08}});
    const RestorePlan plan = planRestore(entry, now.c_str());
    std::string expected = entry.text;
    expected.replace(33, 21, now.substr(33, 21));  // bytes 11 to 17 as the instrument runs
    expected.replace(126, 2, "0a");                // the entry's flags, the clock-set flag kept
    EXPECT_EQ(plan.text, expected);
    for (const std::string& change : plan.changes)
        EXPECT_TRUE(change.rfind("clock", 0) != 0) << change;
}

}  // namespace
