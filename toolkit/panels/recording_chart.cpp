// The recording chart's records, view and readouts; painting in recording_chart_paint.cpp,
// the mouse and the keys in recording_chart_input.cpp.
#include "toolkit/panels/recording_chart.h"

#include <QAccessible>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <cmath>

#include "toolkit/panels/chart_accessible.h"

namespace {

// The crosshair takes the nearest record within this many pixels, else says none is there.
constexpr double kReachPixels = 5;

QLabel* readout(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setWordWrap(true);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    return label;
}

}  // namespace

RecordingChart::RecordingChart(const QString& name, QWidget* parent)
    : QWidget(parent), name_(name), valueTitle_(name) {
    AccessibleChart<RecordingChart, QAccessible::Value, &RecordingChart::crosshairText>::install();
    setAccessibleName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setToolTip(
        tr("Wheel or + and -: zoom (with Shift, the level); drag: zoom into a "
           "rectangle; arrows: move; Shift and the arrows: the crosshair from record "
           "to record; Home, End: the first and last record in view; Escape or a "
           "right click: the whole recording"));

    crosshairLabel_ = readout(this);
    summary_ = readout(this);
    summary_->setAccessibleName(tr("Summary of the records in view"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    plotArea_ = new QSpacerItem(240, 120, QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addItem(plotArea_);
    layout->addWidget(crosshairLabel_);
    layout->addWidget(summary_);
    refreshCrosshair();
}

void RecordingChart::setSeries(const ChartSeries* series, double ymin, double ymax) {
    series_ = series;
    crosshair_.reset();
    pointerTime_.reset();
    ChartView whole{0, 1, ymin, ymax > ymin ? ymax : ymin + 1};
    if (series_ && series_->size() > 0) {
        whole.t0 = series_->timeOf(0);
        whole.t1 = series_->timeOf(series_->size() - 1);
    }
    zoom_.setWhole(whole);
    viewMoved();
}

void RecordingChart::setValueRange(double ymin, double ymax) {
    ChartView whole = zoom_.whole();
    whole.y0 = ymin;
    whole.y1 = ymax > ymin ? ymax : ymin + 1;
    ChartView shown = zoom_.view();
    shown.y0 = whole.y0;
    shown.y1 = whole.y1;
    zoom_.setWhole(whole);
    zoom_.show(shown);
    viewMoved();
}

void RecordingChart::setValueTitle(const QString& title) {
    valueTitle_ = title;
    update();
}

void RecordingChart::setTimeAxis(TimeAxis axis, double wallAtStart) {
    axis_ = axis;
    wallAtStart_ = wallAtStart;
    refreshCrosshair();
    update();
}

void RecordingChart::setSummary(const QString& line) {
    summary_->setText(line);
    setAccessibleDescription(line);
}

QString RecordingChart::summary() const {
    return summary_->text();
}

QString RecordingChart::crosshairText() const {
    return crosshairLabel_->text();
}

void RecordingChart::zoomTo(const ChartView& view) {
    zoom_.show(view);
    viewMoved();
}

void RecordingChart::resetZoom() {
    zoom_.reset();
    viewMoved();
}

// Everything that hangs on the view: the picture, the crosshair's reach, the summary.
void RecordingChart::viewMoved() {
    refreshCrosshair();
    update();
    emit zoomedChanged(zoom_.zoomed());
    emit viewChanged();
}

void RecordingChart::showCrosshairAt(QPointF position) {
    crosshair_.reset();
    pointerTime_.reset();
    const QRectF plot = plotRect();
    if (series_ && series_->size() > 0 && plot.contains(position)) {
        const double t = timeAt(position.x());
        const size_t after = std::min(series_->firstAtOrAfter(t), series_->size() - 1);
        size_t near = after;
        if (after > 0 &&
            std::abs(series_->timeOf(after - 1) - t) <= std::abs(series_->timeOf(after) - t))
            near = after - 1;
        const ChartView& v = zoom_.view();
        const double reach = kReachPixels * (v.t1 - v.t0) / std::max(1.0, plot.width());
        if (std::abs(series_->timeOf(near) - t) <= reach)
            crosshair_ = near;
        else
            pointerTime_ = t;
    }
    refreshCrosshair();
    update();
}

void RecordingChart::stepCrosshair(int records) {
    if (!series_ || series_->size() == 0)
        return;
    const ChartView& v = zoom_.view();
    size_t at = 0;
    if (crosshair_) {
        const long long next = static_cast<long long>(*crosshair_) + records;
        at = static_cast<size_t>(
            std::clamp<long long>(next, 0, static_cast<long long>(series_->size()) - 1));
    } else {
        const size_t first = std::min(series_->firstAtOrAfter(v.t0), series_->size() - 1);
        const size_t end = series_->firstAtOrAfter(std::nextafter(v.t1, v.t1 + 1));
        at = records < 0 && end > 0 ? end - 1 : first;
    }
    placeCrosshair(at);
}

// The crosshair on `record`, the view moved to hold it when it was outside.
void RecordingChart::placeCrosshair(size_t record) {
    crosshair_ = record;
    pointerTime_.reset();
    const double t = series_->timeOf(record);
    ChartView v = zoom_.view();
    if (t < v.t0 || t > v.t1) {
        const double span = v.t1 - v.t0;
        v.t0 = t - span / 2;
        v.t1 = t + span / 2;
        zoom_.show(v);
        viewMoved();
    } else {
        refreshCrosshair();
        update();
    }
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, crosshairText());
        QAccessible::updateAccessibility(&event);
    }
}

void RecordingChart::refreshCrosshair() {
    const bool clock = axis_ == TimeAxis::Clock;
    QString text;
    if (crosshair_ && series_ && *crosshair_ < series_->size())
        text = tr("Crosshair: %1, %2")
                   .arg(series_->timeText(series_->timeOf(*crosshair_), clock),
                        series_->valueText(*crosshair_));
    else if (pointerTime_ && series_)
        text = tr("Crosshair: %1, no record here").arg(series_->timeText(*pointerTime_, clock));
    else
        text = tr("Crosshair: none (point at the chart, or press Shift and an arrow key)");
    if (crosshairLabel_->text() != text)
        crosshairLabel_->setText(text);
}

QSize RecordingChart::plotSize() const {
    return plotArea_->geometry().size();
}

QSize RecordingChart::sizeHint() const {
    const QSize rows = layout() ? layout()->sizeHint() : QSize();
    return {std::max(640, rows.width()), 320 + rows.height()};
}

QSize RecordingChart::minimumSizeHint() const {
    const QSize rows = layout() ? layout()->minimumSize() : QSize();
    return {std::max(240, rows.width()), 120 + rows.height()};
}
