// The recording chart on a real recording: a gap between stretches drawn as a break, the
// crosshair moved record by record from the keyboard with its text said to a screen reader,
// and the summary of the span in view as the chart's description.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <fstream>

#include "recording/recording_reader.h"
#include "recordings/recording_series.h"
#include "tests/harness/recording_files.h"
#include "toolkit/panels/recording_chart.h"

namespace {

std::unique_ptr<Recording> readMade(const QTemporaryDir& dir, const std::string& text) {
    const std::string path = dir.filePath("run.csv").toStdString();
    std::ofstream(path, std::ios::binary) << text;
    return readRecording(path).recording;
}

void key(QWidget& w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&w, &press);
}

// The columns of the grabbed chart that hold some of the trace's colour.
std::vector<bool> tracedColumns(RecordingChart& chart) {
    const QImage image = chart.grab().toImage();
    const QRgb colour = chart.palette().color(QPalette::Highlight).rgb();
    std::vector<bool> traced(static_cast<size_t>(image.width()));
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == colour)
                traced[static_cast<size_t>(x)] = true;
    return traced;
}

TEST(RecordingChartOnARecording, AGapBetweenStretchesIsABreakInTheTrace) {
    QTemporaryDir dir;
    MadeRecording made;
    made.seconds = 180;
    made.stretches = true;
    made.gaps = {{60, 60}};  // the level stands still across it: a join would draw a line
    made.counts = [](long long) { return 2048; };
    const std::string path = dir.filePath("gap.csv").toStdString();
    ASSERT_TRUE(writeCsvRecording(path, made));
    const auto r = readRecording(path).recording;
    ASSERT_TRUE(r);
    RecordingSeries series(*r);
    RecordingChart chart("Level");
    chart.resize(700, 360);
    chart.setSeries(&series, 0, 2);
    const std::vector<bool> traced = tracedColumns(chart);
    const auto first = std::find(traced.begin(), traced.end(), true) - traced.begin();
    const auto last = traced.rend() - std::find(traced.rbegin(), traced.rend(), true) - 1;
    const auto holes = std::count(traced.begin() + first, traced.begin() + last, false);
    // A third of the run's width is the gap, left empty.
    EXPECT_GT(holes, (last - first) * 3 / 10) << first << " to " << last;
    EXPECT_LT(holes, (last - first) * 4 / 10);
    EXPECT_FALSE(traced[static_cast<size_t>((first + last) / 2)]);

    // Zoomed into the first stretch alone, the trace is whole.
    chart.zoomTo({10, 50, 0, 2});
    const std::vector<bool> zoomed = tracedColumns(chart);
    const auto from = std::find(zoomed.begin(), zoomed.end(), true) - zoomed.begin();
    const auto to = zoomed.rend() - std::find(zoomed.rbegin(), zoomed.rend(), true) - 1;
    EXPECT_EQ(std::count(zoomed.begin() + from, zoomed.begin() + to, false), 0);
}

TEST(RecordingChartOnARecording, TheCrosshairStepsFromRecordToRecordAndSaysWhere) {
    QTemporaryDir dir;
    const auto r = readMade(dir, csvText({{0, 100}, {0.5, 2048}, {1.25, 4095}, {2, 0}}));
    ASSERT_TRUE(r);
    RecordingSeries series(*r);
    RecordingChart chart("Level");
    chart.resize(600, 320);
    chart.show();
    chart.setSeries(&series, 0, 2);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&chart);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->role(), QAccessible::Chart);

    key(chart, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(chart.crosshairText(), "Crosshair: 0.000 s, 0.0488 m (100 counts)");
    key(chart, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(chart.crosshairText(), "Crosshair: 0.500 s, 1.0002 m (2048 counts)");
    EXPECT_EQ(reader->text(QAccessible::Value), chart.crosshairText());
    key(chart, Qt::Key_End);
    EXPECT_EQ(chart.crosshairText(), "Crosshair: 2.000 s, 0.0000 m (0 counts)");
    key(chart, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(chart.crosshairText(), "Crosshair: 1.250 s, 2.0000 m (4095 counts)");

    // Stepping past the view moves the view with it; the summary follows the view.
    chart.zoomTo({0, 0.6, 0, 2});
    key(chart, Qt::Key_Home);
    key(chart, Qt::Key_Right, Qt::ShiftModifier);
    key(chart, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(chart.crosshairText(), "Crosshair: 1.250 s, 2.0000 m (4095 counts)");
    EXPECT_LE(chart.view().t0, 1.25);
    EXPECT_GE(chart.view().t1, 1.25);
    chart.setSummary("From 1.000 s to 1.500 s: 1 record");
    EXPECT_EQ(reader->text(QAccessible::Description), chart.summary());

    // The pointer far from every record finds none.
    chart.resetZoom();
    chart.showCrosshairAt(QPointF(chart.width() * 0.35, 100));
    EXPECT_TRUE(chart.crosshairText().endsWith(", no record here"))
        << chart.crosshairText().toStdString();
}

}  // namespace
