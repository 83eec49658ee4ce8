// The strip chart's memory and controls: a whole shift of points in bounded memory with
// nothing lost from the decimated view, and controls a keyboard and a screen reader reach.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>

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

}  // namespace
