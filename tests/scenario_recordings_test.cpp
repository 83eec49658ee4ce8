// The Recordings page in the operator's story: a run logged on the Live page opened with
// "Open recording…" once the run is over, a raw log given its gauge length, a file refused
// with its line while the page keeps what it showed, a read cancelled, and a span and the
// chart saved whole.
#include <QAccessible>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "recording/recording_summary.h"
#include "recordings/recordings_page.h"
#include "tests/harness/recording_files.h"
#include "tests/live_scenario.h"
#include "toolkit/panels/chart_image.h"
#include "toolkit/panels/recording_chart.h"
#include "toolkit/panels/strip_chart.h"

namespace {

class RecordingsScenario : public LiveScenario {
  protected:
    RecordingsPage& page() { return *recordingsPage(); }
    // "Open recording…" on the Live page, the file chosen, read whole.
    void openFromLivePage(const std::string& path) {
        popups.answerFileSelect(path, VAL_EXISTING_FILE_SELECTED);
        press(LIVE_OPEN_RECORDING);
        page().finishReading();
    }
    std::string summaryShown() { return page().chart()->summary().toStdString(); }
    std::string made(const char* name, const MadeRecording& recording) {
        const std::string path = logPath(name);
        EXPECT_TRUE(writeCsvRecording(path, recording));
        return path;
    }
};

TEST_F(RecordingsScenario, ARunJustLoggedOpensFromTheLivePageOnceItIsOver) {
    chooseLog(logPath("run.log"));
    bool dimmedDuringRun = false;
    clock.schedule(clock.now() + kStartExchange + 1,
                   [&] { dimmedDuringRun = isControlDimmed(livePanel, LIVE_OPEN_RECORDING); });
    runFor(3);
    EXPECT_TRUE(dimmedDuringRun);
    EXPECT_FALSE(isControlDimmed(livePanel, LIVE_OPEN_RECORDING));

    openFromLivePage(logPath("run.csv"));
    EXPECT_EQ(popups.fileRequests.back().title, "Open recording");
    EXPECT_EQ(ShellMarkedEntry(), "Recordings");
    const Recording* csv = page().recording();
    ASSERT_NE(csv, nullptr);
    EXPECT_EQ(csv->size(), liveRecordsShown);
    EXPECT_EQ(csv->lengthSource, GaugeLengthSource::File);
    const std::string whole = summaryLine(
        *csv, summarize(*csv, csv->timeOf(0), csv->timeOf(csv->size() - 1)), TimeShown::SinceStart);
    EXPECT_EQ(summaryShown(), whole);
    EXPECT_EQ(summaryShown().rfind("From ", 0), 0u);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(page().chart())
                  ->text(QAccessible::Description)
                  .toStdString(),
              whole);

    // The raw log of the same run: numbered, a level from the gauge length given.
    PressShellEntry("Live data");
    openFromLivePage(logPath("run.log"));
    const Recording* raw = page().recording();
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw->size(), liveRecordsShown);
    EXPECT_EQ(page().notes().toStdString(), "no times in a raw log: records are numbered");
    EXPECT_EQ(summaryShown().rfind("From record 1 to record " + std::to_string(raw->size()), 0),
              0u);
    const float before = summarize(*raw, 0, 1e9).greatest;
    page().setGaugeLength(4.0);
    EXPECT_FLOAT_EQ(summarize(*raw, 0, 1e9).greatest, before * 2);
    EXPECT_NE(summaryShown().find("max " + levelText(before * 2)), std::string::npos);
}

TEST_F(RecordingsScenario, ARefusedFileIsSaidWithItsLineAndThePageKeepsWhatItShowed) {
    const std::string good = logPath("good.csv");
    std::ofstream(good) << csvText({{0, 100}, {1, 200}});
    openFromLivePage(good);
    const std::string bad = logPath("bad.csv");
    std::ofstream(bad)
        << "time_iso,elapsed_s,counts,level\n2026-12-08T14:05:00.000Z,0.000,5000,2\n";
    page().open(bad);
    page().finishReading();
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"recording not opened: " + bad +
                                       ", line 2: counts \"5000\" is not a count from 0 to 4095"});
    EXPECT_EQ(page().recording()->path, good);

    // A long read given up halfway: nothing of it shown, the page as it was.
    MadeRecording quarter;
    quarter.seconds = 900;
    page().open(made("quarter.csv", quarter));
    QCoreApplication::processEvents();
    EXPECT_TRUE(page().reading());
    EXPECT_LT(page().readFraction(), 1.0);
    page().cancelReading();
    EXPECT_FALSE(page().reading());
    EXPECT_EQ(page().recording()->path, good);
}

TEST_F(RecordingsScenario, ASpanAndTheChartAreSavedWholeAndSaidSo) {
    MadeRecording run;
    run.seconds = 120;
    run.stretches = true;
    run.gaps = {{40, 20}};
    openFromLivePage(made("run.csv", run));
    RecordingChart& chart = *page().chart();
    chart.zoomTo({30, 70, 0, 2});
    const std::string span = logPath("span.csv");
    popups.answerFileSelect(span, VAL_NEW_FILE_SELECTED);
    ASSERT_TRUE(page().saveSpan());
    const Recording& r = *page().recording();
    const size_t records = r.firstAfter(70) - r.firstAtOrAfter(30);
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"span of " + recordsText(records) + " saved to " + span});
    const auto spanLines = lines(fileBytes(span));
    EXPECT_EQ(spanLines.size(), records + 1);
    EXPECT_EQ(spanLines[0], "time_iso,elapsed_s,counts,level,stretch\r");

    const std::string png = logPath("chart.png");
    popups.answerFileSelect(png, VAL_NEW_FILE_SELECTED);
    popups.imageWidth = 1000;
    popups.imageHeight = 480;
    ASSERT_TRUE(page().saveImage());
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(1000, 480));
    EXPECT_EQ(messageLines(),
              std::vector<std::string>{"chart image saved to " + png + " (1000 × 480 PNG)"});
    popups.answerFileSelect(logDir.string(), VAL_EXISTING_FILE_SELECTED);
    EXPECT_FALSE(page().saveImage());
    EXPECT_EQ(messageLines(), std::vector<std::string>{"chart image not saved: " + logDir.string() +
                                                       " is a directory"});

    // The PDF is vector text and lines: its words read back as text.
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils, scripts/install-deps.sh) is not installed";
    const std::string pdf = logPath("chart.pdf");
    popups.answerFileSelect(pdf, VAL_NEW_FILE_SELECTED);
    popups.imageAsPdf = true;
    ASSERT_TRUE(page().saveImage());
    QProcess text;
    text.start(pdftotext, {QString::fromStdString(pdf), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(words.contains(QStringLiteral("Level (m)"))) << words.toStdString();
    EXPECT_TRUE(words.contains(QStringLiteral("Time since the run's start")));
    EXPECT_TRUE(words.contains(QStringLiteral("50 s"))) << words.toStdString();
}

TEST_F(RecordingsScenario, TheLiveChartIsSavedAsShownFromItsRowOfControls) {
    runFor(2);
    StripChart* chart = StripChartWidget(livePanel, LIVE_CHART);
    ASSERT_NE(chart, nullptr);
    QPushButton* save = nullptr;
    for (QPushButton* b : chart->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Save chart image…"))
            save = b;
    ASSERT_NE(save, nullptr);
    const std::string png = logPath("live.png");
    popups.answerFileSelect(png, VAL_NEW_FILE_SELECTED);
    save->click();
    ASSERT_FALSE(popups.imageProposals.empty());
    const QSize proposed(popups.imageProposals.back().first, popups.imageProposals.back().second);
    EXPECT_EQ(proposed, chart->plotSize().expandedTo(kSmallestChartImage));
    const CalendarTime now = LocalCalendarTime(clock.wallTime());
    char name[64];
    std::snprintf(name, sizeof name, "Level %04d-%02d-%02d %02d%02d.png", now.year, now.month,
                  now.day, now.hour, now.minute);
    EXPECT_EQ(popups.fileRequests.back().proposedName, name);
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), proposed);
    EXPECT_EQ(messageLines().back(), "chart image saved to " + png + " (" +
                                         std::to_string(proposed.width()) + " × " +
                                         std::to_string(proposed.height()) + " PNG)");
}

}  // namespace
