// The rule every block write keeps: what each field the write changes may hold, with the
// line that refuses it, and the instrument's own values passing back unchanged; and the
// verdict on a write, in the words the window and the command line both give.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "history/write_verdict.h"
#include "link/write_rule.h"

namespace {

// A block as an instrument holds it after a calibration and a clock set: every field in
// range, the scheduled start none stored.
std::string sound() {
    std::string text;
    const int bytes[43] = {0x1B, 223,  0,    0x10, 0x00, 0xFE, 0x0C, 5, 0, 0,   0,
                           0x30, 0x59, 0x23, 0x06, 0x29, 0x02, 0x28, 0, 0, 0,   0,
                           0,    15,   20,   0,    0,    0,    0,    0, 0, 0,   0,
                           0,    0,    0,    0,    0,    0,    0,    0, 0, 0x0A};
    for (int value : bytes) {
        char group[4];
        std::snprintf(group, sizeof group, "%02X,", value);
        text += group;
    }
    return text;
}

std::string with(std::string text, std::initializer_list<std::pair<int, const char*>> pairs) {
    for (const auto& [byte, pair] : pairs) text.replace(3 * static_cast<size_t>(byte), 2, pair);
    return text;
}

// The line a write of `text` over `read` gets, or "" when it may go.
std::string refusal(const std::string& read, const std::string& text) {
    const auto fault = findWriteFault(read.c_str(), text.c_str());
    return fault ? writeFaultText(*fault) : std::string();
}

struct Case {
    std::initializer_list<std::pair<int, const char*>> changed;
    const char* line;
};

TEST(WriteRule, EachFieldAWriteChangesMustHoldAValueItCanTake) {
    const Case cases[] = {
        {{{1, "1F"}},
         "scale trim (byte 1) holds 31, not 32 to 254, the scale trims of the length "
         "tables; nothing written"},
        {{{2, "05"}}, "range code (byte 2) holds 5, not 0, 1, 2, 3 or 8; nothing written"},
        {{{3, "00"}}, "gain (bytes 3 and 4) holds 0, not 1 to 32767; nothing written"},
        {{{3, "FF"}, {4, "FF"}}, "gain (bytes 3 and 4) holds -1, not 1 to 32767; nothing written"},
        {{{11, "60"}}, "clock seconds (byte 11) holds 60, not 0 to 59; nothing written"},
        {{{13, "24"}}, "clock hours (byte 13) holds 24, not 0 to 23; nothing written"},
        {{{14, "07"}},
         "clock day of week (byte 14) holds 07, not 0 (Sunday) to 6 (Saturday); nothing written"},
        {{{15, "30"}},
         "clock day of month (byte 15) holds 30, not 1 to 29 in February 2028; nothing written"},
        {{{16, "13"}}, "clock month (byte 16) holds 13, not 1 to 12; nothing written"},
        {{{18, "08"}, {19, "00"}, {20, "15"}, {21, "99"}, {22, "26"}},
         "start month (byte 21) holds 99, not 1 to 12; nothing written"},
        {{{18, "08"}, {19, "00"}, {20, "31"}, {21, "04"}, {22, "26"}},
         "start day (byte 20) holds 31, not 1 to 30 in April 2026; nothing written"},
        {{{18, "60"}, {19, "00"}, {20, "01"}, {21, "04"}, {22, "26"}},
         "start minute (byte 18) holds 60, not 0 to 59; nothing written"},
        {{{23, "1F"}}, "setting byte 23 holds 31, not 0 to 15; nothing written"},
        {{{24, "07"}},
         "gauge length (byte 24) holds 7 tenths, not the tenths of a table length (2, 5, or 10 "
         "to 110 in steps of 5); nothing written"},
    };
    const std::string read = sound();
    for (const Case& c : cases) {
        const std::string text = with(read, c.changed);
        EXPECT_EQ(refusal(read, text), c.line);
        // The same values as the instrument's own, sent back unchanged, pass.
        EXPECT_EQ(refusal(text, text), "") << c.line;
    }
}

TEST(WriteRule, ValuesTheCalibrationAndTheCalendarWriteAllPass) {
    const std::string read = sound();
    EXPECT_EQ(refusal(read, with(read, {{1, "20"}, {2, "08"}, {24, "6E"}})), "");  // 32, 8, 11.0
    EXPECT_EQ(refusal(read, with(read, {{1, "FE"}, {3, "7F"}, {4, "FF"}, {24, "02"}})), "");
    EXPECT_EQ(refusal(read, with(read, {{15, "29"}, {16, "02"}, {17, "28"}})), "");  // leap day
    EXPECT_EQ(refusal(read, with(read, {{18, "59"}, {19, "23"}, {20, "31"}, {21, "12"}})), "");
    // A start of zeros is the instrument's "none stored": a restore may put it back.
    const std::string started = with(read, {{18, "30"}, {19, "08"}, {20, "01"}, {21, "03"}});
    EXPECT_EQ(refusal(started, read), "");
    // The zero takes every 16-bit value; the setting bytes 7 to 10 every byte.
    EXPECT_EQ(refusal(read, with(read, {{5, "80"}, {6, "00"}, {7, "FF"}, {10, "FF"}})), "");
}

TEST(WriteRule, TheInstrumentsOwnImpossibleValuesGoBackWhenTheWriteLeavesThem) {
    // A fresh clock of 00 month and day, a byte 23 beyond one digit, an unknown range code.
    const std::string read = with(sound(), {{15, "00"}, {16, "00"}, {23, "1F"}, {2, "07"}});
    const std::string kxWrite = with(read, {{7, "0C"}, {42, "62"}});
    EXPECT_EQ(refusal(read, kxWrite), "");
    // A clock write changes the clock: the whole of it must then exist.
    EXPECT_EQ(refusal(read, with(read, {{11, "00"}, {16, "05"}})),
              "clock day of month (byte 15) holds 00, not 1 to 31 in May 2028; nothing written");
}

TEST(WriteRule, DateBytesMustBeTwoDecimalDigitsWhetherChangedOrNot) {
    const std::string read = with(sound(), {{18, "FF"}});
    EXPECT_EQ(refusal(read, read),
              "start minute (byte 18) holds FF, not two decimal digits; nothing written");
    EXPECT_EQ(refusal(sound(), with(sound(), {{12, "5a"}})),
              "clock minutes (byte 12) holds 5A, not two decimal digits; nothing written");
}

KeptWrite ended(WriteResult result, int ackStatus, const char* ack = "") {
    KeptWrite write;
    write.result = result;
    write.reread = Reread::AfterStepDelay;
    write.ack.status = ackStatus;
    std::snprintf(write.ack.text, sizeof write.ack.text, "%s", ack);
    write.readBack.compared = true;
    return write;
}

TEST(WriteVerdict, EveryEndOfAWriteIsSaidInWordsAndOnlyAMatchingReadBackConfirmsIt) {
    KeptWrite cut = ended(WriteResult::Written, 5), differs = cut, unread = cut, declined = cut;
    cut.readBack.compared = false;
    differs.readBack.differing = uint64_t{1} << 7;
    unread.reread = Reread::None;
    declined.result = WriteResult::NotSent;
    declined.declined = true;
    const struct {
        KeptWrite write;
        bool confirmed;
        const char* words;
    } cases[] = {
        {ended(WriteResult::Written, 5), true, "written; the block read back matches"},
        {unread, true, "written"},
        {cut, false, "written, but the block read back did not come whole: not compared"},
        {differs, false, "block read back differs from the one written in byte 7"},
        {ended(WriteResult::RefusedAtW, 5, "<X>OK"), false,
         "the instrument refused the write: 'w' was answered with <X>OK"},
        {ended(WriteResult::RefusedAtW, 0), false,
         "the instrument did not answer the write command 'w'; nothing was written"},
        {ended(WriteResult::RefusedAtW, -11), false,
         "the answer to the write command 'w' could not be read (error code = -11); nothing "
         "was written"},
        {ended(WriteResult::RefusedAtD, 5, "<d>OK"), false,
         "the instrument did not take the block written (it may still hold the old one): it "
         "answered <d>OK"},
        {ended(WriteResult::RefusedAtD, 0), false,
         "the instrument did not acknowledge the block written: it may hold the old block or "
         "the new one"},
        {declined, false, ""},
    };
    for (const auto& c : cases) {
        const WriteVerdict verdict = writeVerdict(c.write);
        EXPECT_EQ(verdict.words, c.words);
        EXPECT_EQ(verdict.confirmed, c.confirmed) << c.words;
    }
}

}  // namespace
