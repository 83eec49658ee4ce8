// The overview below the main panel: what it shows before and after Connect, that Connect
// sends exactly what it sends without it, "Read instrument" with what reaches the history,
// the warnings' buttons and the reading order.
#include <QAbstractSpinBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <filesystem>
#include <fstream>

#include "feedback/panel_set.h"
#include "history/history.h"
#include "live/live_readout.h"
#include "settings/overview_panel.h"
#include "settings/visit_report_row.h"
#include "tests/block_forms.h"
#include "tests/harness/tool_fixture.h"
#include "toolkit/panels/callback_bindings.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/testing.h"
#include "toolkit/panels/userint.h"
#include "toolkit/serial/serial_devices.h"
#include "ui/vaskinterface_ids.h"

namespace {

constexpr double kComputerStart = 1749979800;  // 2025-06-15 09:30:00 UTC, a Sunday
constexpr char kSerial[] = "QV-0000012345";
constexpr char kPort[] = "COM1 \u00b7 /dev/ttyQV0 (FT232R USB UART, FTDI)";
constexpr char kHowToBegin[] =
    "Not connected. Choose the instrument's port above (Ports… gives a port its device), then "
    "press Connect.";

uint8_t bcd(int value) {
    return static_cast<uint8_t>(value / 10 * 16 + value % 10);
}

class Overview : public ToolFixture {
  protected:
    void SetUp() override {
        qputenv("QUORVEL_COM1", "/dev/ttyQV0");
        SetSerialDeviceLister([] {
            return std::vector<SerialDeviceInfo>{{"/dev/ttyQV0", "FT232R USB UART", "FTDI", "A1"}};
        });
        ToolFixture::SetUp();
        // This computer's clock runs with the virtual clock, as the instrument's does.
        SetComputerLocalTime([this] { return UtcCalendarTime(kComputerStart + clock.now()); });
    }
    void TearDown() override {
        ToolFixture::TearDown();
        SetSerialDeviceLister({});
        qunsetenv("QUORVEL_COM1");
    }
    // The instrument's clock `ahead` seconds ahead of this computer's, as now.
    void setInstrumentClock(int ahead) {
        const CalendarTime t = UtcCalendarTime(kComputerStart + clock.now() + ahead);
        Block& block = instrument.block();
        block[11] = bcd(t.second), block[12] = bcd(t.minute), block[13] = bcd(t.hour);
        block[14] = bcd(t.dayOfWeek), block[15] = bcd(t.day), block[16] = bcd(t.month);
        block[17] = bcd(t.year - 2000);
    }
    std::vector<std::string> shown() const {
        return currentOverview() ? currentOverview()->shownLines() : std::vector<std::string>{};
    }
    void readInstrument() { currentOverview()->readButton()->click(); }
};

TEST_F(Overview, BeforeConnectItSaysHowToBeginAndCannotRead) {
    EXPECT_EQ(shown(), std::vector<std::string>{kHowToBegin});
    EXPECT_FALSE(currentOverview()->readButton()->isEnabled());
    EXPECT_EQ(wire(), "");
}

// Connect's bytes and their times, with the overview and without it.
TEST_F(Overview, ConnectSendsExactlyWhatItSendsWithoutTheOverview) {
    double start = clock.now();
    connect();
    const std::string withOverview = wire();
    std::vector<double> times;
    for (double t : wireTimes()) times.push_back(t - start);
    EXPECT_EQ(withOverview, "sti");
    EXPECT_EQ(shown(), (std::vector<std::string>{
                           "Connected to Quorvel QV-0000012345.", std::string("Port: ") + kPort,
                           "Settings: none kept for this instrument yet; press Read instrument "
                           "to read them"}));
    EXPECT_TRUE(currentOverview()->readButton()->isEnabled());
    EXPECT_TRUE(historyLines().empty());

    SetPageCompanion(PANEL_MAIN, nullptr);
    ASSERT_TRUE(PressShellEntry("Main panel"));
    ASSERT_EQ(currentOverview(), nullptr);
    clearWire();
    start = clock.now();
    connect();
    std::vector<double> timesWithout;
    for (double t : wireTimes()) timesWithout.push_back(t - start);
    EXPECT_EQ(wire(), withOverview);
    ASSERT_EQ(timesWithout.size(), times.size());
    for (size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(timesWithout[i], times[i], 1e-9);
    SetPageCompanion(PANEL_MAIN, createOverviewPanel);
}

TEST_F(Overview, AFailedConnectSaysWhatToDo) {
    instrument.faults().asleep = true;
    connect();
    EXPECT_EQ(shown(), std::vector<std::string>{
                           std::string("No instrument answered on ") + kPort +
                           ". Press the instrument's button (it may be asleep), then press "
                           "Connect again."});
    EXPECT_FALSE(currentOverview()->readButton()->isEnabled());
}

// The instrument as the simulator starts: RS232 data on, the clock never set; here its
// clock 2 min 13 s ahead.
TEST_F(Overview, ReadInstrumentReadsOnceKeepsTheBlockAndShowsIt) {
    setInstrumentClock(133);
    connect();
    clearWire();
    readInstrument();
    EXPECT_EQ(wire(), "r");
    const std::vector<std::string> lines = historyLines();
    ASSERT_EQ(lines.size(), 1u);
    HistoryEntry entry;
    ASSERT_TRUE(parseHistoryLine(lines[0], entry));
    EXPECT_EQ(entry.action + "|" + entry.stage + "|" + entry.serialNumber + "|" + entry.port,
              std::string("overview read|read|") + kSerial + "|COM1");
    // The block as the instrument sent it; its clock has run on since.
    const std::string now = instrument.blockText(false);
    EXPECT_EQ(entry.text.substr(0, 33) + entry.text.substr(54), now.substr(0, 33) + now.substr(54));
    // The entry is kept a moment after the instrument answered 'r', within the next second
    // of this computer's clock: the drift reads a second short of the one arranged.
    const CalendarTime read = UtcCalendarTime(
        kComputerStart + 132 + static_cast<double>(ParseDateTime(entry.time, true)->second));
    EXPECT_EQ(
        shown(),
        (std::vector<std::string>{
            "Connected to Quorvel QV-0000012345.",
            std::string("Port: ") + kPort,
            "Settings: as read at 09:30 today",
            "Clock: " + FormatDateTime(read) + " when read, 2 min 12 s ahead of this computer",
            "Clock set: never (the clock-set flag is off)",
            "Scheduled start: off",
            "Gauge: length 2.0, type 0",
            "Gain and zero: gain 4096, zero 0",
            "Values a record: one",
            "RS232 data: on",
            "Warning: The instrument's clock was 2 min 12 s ahead of this computer when read. "
            "Set it from this computer's time.",
            "Warning: The instrument's clock has never been set (the clock-set flag is "
            "off). Set it from this computer's time.",
        }));
    EXPECT_STREQ(findBoundCallback("readinstrumentcallback")->busy,
                 "Reading settings from the instrument…");
}

// A block kept earlier is what Connect shows, as kept and when, with nothing more sent.
TEST_F(Overview, AKeptBlockShowsAfterConnectAsKept) {
    Block kept = instrument.block();
    kept[42] = 0x08;  // clock set, RS232 data off
    kept[11] = 0x00, kept[12] = 0x30, kept[13] = 0x09, kept[14] = 0x00, kept[15] = 0x15;
    kept[16] = 0x06, kept[17] = 0x25;
    std::filesystem::create_directories(historyDir);
    std::ofstream(historyFilePath(kSerial)) << formatHistoryLine(
        "2025-06-14 16:20:00", "kx write", kBeforeStage, kSerial, "COM1", readFormOf(kept).c_str());
    connect();
    EXPECT_EQ(wire(), "sti");
    const std::vector<std::string> lines = shown();
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[2], "Settings: as read at 16:20 on 2025-06-14, before the kx write");
    EXPECT_EQ(lines[3], "Clock: 2025-06-15 09:30:00 when read, 17 h 10 min ahead of this computer");
    EXPECT_EQ(lines[9], "RS232 data: off");
    EXPECT_EQ(lines[10],
              "Warning: The instrument's clock was 17 h 10 min ahead of this computer when read. "
              "Set it from this computer's time.");
    EXPECT_EQ(lines[11],
              "Warning: RS232 data is off, so no live run can start. Switch it on in the kx or "
              "qv settings.");
}

TEST_F(Overview, AFailedReadKeepsNothingAndLeavesTheOverviewAsItWas) {
    connect();
    const std::vector<std::string> before = shown();
    instrument.faults().noAnswer = true;
    readInstrument();
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"settings not read: 0 of 129 characters came"});
    EXPECT_TRUE(historyLines().empty());
    EXPECT_EQ(shown(), before);
}

// Each warning's button runs the navigation's own callback: the page that mends it, and
// nothing sent on the way.
TEST_F(Overview, AWarningsButtonLeadsToThePageThatMendsIt) {
    setInstrumentClock(-600);
    connect();
    readInstrument();
    const std::vector<QPushButton*> buttons = currentOverview()->warningButtons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->accessibleName().toStdString(), "Go to Real-time clock");
    EXPECT_EQ(buttons[0]->accessibleDescription().toStdString(),
              "The instrument's clock was 10 min 1 s behind this computer when read. Set it from "
              "this computer's time.");
    clearWire();
    buttons[0]->click();
    EXPECT_EQ(PanelResourceId(currentPanel), PANEL_CLOCK);
    EXPECT_EQ(wire(), "");
    ASSERT_TRUE(PressShellEntry("Main panel"));
    EXPECT_EQ(shown().size(), 12u);  // a fresh main panel shows the kept read again
}

// A screen reader meets the overview after the panel's controls: each text by its
// accessible name, the warnings as warnings, then the button.
TEST_F(Overview, ItsTextsFollowThePanelInTheReadingOrder) {
    setInstrumentClock(0);
    connect();
    readInstrument();
    std::vector<std::string> names;
    QWidget* first = currentOverview()->findChildren<QLabel*>().front();
    QWidget* w = first;
    do {
        // A date field's own line edit is part of the field, which a reader names.
        const bool inField = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr;
        if (currentOverview()->isAncestorOf(w) && w->focusPolicy() != Qt::NoFocus && !inField)
            names.push_back(w->accessibleName().toStdString());
        w = w->nextInFocusChain();
    } while (w != first);
    std::vector<std::string> expected = shown();
    ASSERT_EQ(expected.back().rfind("Warning: The instrument's clock has never", 0), 0u);
    expected.push_back("Go to Real-time clock");
    expected.push_back("Read instrument");
    expected.push_back("Visit from");
    expected.push_back("Save visit report…");
    EXPECT_EQ(names, expected);
}

}  // namespace

namespace {

std::vector<std::string> fileLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A visit as an operator makes it: connect, read, set kx, set the clock from the computer,
// calibrate, a short live run; then its report, in plain text and as a PDF.
TEST_F(Overview, AVisitsReportHoldsWhatWasFoundChangedReadAndLeft) {
    instrument.setDrift(0);
    setInstrumentClock(133);
    connect();
    readInstrument();
    openFromMain(MAIN_KX);
    press(KX_READ);
    ::setValue(currentPanel, KX_BYTE7, 123);
    press(KX_SET);
    ASSERT_TRUE(PressShellEntry("Real-time clock"));
    press(CLOCK_READ);
    press(CLOCK_COMPUTER_TIME);
    press(CLOCK_SET);
    ASSERT_TRUE(PressShellEntry("Calibration"));
    ::setValue(currentPanel, CAL_GAUGE_LENGTH, 2.0);
    ::setValue(currentPanel, CAL_GAUGE_TYPE, 0);
    ::setValue(currentPanel, CAL_LEVEL_A, 200.0);
    ::setValue(currentPanel, CAL_LEVEL_B, 1800.0);
    ::setValue(currentPanel, CAL_READING_A, 400.0);
    ::setValue(currentPanel, CAL_READING_B, 3700.0);
    press(CAL_CALIBRATE);
    ASSERT_TRUE(PressShellEntry("Live data"));
    pressAt(clock.now() + 1.5, LIVE_STOP);
    press(LIVE_START);
    ASSERT_TRUE(PressShellEntry("Main panel"));

    const std::string pdf = historyDir + "/visit.pdf";
    popups.answerFileSelect(pdf, VAL_NEW_FILE_SELECTED);
    currentOverview()->reportRow()->saveButton()->click();
    EXPECT_EQ(messageLines(), std::vector<std::string>{"visit report saved to " + pdf + " and " +
                                                       historyDir + "/visit.txt"});
    const std::vector<std::string> text = fileLines(historyDir + "/visit.txt");
    const std::string host = QSysInfo::machineHostName().toStdString();
    const std::string runs = std::to_string(liveRecordsShown);
    const std::string readText =
        "00,DF,00,10,00,00,00,7B,00,00,00,10,30,09,00,15,06,25,00,00,00,00,00,00,14,00,00,00,00,"
        "00,00,00,00,00,00,00,00,00,00,00,00,00,02,";
    const std::string sentText =
        "00,DF,00,0F,E2,00,0C,7B,00,00,00,10,30,09,00,15,06,25,00,00,00,00,00,00,14,00,00,00,00,"
        "00,00,00,00,00,00,00,00,00,00,00,00,00,02,F6";
    const auto fields = [](const char* gain, const char* zero, const char* byte7,
                           const char* clock) {
        return std::vector<std::string>{
            "  byte 0: 00",
            "  scale trim: 223",
            "  range code: 0",
            std::string("  gain: ") + gain,
            std::string("  zero: ") + zero,
            std::string("  setting byte 7: ") + byte7,
            "  setting byte 8: 0",
            "  setting byte 9: 0",
            "  setting byte 10: 0",
            std::string("  clock: ") + clock + ", day of week 1",
            "  scheduled start: none stored",
            "  setting byte 23: 0",
            "  gauge length: 2.0",
            "  bytes 25 to 41: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
            "  option bit 0: off",
            "  RS232 data flag: on",
            "  flag bit 2: off",
            "  clock set flag: off",
            "  second channel flag: off",
            "  scheduled start flag: off",
            "  option bit 6: off",
            "  flag bit 7: off"};
    };
    std::vector<std::string> expected{"Visit report: Quorvel QV-0000012345",
                                      "Computer: " + host,
                                      "Visit: 2025-06-15 09:30 to 2025-06-15 09:30",
                                      "Instrument: Quorvel QV-0000012345 on COM1",
                                      "",
                                      "Settings as found",
                                      "  read at 2025-06-15 09:30:03 (overview read)"};
    for (const std::string& line : fields("4096", "0", "0", "2025-06-15 09:32:15"))
        expected.push_back(line);
    for (const std::string line : {
             "",
             "Changes",
             "  2025-06-15 09:30:07 kx write:",
             "    setting byte 7: 0 → 123",
             "  2025-06-15 09:30:10 clock write:",
             "    clock: 2025-06-15 09:32:21, day of week 1 → 2025-06-15 09:30:08, day of "
             "week 1",
             "    clock set flag: off → on",
             "  2025-06-15 09:30:13 calibration:",
             "    gain: 4096 → 4066",
             "    zero: 0 → 12",
             "",
             "Clock checks",
             "  2025-06-15 09:30:08 clock read: 2025-06-15 09:32:21 on the instrument, 2 min 13 s "
             "ahead of this computer",
             "  2025-06-15 09:30:10 clock set to 2025-06-15 09:30:08; it showed 2025-06-15 "
             "09:32:21 before",
             "",
             "Calibrations",
             "  2025-06-15 09:30:13 gauge length 2.0, type 0: level A 200 at reading 400, level B "
             "1800 at reading 3700; gain 4096 → 4066, zero 0 → 12",
             "    trace:",
         })
        expected.push_back(line);
    for (const std::string& line : std::vector<std::string>{
             "      read back buffer", "      " + readText, "      0", "      2sum f6 buffer ",
             "      " + sentText, std::string(), std::string("Live runs"),
             "  2025-06-15 09:30:14 to 2025-06-15 09:30:15: " + runs +
                 " records, 0 out of step; no file written",
             std::string(), std::string("Settings as left"),
             std::string("  written at 2025-06-15 09:30:13 by the calibration")})
        expected.push_back(line);
    for (const std::string& line : fields("4066", "12", "123", "2025-06-15 09:30:10"))
        expected.push_back(line);
    EXPECT_EQ(text, expected);

    // The PDF holds the same words, as pdftotext reads them (blanks and line breaks aside).
    const std::string pdfText = historyDir + "/visit-pdf.txt";
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {"-enc", "UTF-8", QString::fromStdString(pdf),
                                                  QString::fromStdString(pdfText)});
    if (!pdftotext.waitForStarted(5000))
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: the PDF is not read back";
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    ASSERT_EQ(pdftotext.exitCode(), 0);
    std::string inPdf;
    for (const std::string& line : fileLines(pdfText)) inPdf += line;
    std::erase_if(inPdf, [](char c) { return c == ' ' || c == '\f'; });
    // The PDF's fonts join f, i and l into ligatures, which pdftotext gives as such.
    for (const auto& [ligature, letters] :
         {std::pair{"\uFB00", "ff"}, std::pair{"\uFB01", "fi"}, std::pair{"\uFB02", "fl"},
          std::pair{"\uFB03", "ffi"}, std::pair{"\uFB04", "ffl"}})
        for (size_t at; (at = inPdf.find(ligature)) != std::string::npos;)
            inPdf.replace(at, std::string_view(ligature).size(), letters);
    size_t from = 0;
    for (std::string line : text) {
        std::erase(line, ' ');
        const size_t at = inPdf.find(line, from);
        EXPECT_NE(at, std::string::npos) << "not in the PDF, or out of order: " << line;
        if (at != std::string::npos)
            from = at + line.size();
    }
}

}  // namespace
