// The strip chart's painting: the plot with its grid lines, labels and traces (shared with
// the recording chart, chart_axes.h), the rubber band and the crosshair. The plot alone
// paints into any area, so an exported image is the chart as shown.
#include <QPaintEvent>
#include <QPainter>
#include <QSpacerItem>
#include <algorithm>
#include <cmath>

#include "toolkit/panels/chart_axes.h"
#include "toolkit/panels/chart_image.h"
#include "toolkit/panels/strip_chart.h"
#include "toolkit/platform/calendar.h"
#include "toolkit/platform/clock.h"

QString StripChart::timeLabel(double t, double step) const {
    return chartTimeLabel(t - origin_, step,
                          clockTime_ ? std::optional<double>(originWall_) : std::nullopt);
}

void StripChart::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        labels_.clear();
    QWidget::changeEvent(event);
}

void StripChart::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect area = plotArea_->geometry();
    if (!area.contains(event->rect()))
        p.fillRect(event->rect(), palette().color(QPalette::Window));
    paintPlot(p, area, true);
}

void StripChart::paintPlot(QPainter& p, const QRect& area, bool onScreen) {
    const QPalette& pal = palette();
    p.setFont(font());
    p.fillRect(area, pal.color(QPalette::Base));
    const QFontMetrics fm(font());
    const QRectF plot = plotRectIn(area);
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const View v = currentView();
    ChartAxes axes = chartAxes(area, plot, v.t0, v.t1, v.y0, v.y1);
    axes.tBase = clockTime_ ? originWall_ - origin_ : -origin_;
    axes.yTitle = unit_.isEmpty() ? name_ : QStringLiteral("%1 (%2)").arg(name_, unit_);
    axes.xTitle = clockTime_ ? tr("Clock time") : tr("Time since the run's start");
    axes.timeLabel = [this](double t, double step) { return timeLabel(t, step); };
    paintChartAxes(p, axes, fm, pal, labels_);

    auto yFor = [&](double value) { return chartY(plot, v.y0, v.y1, value); };
    // Every point of a column counts, however many.
    std::vector<ChartColumn> columns(static_cast<size_t>(std::max(1.0, plot.width())));
    p.setClipRect(plot.adjusted(-1, -1, 1, 1));
    history_.fillColumns(v.t0, v.t1, false, columns);
    paintChartTrace(p, plot, columns, yFor, pal.color(QPalette::Highlight));

    if (showSecond_ && history_.anySecond()) {
        double lo = 0, hi = 0;
        if (history_.valueRange(v.t0, v.t1, true, lo, hi)) {
            const double pad = hi > lo ? (hi - lo) * 0.1 : std::max(1.0, std::abs(hi) * 0.05);
            lo -= pad;
            hi += pad;
            auto y2For = [&](double value) {
                return plot.bottom() - (value - lo) / (hi - lo) * plot.height();
            };
            history_.fillColumns(v.t0, v.t1, true, columns);
            const QColor secondColour(0xd0, 0x60, 0x10);
            paintChartTrace(p, plot, columns, y2For, secondColour);
            p.setClipping(false);
            p.setPen(secondColour);
            const double step = niceStep(hi - lo, 4);
            for (double y = std::ceil(lo / step) * step; y <= hi; y += step)
                labels_.draw(p,
                             QRectF(plot.right() + 3, y2For(y) - fm.height() / 2.0,
                                    area.right() - plot.right() - 3, fm.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, QString::number(y, 'g', 5));
        }
    }
    p.setClipping(false);
    if (!onScreen)
        return;

    if (bandStart_) {
        p.setPen(QPen(pal.color(QPalette::Text), 0, Qt::DashLine));
        p.drawRect(QRectF(*bandStart_, bandEnd_).normalized());
    }
    if (crosshair_ && plot.contains(*crosshair_)) {
        p.setPen(QPen(pal.color(QPalette::Text), 0, Qt::DashDotLine));
        p.drawLine(QPointF(crosshair_->x(), plot.top()), QPointF(crosshair_->x(), plot.bottom()));
        p.drawLine(QPointF(plot.left(), crosshair_->y()), QPointF(plot.right(), crosshair_->y()));
    }
    if (hasFocus())
        drawChartFrame(p, QRectF(area).adjusted(0, 0, -1, -1), pal.color(QPalette::Highlight));
}

// Proposed as "Level 2026-12-08 1405.png": the chart's name and when it was saved, as the
// logs are named.
void StripChart::saveImage() {
    const CalendarTime t = LocalCalendarTime(CurrentClock().wallTime());
    const QString name = QStringLiteral("%1 %2-%3-%4 %5%6")
                             .arg(name_)
                             .arg(t.year, 4, 10, QLatin1Char('0'))
                             .arg(t.month, 2, 10, QLatin1Char('0'))
                             .arg(t.day, 2, 10, QLatin1Char('0'))
                             .arg(t.hour, 2, 10, QLatin1Char('0'))
                             .arg(t.minute, 2, 10, QLatin1Char('0'));
    reportChartImageLine(
        saveChartImage(this, plotSize(), name, name_,
                       [this](QPainter& p, const QRect& area) { paintPlot(p, area, false); }));
}
