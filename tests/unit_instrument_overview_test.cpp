// The instrument at a glance: each state of the link, a kept block field by field in
// words, and every warning with the page that mends it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/instrument_overview.h"
#include "tests/block_forms.h"

namespace {

const CalendarTime kNow{2025, 6, 15, 9, 30, 0, 0};

// Type 0 at length 2.0, gain 4096, the clock 2025-06-15 09:30:00 (a Sunday) and set, no
// scheduled start, RS232 data on, one value a record.
Block soundBlock() {
    Block b{};
    b[1] = 223, b[2] = 0, b[3] = 0x10, b[24] = 20;
    b[11] = 0x00, b[12] = 0x30, b[13] = 0x09, b[14] = 0x00, b[15] = 0x15, b[16] = 0x06;
    b[17] = 0x25;
    b[42] = 0x0A;
    return b;
}

HistoryEntry entryOf(const Block& block, const char* stage = kReadStage,
                     const char* time = "2025-06-15 09:30:00",
                     const char* action = "overview read") {
    HistoryEntry entry;
    entry.time = time;
    entry.action = action;
    entry.stage = stage;
    entry.serialNumber = "QV-0000012345";
    entry.port = "COM1";
    entry.text = readFormOf(block);
    return entry;
}

std::vector<std::string> linesOf(const InstrumentOverview& overview) {
    std::vector<std::string> lines{overview.headline};
    for (const OverviewRow& row : overview.rows) lines.push_back(row.caption + ": " + row.value);
    for (const OverviewWarning& warning : overview.warnings)
        lines.push_back("Warning: " + warning.text);
    return lines;
}

InstrumentOverview describe(const HistoryEntry* kept) {
    OverviewInput input;
    input.link = LinkOutcome::Identified;
    input.port = "COM1 \u00b7 /dev/ttyUSB0 (FT232R USB UART)";
    input.serialNumber = "QV-0000012345";
    input.kept = kept;
    input.now = kNow;
    return describeInstrument(input);
}

std::string row(const InstrumentOverview& overview, const std::string& caption) {
    for (const OverviewRow& r : overview.rows)
        if (r.caption == caption)
            return r.value;
    return "(no row " + caption + ")";
}

TEST(InstrumentOverview, BeforeAnyAnswerItSaysHowToGoOn) {
    OverviewInput input;
    EXPECT_EQ(linesOf(describeInstrument(input)),
              (std::vector<std::string>{"Not connected. Choose the instrument's port above "
                                        "(Ports… gives a port its device), then press Connect."}));
    input.link = LinkOutcome::NoAnswer;
    input.port = "COM2 \u00b7 /dev/ttyS1";
    EXPECT_EQ(describeInstrument(input).headline,
              "No instrument answered on COM2 \u00b7 /dev/ttyS1. Press the instrument's button "
              "(it may be asleep), then press Connect again.");
    input.link = LinkOutcome::PortNotOpen;
    EXPECT_EQ(describeInstrument(input).headline,
              "COM2 \u00b7 /dev/ttyS1 could not be opened; the messages say why. Choose another "
              "port, or give it its device with Ports…, then press Connect.");
    EXPECT_TRUE(describeInstrument(input).rows.empty());
}

TEST(InstrumentOverview, ConnectedWithNothingKept) {
    EXPECT_EQ(
        linesOf(describe(nullptr)),
        (std::vector<std::string>{
            "Connected to Quorvel QV-0000012345.",
            "Port: COM1 \u00b7 /dev/ttyUSB0 (FT232R USB UART)",
            "Settings: none kept for this instrument yet; press Read instrument to read them"}));
}

TEST(InstrumentOverview, ASoundBlockReadNowHasEveryFieldInWordsAndNoWarning) {
    const HistoryEntry kept = entryOf(soundBlock());
    EXPECT_EQ(linesOf(describe(&kept)),
              (std::vector<std::string>{
                  "Connected to Quorvel QV-0000012345.",
                  "Port: COM1 \u00b7 /dev/ttyUSB0 (FT232R USB UART)",
                  "Settings: as read at 09:30 today",
                  "Clock: 2025-06-15 09:30:00 when read, within 1 s of this computer",
                  "Clock set: yes",
                  "Scheduled start: off",
                  "Gauge: length 2.0, type 0",
                  "Gain and zero: gain 4096, zero 0",
                  "Values a record: one",
                  "RS232 data: on",
              }));
}

TEST(InstrumentOverview, DriftAheadAndBehindWarnsOnlyBeyondAMinute) {
    struct Case {
        int seconds, minutes, hours;  // the instrument's clock; the computer's was 09:30:00
        const char* words;
        bool warned;
    };
    const Case cases[] = {
        {1, 30, 9, "within 1 s of this computer", false},
        {59, 29, 9, "within 1 s of this computer", false},
        {0, 31, 9, "1 min ahead of this computer", false},
        {1, 31, 9, "1 min 1 s ahead of this computer", true},
        {13, 32, 9, "2 min 13 s ahead of this computer", true},
        {15, 29, 9, "45 s behind this computer", false},
        {59, 28, 9, "1 min 1 s behind this computer", true},
        {55, 27, 8, "1 h 2 min behind this computer", true},
    };
    for (const Case& c : cases) {
        Block block = soundBlock();
        block[11] = static_cast<uint8_t>(c.seconds / 10 * 16 + c.seconds % 10);
        block[12] = static_cast<uint8_t>(c.minutes / 10 * 16 + c.minutes % 10);
        block[13] = static_cast<uint8_t>(c.hours);
        const HistoryEntry kept = entryOf(block);
        const InstrumentOverview overview = describe(&kept);
        EXPECT_EQ(row(overview, "Clock"), std::string("2025-06-15 0") + std::to_string(c.hours) +
                                              ":" + std::to_string(c.minutes) + ":" +
                                              (c.seconds < 10 ? "0" : "") +
                                              std::to_string(c.seconds) + " when read, " + c.words);
        ASSERT_EQ(overview.warnings.size(), c.warned ? 1u : 0u) << c.words;
        if (c.warned) {
            EXPECT_EQ(overview.warnings[0].text,
                      std::string("The instrument's clock was ") + c.words +
                          " when read. Set it from this computer's time.");
            EXPECT_EQ(overview.warnings[0].place, OverviewPlace::Clock);
        }
    }
}

// The clock page's read, noted after the block was kept, gives the clock its reading.
TEST(InstrumentOverview, ANewerClockReadIsTheClocksReading) {
    const HistoryEntry kept = entryOf(soundBlock());
    HistoryNote read{"2025-06-15 09:31:00",
                     kClockReadNote,
                     "QV-0000012345",
                     "COM1",
                     {{"instrument", "2025-06-15 09:26:55"}, {"drift", "-245"}},
                     0};
    OverviewInput input;
    input.link = LinkOutcome::Identified;
    input.kept = &kept;
    input.clockRead = &read;
    input.now = kNow;
    const InstrumentOverview overview = describeInstrument(input);
    EXPECT_EQ(row(overview, "Clock"),
              "2025-06-15 09:26:55 when read, 4 min 5 s behind this computer");
    ASSERT_EQ(overview.warnings.size(), 1u);
    EXPECT_EQ(overview.warnings[0].text,
              "The instrument's clock was 4 min 5 s behind this computer when read. Set it from "
              "this computer's time.");
    read.time = "2025-06-15 09:29:59";  // older than the block: the block's clock counts
    EXPECT_EQ(row(describeInstrument(input), "Clock"),
              "2025-06-15 09:30:00 when read, within 1 s of this computer");
}

TEST(InstrumentOverview, ScheduledStartAheadOrPassed) {
    Block block = soundBlock();
    block[42] |= 0x20;
    block[18] = 0x00, block[19] = 0x10, block[20] = 0x05, block[21] = 0x09, block[22] = 0x25;
    HistoryEntry kept = entryOf(block);
    InstrumentOverview overview = describe(&kept);
    EXPECT_EQ(row(overview, "Scheduled start"), "armed for 2025-09-05 10:00, in 82 days");
    EXPECT_TRUE(overview.warnings.empty());

    block[18] = 0x45, block[19] = 0x11, block[20] = 0x15, block[21] = 0x06;
    kept = entryOf(block);
    EXPECT_EQ(row(describe(&kept), "Scheduled start"), "armed for 2025-06-15 11:45, in 2 h 15 min");

    block[18] = 0x00, block[19] = 0x08, block[20] = 0x13;
    kept = entryOf(block);
    overview = describe(&kept);
    EXPECT_EQ(row(overview, "Scheduled start"),
              "armed for 2025-06-13 08:00, 2 days ago: it has passed");
    ASSERT_EQ(overview.warnings.size(), 1u);
    EXPECT_EQ(overview.warnings[0].text,
              "The scheduled start, 2025-06-13 08:00, has passed: the instrument will not start "
              "by it. Set a new start.");
    EXPECT_EQ(overview.warnings[0].place, OverviewPlace::ScheduledStart);
}

// A block written by a kx write, on another day: RS232 data off, the clock never set, two
// values a record, the scale settings of a default calibration of type 2, and setting byte
// 23 beyond its one hex digit. The passed start comes first of the warnings.
TEST(InstrumentOverview, AWrittenBlockWithEveryOtherWarning) {
    Block block = soundBlock();
    block[1] = 199, block[2] = 8;
    block[5] = 0xFE, block[6] = 0x0C;
    block[23] = 0x20;
    block[42] = 0x10 | 0x20;
    block[18] = 0x00, block[19] = 0x08, block[20] = 0x13, block[21] = 0x06, block[22] = 0x25;
    const HistoryEntry kept = entryOf(block, kWrittenStage, "2025-06-14 17:05:09", "kx write");
    const InstrumentOverview overview = describe(&kept);
    EXPECT_EQ(linesOf(overview),
              (std::vector<std::string>{
                  "Connected to Quorvel QV-0000012345.",
                  "Port: COM1 \u00b7 /dev/ttyUSB0 (FT232R USB UART)",
                  "Settings: as written at 17:05 on 2025-06-14 by the kx write",
                  "Clock: 2025-06-15 09:30:00 as written, not compared with this computer",
                  "Clock set: never (the clock-set flag is off)",
                  "Scheduled start: armed for 2025-06-13 08:00, 2 days ago: it has passed",
                  "Gauge: length 2.0, type 2 (default calibration)",
                  "Gain and zero: gain 4096, zero -500",
                  "Values a record: two (second channel on)",
                  "RS232 data: off",
                  "Warning: The scheduled start, 2025-06-13 08:00, has passed: the instrument "
                  "will not start by it. Set a new start.",
                  "Warning: RS232 data is off, so no live run can start. Switch it on in the kx "
                  "or qv settings.",
                  "Warning: The instrument's clock has never been set (the clock-set flag is "
                  "off). Set it from this computer's time.",
                  "Warning: A write of these settings would be refused: setting byte 23 holds 32, "
                  "not 0 to 15.",
              }));
    EXPECT_EQ(overview.warnings[1].place, OverviewPlace::KxSettings);
    EXPECT_EQ(overview.warnings[3].place, OverviewPlace::QvSettings);
}

TEST(InstrumentOverview, FieldsNoTableKnowsAndAClockThatIsNoDate) {
    Block block = soundBlock();
    block[1] = 100, block[2] = 3;
    block[16] = 0x13;  // month 13
    HistoryEntry kept = entryOf(block, kBeforeStage, "2025-06-15 09:30:00", "qv write");
    InstrumentOverview overview = describe(&kept);
    EXPECT_EQ(row(overview, "Settings"), "as read at 09:30 today, before the qv write");
    EXPECT_EQ(row(overview, "Clock"), "not a valid date and time");
    EXPECT_EQ(row(overview, "Gauge"),
              "length 2.0, type not known: scale trim 100 and range code 3 are in no length table");
    ASSERT_EQ(overview.warnings.size(), 1u);
    EXPECT_EQ(overview.warnings[0].text,
              "A write of these settings would be refused: clock month (byte 16) holds 13, not 1 "
              "to 12.");
    EXPECT_EQ(overview.warnings[0].place, OverviewPlace::Clock);

    block = soundBlock();
    block[24] = 7;
    kept = entryOf(block);
    EXPECT_EQ(row(describe(&kept), "Gauge"), "length not known: byte 24 holds 7 tenths");
    block[24] = 2;  // 0.25 in tenths, truncated
    block[2] = 3;
    kept = entryOf(block);
    EXPECT_EQ(row(describe(&kept), "Gauge"), "length 0.25, type 0");
}

TEST(InstrumentOverview, DurationsInWords) {
    EXPECT_EQ(durationWords(0), "0 s");
    EXPECT_EQ(durationWords(3600), "1 h");
    EXPECT_EQ(durationWords(86400 + 7200 + 5), "1 day 2 h");
    EXPECT_EQ(durationWords(3 * 86400), "3 days");
    EXPECT_EQ(keptWhenWords({2024, 12, 31, 23, 59, 0, 2}, kNow), "at 23:59 on 2024-12-31");
}

}  // namespace
