// The recording chart's painting: the axes and the trace (shared with the live chart,
// chart_axes.h), at most one piece of trace per pixel column, then on the screen the
// crosshair, the rubber band and the focus frame.
#include <QPaintEvent>
#include <QPainter>
#include <QSpacerItem>
#include <algorithm>
#include <vector>

#include "toolkit/panels/recording_chart.h"

void RecordingChart::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect area = plotArea_->geometry();
    if (!area.contains(event->rect()))
        p.fillRect(event->rect(), palette().color(QPalette::Window));
    paintPlot(p, area, true);
}

void RecordingChart::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        labels_.clear();
    QWidget::changeEvent(event);
}

void RecordingChart::paintPlot(QPainter& p, const QRect& area, bool onScreen) {
    const QPalette& pal = palette();
    p.setFont(font());
    p.fillRect(area, pal.color(QPalette::Base));
    const QFontMetrics fm(font());
    const QRectF plot = plotRectIn(area);
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const ChartView& v = zoom_.view();
    ChartAxes axes = chartAxes(area, plot, v.t0, v.t1, v.y0, v.y1);
    axes.yTitle = valueTitle_;
    switch (axis_) {
        case TimeAxis::SinceStart:
            axes.xTitle = tr("Time since the run's start");
            axes.timeLabel = [](double t, double step) {
                return chartTimeLabel(t, step, std::nullopt);
            };
            break;
        case TimeAxis::Clock:
            axes.xTitle = tr("Clock time");
            axes.tBase = wallAtStart_;
            axes.timeLabel = [this](double t, double step) {
                return chartTimeLabel(t, step, wallAtStart_);
            };
            break;
        case TimeAxis::Numbers:
            axes.xTitle = tr("Record number");
            axes.timeLabel = [](double t, double) { return QString::number(t, 'f', 0); };
            break;
    }
    paintChartAxes(p, axes, fm, pal, labels_);
    if (!series_ || series_->size() == 0) {
        p.setPen(pal.color(QPalette::Text));
        labels_.draw(p, plot, Qt::AlignCenter,
                     series_ ? tr("No records in this recording") : tr("No recording open"));
        return;
    }

    auto yFor = [&](double value) { return chartY(plot, v.y0, v.y1, value); };
    auto xFor = [&](double t) { return plot.left() + (t - v.t0) / (v.t1 - v.t0) * plot.width(); };
    std::vector<ChartColumn> columns(static_cast<size_t>(std::max(1.0, plot.width())));
    series_->fillColumns(v.t0, v.t1, columns);
    p.setClipRect(plot.adjusted(-1, -1, 1, 1));
    paintChartTrace(p, plot, columns, yFor, pal.color(QPalette::Highlight));
    p.setClipping(false);
    if (!onScreen)
        return;

    p.setPen(QPen(pal.color(QPalette::Text), 0, Qt::DashDotLine));
    if (crosshair_ && *crosshair_ < series_->size()) {
        const double x = xFor(series_->timeOf(*crosshair_));
        const double y = yFor(series_->valueOf(*crosshair_));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    } else if (pointerTime_) {
        const double x = xFor(*pointerTime_);
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    if (bandStart_) {
        p.setPen(QPen(pal.color(QPalette::Text), 0, Qt::DashLine));
        p.drawRect(QRectF(*bandStart_, bandEnd_).normalized());
    }
    if (hasFocus())
        drawChartFrame(p, QRectF(area).adjusted(0, 0, -1, -1), pal.color(QPalette::Highlight));
}

QRectF RecordingChart::plotRectIn(const QRect& area) const {
    const QFontMetrics fm(font());
    const int left = fm.horizontalAdvance(QStringLiteral("-00.000")) + fm.height() + 8;
    return QRectF(area).adjusted(left, fm.height() / 2.0 + 2, -12, -(fm.height() * 2.0 + 4));
}

QRectF RecordingChart::plotRect() const {
    return plotRectIn(plotArea_->geometry());
}

double RecordingChart::timeAt(double x) const {
    const ChartView& v = zoom_.view();
    const QRectF plot = plotRect();
    return v.t0 + (x - plot.left()) / std::max(1.0, plot.width()) * (v.t1 - v.t0);
}

double RecordingChart::valueAt(double y) const {
    const ChartView& v = zoom_.view();
    const QRectF plot = plotRect();
    return v.y0 + (plot.bottom() - y) / std::max(1.0, plot.height()) * (v.y1 - v.y0);
}
