// The strip chart's memory and controls: a whole shift of points in bounded memory with
// nothing lost from the decimated view, and controls a keyboard and a screen reader reach.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLabel>

#include "tests/harness/virtual_clock.h"
#include "toolkit/panels/chart_history.h"
#include "toolkit/panels/strip_chart.h"

namespace {

TEST(ChartHistory, AnEightHourRunAtTheLineRateFitsAndKeepsEveryExtreme) {
    constexpr double kRate = 192;
    constexpr long kPoints = static_cast<long>(8 * 3600 * kRate);
    constexpr size_t kRecent = 131072;
    ChartHistory history(kRecent);
    for (long i = 0; i < kPoints; ++i) {
        ChartPoint p;
        p.time = static_cast<double>(i) / kRate;
        p.value = i == 100000 ? 1000.0 : static_cast<double>(i % 100);  // one spike, 8 min in
        history.add(p);
    }
    EXPECT_EQ(history.total(), static_cast<unsigned long long>(kPoints));
    EXPECT_EQ(history.recent().size(), kRecent);
    EXPECT_LE(history.bucketCount(), 4096u);

    std::vector<ChartColumn> columns(600);
    history.fillColumns(0, history.lastTime(), false, columns);
    EXPECT_TRUE(std::all_of(columns.begin(), columns.end(), [](const ChartColumn& c) {
        return c.any && c.min == 0 && c.max >= 99;
    }));
    EXPECT_EQ(std::count_if(columns.begin(), columns.end(),
                            [](const ChartColumn& c) { return c.max == 1000; }),
              1);
    // The latest minutes come at full resolution: a column per point.
    columns.assign(100, {});
    history.fillColumns(history.lastTime() - 99 / kRate, history.lastTime(), false, columns);
    EXPECT_TRUE(std::all_of(columns.begin(), columns.end(),
                            [](const ChartColumn& c) { return c.any && c.min == c.max; }));
}

TEST(StripChartControls, EachHasANameTheKeyboardReachesAndPauseKeepsTheDescription) {
    StripChart chart("Level", 100, 0, 10);
    chart.setUnits("m", "Second reading", "");
    for (QWidget* w : chart.findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(w))
            continue;
        const auto* button = qobject_cast<QAbstractButton*>(w);
        EXPECT_TRUE(!w->accessibleName().isEmpty() || (button && !button->text().isEmpty()))
            << w->metaObject()->className();
        EXPECT_EQ(w->focusPolicy(), Qt::StrongFocus) << w->metaObject()->className();
    }
    EXPECT_EQ(chart.focusPolicy(), Qt::StrongFocus);

    chart.setPaused(true);
    chart.addSample({4.5, 1843, true, 20.5});
    EXPECT_TRUE(chart.description().contains("latest value 4.5"))
        << chart.description().toStdString();
    EXPECT_TRUE(chart.paused());
    chart.zoomTo(0, 1, 2, 3);
    EXPECT_TRUE(chart.zoomed());
    chart.setPaused(false);  // resuming follows the latest points again
    EXPECT_FALSE(chart.zoomed());
}

// The trace read back from the chart's pixels: the columns that hold some of its colour,
// and the longest unbroken vertical run of it in any one column.
struct TracePixels {
    int first = -1, last = -1, holes = 0, longestRun = 0;
};

TracePixels tracePixels(StripChart& chart) {
    const QImage image = chart.grab().toImage();
    const QRgb colour = chart.palette().color(QPalette::Highlight).rgb();
    TracePixels t;
    std::vector<bool> traced(static_cast<size_t>(image.width()));
    for (int x = 0; x < image.width(); ++x) {
        int run = 0;
        for (int y = 0; y < image.height(); ++y) {
            run = image.pixel(x, y) == colour ? run + 1 : 0;
            t.longestRun = std::max(t.longestRun, run);
            traced[static_cast<size_t>(x)] = traced[static_cast<size_t>(x)] || run > 0;
        }
        if (traced[static_cast<size_t>(x)]) {
            t.first = t.first < 0 ? x : t.first;
            t.last = x;
        }
    }
    for (int x = std::max(0, t.first); x < t.last; ++x)
        t.holes += traced[static_cast<size_t>(x)] ? 0 : 1;
    return t;
}

// A minute at the line rate puts many points in every pixel column; a zoom into a fraction
// of a second leaves most columns without one. Either way the trace is one unbroken line,
// and a step from one level to another is drawn whole; the crosshair reads records only
// where there are some.
TEST(StripChartTrace, IsUnbrokenWhetherColumnsHoldManyPointsOrNone) {
    VirtualClock clock;
    SetToolkitClock(&clock);
    {
        StripChart chart("Level", 16384, 0, 2);
        chart.resize(600, 320);
        constexpr int kRate = 192;
        for (int i = 0; i < 60 * kRate; ++i) {
            clock.advance(1.0 / kRate);
            chart.addSample({i < 30 * kRate ? 0.5 : 1.5, 0, false, 0});
        }
        const TracePixels dense = tracePixels(chart);
        EXPECT_GT(dense.last - dense.first, 400);
        EXPECT_EQ(dense.holes, 0);
        EXPECT_GT(dense.longestRun, 60);  // the step: half the plot's height, 0.5 to 1.5

        chart.zoomTo(30 - 0.1, 30 + 0.1, 0, 2);  // 38 points over hundreds of columns
        const TracePixels sparse = tracePixels(chart);
        EXPECT_GT(sparse.last - sparse.first, 400);
        EXPECT_EQ(sparse.holes, 0);

        // The crosshair reads the record under it, and none before the run began.
        auto cursorText = [&] {
            for (const QLabel* label : chart.findChildren<QLabel*>())
                if (label->text().startsWith("Cursor:"))
                    return label->text();
            return QString();
        };
        chart.zoomTo(-30, 60, 0, 2);
        chart.showCrosshairAt(QPointF(chart.width() * 0.9, chart.height() / 2.0));
        EXPECT_TRUE(cursorText().endsWith(", 1.500 (0 counts)")) << cursorText().toStdString();
        chart.showCrosshairAt(QPointF(chart.width() * 0.15, chart.height() / 2.0));
        EXPECT_TRUE(cursorText().endsWith("no record here")) << cursorText().toStdString();
    }
    SetToolkitClock(nullptr);
}

}  // namespace
