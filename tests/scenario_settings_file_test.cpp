// Settings files on the History page: saved from one instrument and applied to another
// (only what the kx, qv and scheduled start panels write), applied to the same instrument
// (everything but its clock), and files that are refused before anything is sent.
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "history/settings_file.h"
#include "settings/history_page.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/userint.h"

namespace {

constexpr char kFirstSerial[] = "QV-0000012345";
constexpr char kSecondSerial[] = "QV-0000099999";
constexpr int kFlagByte = 42;
constexpr int kPanelFlags = 0x73;
constexpr int kClockYearByte = 17;  // option bits 0 and 6, RS232, second channel, start

bool panelByte(int i) {
    return i == 7 || i == 8 || i == 9 || i == 10 || i == 23 || (i >= 18 && i <= 22);
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class SettingsFiles : public ToolFixture {
  protected:
    void SetUp() override {
        ToolFixture::SetUp();
        backend.attach(2, &secondPeer);
        // The first: its kx, qv and start settings made, its own calibration.
        Block& first = instrument.block();
        first[0] = 0x1B, first[1] = 223, first[3] = 0x10, first[4] = 0x00, first[24] = 20;
        first[7] = 12, first[8] = 200, first[9] = 3, first[10] = 4, first[23] = 3;
        first[18] = 0x00, first[19] = 0x08, first[20] = 0x01, first[21] = 0x03, first[22] = 0x27;
        first[42] = 0x62;  // RS232 data, scheduled start, option bit 6
        // The second: fresh settings, another calibration and other unowned bytes.
        Block& other = second.block();
        other[0] = 0x2C, other[1] = 200, other[3] = 0x0F, other[4] = 0x20, other[5] = 0x00,
        other[6] = 0x05, other[24] = 35;
        for (int i = 25; i <= 41; ++i) other[i] = static_cast<uint8_t>(i);
        other[42] = 0x82;              // RS232 data and flag bit 7, which no panel owns
        other[kClockYearByte] = 0x24;  // a clock of its own
    }
    std::string path(const char* name) const { return files_.filePath(name).toStdString(); }

    // Saves the first instrument's settings as read now.
    std::string saveFirst(HistoryPage& page) {
        connect(1);
        const std::string saved = path("first.qvs");
        popups.answerFileSelect(saved, VAL_NEW_FILE_SELECTED);
        EXPECT_TRUE(page.saveToFile());
        return saved;
    }
    RestoreOutcome apply(HistoryPage& page, const std::string& file) {
        popups.answerFileSelect(file, VAL_EXISTING_FILE_SELECTED);
        return page.applyFile();
    }

    sim::Instrument second{{9600, 0, kSecondSerial}};
    InstrumentPeer secondPeer{second};

  private:
    QTemporaryDir files_;
};

TEST_F(SettingsFiles, AppliedToAnotherInstrumentTheyBringOnlyThePanelsSettings) {
    HistoryPage page;
    const std::string file = saveFirst(page);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings of QV-0000012345 saved to " + file});
    const Block first = instrument.block();
    const Block before = second.block();
    connect(2);
    EXPECT_EQ(apply(page, file), RestoreOutcome::Written);

    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].title, "Apply settings file");
    EXPECT_EQ(popups.questions[0].text,
              "Apply the settings of QV-0000012345 in " + file +
                  " to QV-0000099999?\nOnly the kx, qv and scheduled start settings are taken; "
                  "calibration, the clock and the other bytes stay as the instrument holds "
                  "them. These fields will change:\n"
                  "setting byte 7: 0 → 12\nsetting byte 8: 0 → 200\nsetting byte 9: 0 → 3\n"
                  "setting byte 10: 0 → 4\nscheduled start: none stored → 2027-03-01 08:00\n"
                  "setting byte 23: 0 → 3\nscheduled start flag: off → on\n"
                  "option bit 6: off → on");
    const Block& after = second.block();
    for (int i = 0; i < kFlagByte; ++i) {
        if (i >= kFirstClockByte && i <= kLastClockByte)
            continue;
        EXPECT_EQ(after[i], panelByte(i) ? first[i] : before[i]) << "byte " << i;
    }
    EXPECT_EQ(after[kFlagByte],
              (first[kFlagByte] & kPanelFlags) | (before[kFlagByte] & ~kPanelFlags));
    EXPECT_EQ(after[kClockYearByte], 0x24);
    EXPECT_NE(first[kClockYearByte], 0x24);
    EXPECT_EQ(instrument.blocksWritten(), 0);
    const auto kept = historyLines();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_NE(kept[0].find("\tapply settings file\tbefore\tQV-0000099999\t"), std::string::npos);
    EXPECT_NE(kept[1].find("\tapply settings file\twritten\tQV-0000099999\t"), std::string::npos);
}

TEST_F(SettingsFiles, AppliedToTheSameInstrumentTheyPutBackEverythingButTheClock) {
    HistoryPage page;
    const std::string file = saveFirst(page);
    const Block saved = instrument.block();
    instrument.block()[3] = 0x0E, instrument.block()[30] = 0x55, instrument.block()[7] = 99;
    EXPECT_EQ(apply(page, file), RestoreOutcome::Written);
    ASSERT_EQ(popups.questions.size(), 1u);
    EXPECT_EQ(popups.questions[0].text,
              "Apply the settings in " + file +
                  ", saved from this instrument at 2025-06-15 09:30:00?\nEverything but the "
                  "clock is put back, as a restore from the history does. These fields will "
                  "change:\ngain: 3584 → 4096\nsetting byte 7: 99 → 12\n"
                  "bytes 25 to 41: 00 00 00 00 00 55 00 00 00 00 00 00 00 00 00 00 00 → 00 00 "
                  "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(clockless(instrument.block()), clockless(saved));
}

TEST_F(SettingsFiles, AFileTheInstrumentHoldsAlreadyWritesNothing) {
    HistoryPage page;
    const std::string file = saveFirst(page);
    clearWire();
    EXPECT_EQ(apply(page, file), RestoreOutcome::NothingToChange);
    EXPECT_EQ(wire().find('w'), std::string::npos);
    EXPECT_TRUE(popups.questions.empty());
}

TEST_F(SettingsFiles, AKeptEntryIsSavedWithWhereItCameFrom) {
    HistoryPage page;
    const std::string file = saveFirst(page);
    connect(2);
    page.chooseSavedSettings(HistoryPage::SavedSettings::SelectedEntry);
    EXPECT_FALSE(page.saveButton()->isEnabled());  // nothing kept for the second yet
    ASSERT_EQ(apply(page, file), RestoreOutcome::Written);
    page.selectEntry(1);  // the block the second held before
    clearWire();
    popups.answerFileSelect(path("kept.qvs"), VAL_NEW_FILE_SELECTED);
    ASSERT_TRUE(page.saveToFile());
    EXPECT_EQ(wire(), "");
    const std::string kept = fileText(path("kept.qvs"));
    EXPECT_NE(kept.find("\nserial number: QV-0000099999\nport: COM2\nfrom: the settings history, "
                        "kept at 2025-06-15 09:30:00 (before apply settings file)\n"),
              std::string::npos);
    const SettingsFileRead read = readSettingsFile(path("kept.qvs"));
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.file.text.substr(0, 33), page.entries()[1].text.substr(0, 33));
}

// A file damaged in one way each: the line it is refused at and why.
struct BadFile {
    const char* name;
    std::string (*damage)(std::string text);
    const char* where;  // ", line N: reason"
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

const BadFile kBadFiles[] = {
    {"UnknownFormat",
     [](std::string t) { return replaced(t, "quorvel-settings/1", "quorvel-settings/2"); },
     ", line 1: the format \"quorvel-settings/2\" is not one this tool reads (it reads "
     "quorvel-settings/1)"},
    {"NotASettingsFile", [](std::string t) { return "Hello\n" + t; },
     ", line 1: not a settings file: it begins with \"Hello\", not \"format: "
     "quorvel-settings/1\""},
    {"LineNotUnderstood", [](std::string t) { return replaced(t, "gain: ", "gain = "); },
     ", line 10: the line \"gain = 4096\" is not understood: each line reads NAME: VALUE"},
    {"UnknownName", [](std::string t) { return replaced(t, "gain: ", "gian: "); },
     ", line 10: the line \"gian: 4096\" is not understood: no field or header line is called "
     "\"gian\""},
    {"GivenTwice", [](std::string t) { return t + "gain: 4096\n"; },
     ", line 31: \"gain\" is given twice (first on line 10)"},
    {"ChecksumOff", [](std::string t) { return replaced(t, "checksum: ", "checksum: 1"); },
     ", line 30: the checksum \"1"},
    {"FieldDisagrees",
     [](std::string t) { return replaced(t, "setting byte 7: 12", "setting byte 7: 13"); },
     ", line 12: setting byte 7 is \"13\" here, but the block text holds \"12\""},
    {"BlockTextBroken",
     [](std::string t) { return replaced(t, "block text: 1B,", "block text: 1B;"); },
     ", line 29: the block text is not 43 bytes of two hex digits, each followed by a comma"},
    {"NoChecksum", [](std::string t) { return t.substr(0, t.find("checksum: ")); },
     ", line 29: the file ends without the checksum"},
    {"ControlCharacter",
     [](std::string t) { return replaced(t, "port: COM1", "port: COM\x1b[2J"); },
     ", line 5: the line \"port: COM\\x1B[2J\" holds characters that are not plain text"},
};

class BadSettingsFile : public SettingsFiles, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadSettingsFile, IsRefusedWithItsLineAndNothingIsSent) {
    HistoryPage page;
    const std::string good = saveFirst(page);
    const std::string bad = path("bad.qvs");
    writeFile(bad, GetParam().damage(fileText(good)));
    clearWire();
    EXPECT_EQ(apply(page, bad), RestoreOutcome::Failed);
    EXPECT_EQ(wire(), "");
    const auto lines = messageLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("settings file not applied: " + bad + GetParam().where, 0), 0u)
        << lines[0];
    EXPECT_TRUE(lines[0].ends_with("; nothing sent"));
    EXPECT_TRUE(popups.questions.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryWay, BadSettingsFile, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileText, AValueTheInstrumentCannotTakeIsRefusedThoughTheFileAgreesWithItself) {
    SettingsFile file{"quorvel 1.0", "2026-12-08 10:00:00", kFirstSerial,
                      "COM1",        "the instrument",      {}};
    for (int i = 0; i < 43; ++i) file.text += i == 23 ? "10," : "00,";
    const SettingsFileRead read = parseSettingsFile(formatSettingsFile(file));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.line, 29);
    EXPECT_EQ(read.reason,
              "setting byte 23 holds 16 in the block text; the instrument takes 0 to 15");
}

// The file's text in UTF-16 or UTF-32, with or without its byte-order mark.
std::string encoded(const std::string& text, int width, bool bigEndian, bool mark) {
    std::string out;
    const auto put = [&](char32_t c) {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (bigEndian ? width - 1 - i : i);
            out += static_cast<char>((c >> shift) & 0xFF);
        }
    };
    if (mark)
        put(0xFEFF);
    for (const unsigned char c : text) put(c);  // the file is ASCII
    return out;
}

TEST_F(SettingsFiles, AFileInAnotherUnicodeEncodingIsRefusedByNameAndUtf8WithAMarkIsTaken) {
    HistoryPage page;
    const std::string good = saveFirst(page);
    const std::string text = fileText(good);
    const struct {
        int width;
        bool bigEndian, mark;
        const char* name;
    } encodings[] = {{2, false, true, "UTF-16 (little-endian)"},
                     {2, true, false, "UTF-16 (big-endian)"},
                     {4, false, true, "UTF-32 (little-endian)"},
                     {4, true, false, "UTF-32 (big-endian)"}};
    const std::string other = path("other.qvs");
    for (const auto& encoding : encodings) {
        writeFile(other, encoded(text, encoding.width, encoding.bigEndian, encoding.mark));
        clearWire();
        EXPECT_EQ(apply(page, other), RestoreOutcome::Failed);
        EXPECT_EQ(messageLines(),
                  std::vector<std::string>{"settings file not applied: cannot read " + other +
                                           ": it is encoded as " + encoding.name +
                                           "; a settings file is UTF-8 text (save it as UTF-8 "
                                           "and try again); nothing sent"});
        EXPECT_EQ(wire(), "");
    }
    writeFile(other, "\xEF\xBB\xBF" + text);
    EXPECT_EQ(apply(page, other), RestoreOutcome::NothingToChange);
}

TEST_F(SettingsFiles, NamesAreReadAsSetReadsThemInEverySpelling) {
    HistoryPage page;
    std::string text = fileText(saveFirst(page));
    for (const char* name : {"setting byte 7: ", "serial number: ", "block text: ", "format: "})
        text = replaced(text, name, QString::fromLatin1(name).toUpper().toStdString());
    text = replaced(text, "RS232 data flag: ", "rs232_data-flag: ");
    const std::string shouting = path("shouting.qvs");
    writeFile(shouting, text);
    connect(2);
    EXPECT_EQ(apply(page, shouting), RestoreOutcome::Written);
    EXPECT_EQ(second.block()[7], 12);

    writeFile(shouting, text + "Gain: 4096\n");
    EXPECT_EQ(apply(page, shouting), RestoreOutcome::Failed);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"settings file not applied: " + shouting +
                                                       ", line 31: \"Gain\" is given twice "
                                                       "(first on line 10); nothing sent"});
}

TEST_F(SettingsFiles, AStartNoCalendarHasIsRefusedBeforeAnythingIsWritten) {
    HistoryPage page;
    SettingsFile file{"quorvel 1.0", "2026-12-08 10:00:00", kFirstSerial,
                      "COM1",        "the instrument",      readFormOf(instrument.block())};
    file.text.replace(3 * 21, 2, "99");  // the start's month
    const std::string impossible = path("month99.qvs");
    writeFile(impossible, formatSettingsFile(file));
    connect(1);
    const Block before = instrument.block();
    clearWire();
    EXPECT_EQ(apply(page, impossible), RestoreOutcome::Failed);
    EXPECT_EQ(messageLines(), std::vector<std::string>{
                                  "start month (byte 21) holds 99, not 1 to 12; nothing written"});
    EXPECT_TRUE(popups.questions.empty());
    EXPECT_EQ(wire(), "r");
    EXPECT_EQ(clockless(instrument.block()), clockless(before));
}

TEST_F(SettingsFiles, AFileThatCannotBeReadIsRefusedWithWhy) {
    HistoryPage page;
    connect(1);
    clearWire();
    EXPECT_EQ(apply(page, path("absent.qvs")), RestoreOutcome::Failed);
    EXPECT_EQ(messageLines(), std::vector<std::string>{"settings file not applied: cannot read " +
                                                       path("absent.qvs") +
                                                       ": there is no such file; nothing sent"});
    EXPECT_EQ(wire(), "");
}

}  // namespace
