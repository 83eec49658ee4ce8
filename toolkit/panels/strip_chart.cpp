// The strip chart's points and readouts, tied to its row of controls; the view they give is
// in strip_chart_view.cpp, painting in strip_chart_paint.cpp, the mouse and the keys in
// strip_chart_input.cpp.
#include "toolkit/panels/strip_chart.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "toolkit/panels/chart_accessible.h"
#include "toolkit/panels/strip_chart_controls.h"
#include "toolkit/platform/clock.h"

namespace {

// A level moves slowly and a trace that steps a few pixels a frame reads as well as a
// smooth one: a short window repaints up to 10 times a second, a long one (whose trace
// hardly moves) down to twice, as often as the readout changes. Frames are most of what a
// live run costs.
constexpr int kFrameMs = 100;
constexpr int kSlowestFrameMs = 500;
constexpr double kPixelsPerFrame = 5;
constexpr qint64 kReadoutMs = 500;
constexpr qint64 kDescribeMs = 1000;

QString number(double v) {
    return QString::number(v, 'g', 6);
}

}  // namespace

StripChart::StripChart(const QString& name, int capacity, double ymin, double ymax, QWidget* parent)
    : QWidget(parent),
      name_(name),
      capacity_(std::max(2, capacity)),
      ymin_(ymin),
      ymax_(ymax),
      history_(static_cast<size_t>(capacity_)) {
    // Before anything here asks for the chart's accessible interface, which is then kept.
    // The description straight from the chart, so a read between frames sees the latest value.
    AccessibleChart<StripChart, QAccessible::Description, &StripChart::description>::install();
    setAccessibleName(name);
    // The chart paints all of itself, so a frame repaints the plot alone and nothing below.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    controls_ = new StripChartControls(this);
    window_ = StripChartControls::defaultWindowSeconds();
    // Readouts of a fixed size: a text that changes every frame must not lay out the panel
    // every frame.
    const QFontMetrics fm(font());
    latest_ = new QLabel(this);
    latest_->setAccessibleName(tr("Latest value"));
    latest_->setFixedSize(fm.horizontalAdvance(QLatin1Char('0')) * 64, fm.height() + 4);
    latest_->setAutoFillBackground(true);
    cursor_ = new QLabel(this);
    cursor_->setAccessibleName(tr("Value under the crosshair"));
    cursor_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cursor_->setFixedSize(fm.horizontalAdvance(QLatin1Char('0')) * 40, fm.height() + 4);
    cursor_->setAutoFillBackground(true);

    auto* readouts = new QHBoxLayout;
    readouts->addWidget(latest_);
    readouts->addStretch();
    readouts->addWidget(cursor_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(controls_);
    plotArea_ = new QSpacerItem(160, 80, QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addItem(plotArea_);
    layout->addLayout(readouts);

    connect(controls_, &StripChartControls::windowChosen, this, &StripChart::setWindowSeconds);
    connect(controls_, &StripChartControls::clockTimeChosen, this, &StripChart::setClockTime);
    connect(controls_, &StripChartControls::pauseClicked, this, &StripChart::togglePaused);
    connect(controls_, &StripChartControls::resetZoomClicked, this, &StripChart::resetZoom);
    connect(controls_, &StripChartControls::secondShownChosen, this, &StripChart::setSecondShown);
    connect(controls_, &StripChartControls::saveImageClicked, this, &StripChart::saveImage);
    connect(this, &StripChart::windowChanged, controls_, &StripChartControls::showWindow);
    connect(this, &StripChart::pausedChanged, controls_, &StripChartControls::showPaused);
    connect(this, &StripChart::zoomedChanged, controls_, &StripChartControls::showZoomed);
    connect(this, &StripChart::secondAvailable, controls_,
            &StripChartControls::showSecondAvailable);
    connect(this, &StripChart::secondShownChanged, controls_, &StripChartControls::showSecondShown);

    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, &StripChart::endFrame);
    refreshReadout();
    describe();
}

void StripChart::setUnits(const QString& unit, const QString& secondLabel,
                          const QString& secondUnit) {
    unit_ = unit;
    secondLabel_ = secondLabel;
    secondUnit_ = secondUnit;
    refreshReadout();
}

void StripChart::addPoint(double value) {
    ChartPoint point;
    point.value = value;
    add(point);
}

void StripChart::addSample(const StripChartSample& sample) {
    ChartPoint point;
    point.value = sample.value;
    point.count = sample.count;
    point.hasCount = true;
    point.hasSecond = sample.hasSecond;
    point.second = sample.second;
    point.gapBefore = sample.gapBefore;
    add(point);
}

void StripChart::add(ChartPoint point) {
    ToolkitClock& clock = CurrentClock();
    point.time = clock.now();
    if (!originSet_) {
        originSet_ = true;
        origin_ = point.time;
        originWall_ = clock.wallTime();
    }
    history_.add(point);
    if (!frame_.isActive()) {
        const View v = currentView();
        const double msPerPixel = (v.t1 - v.t0) / std::max(1.0, plotRect().width()) * 1000;
        frame_.start(
            std::clamp(static_cast<int>(msPerPixel * kPixelsPerFrame), kFrameMs, kSlowestFrameMs));
    }
}

void StripChart::startRun() {
    ToolkitClock& clock = CurrentClock();
    originSet_ = true;
    origin_ = clock.now();
    originWall_ = clock.wallTime();
    update();
}

std::vector<double> StripChart::points() const {
    std::vector<double> values;
    values.reserve(history_.recent().size());
    for (const ChartPoint& p : history_.recent()) values.push_back(p.value);
    return values;
}

void StripChart::setYRange(double ymin, double ymax) {
    autoscale_ = false;
    ymin_ = ymin;
    ymax_ = ymax;
    describe();
    update();
}

void StripChart::setAutoscale(bool on) {
    autoscale_ = on;
    describe();
    update();
}

double StripChart::ymin() const {
    double lo = ymin_, hi = ymax_;
    if (autoscale_ && !history_.empty())
        history_.valueRange(history_.firstTime(), history_.lastTime(), false, lo, hi);
    return lo;
}

double StripChart::ymax() const {
    double lo = ymin_, hi = ymax_;
    if (autoscale_ && !history_.empty())
        history_.valueRange(history_.firstTime(), history_.lastTime(), false, lo, hi);
    return hi;
}

void StripChart::setWindowSeconds(double seconds) {
    window_ = seconds;
    emit windowChanged(seconds);
    if (held_)
        held_ = followedView();
    update();
}

void StripChart::setPaused(bool paused) {
    paused_ = paused;
    if (paused)
        held_ = followedView();
    else {
        held_.reset();
        zoom_.reset();
    }
    emit pausedChanged(paused);
    emit zoomedChanged(zoom_.has_value());
    redraw();
}

void StripChart::zoomTo(double t0, double t1, double y0, double y1) {
    if (!(t1 > t0))
        return;
    if (!held_)
        held_ = followedView();
    zoom_ = View{t0, t1, std::min(y0, y1), std::max(y0, y1)};
    emit zoomedChanged(true);
    update();
}

void StripChart::resetZoom() {
    zoom_.reset();
    if (!paused_)
        held_.reset();
    emit zoomedChanged(false);
    update();
}

void StripChart::setSecondShown(bool shown) {
    showSecond_ = shown;
    emit secondShownChanged(shown);
    update();
}

void StripChart::showCrosshairAt(QPointF position) {
    crosshair_ = position;
    redraw();
}

void StripChart::endFrame() {
    if (history_.anySecond() && !secondAnnounced_) {
        secondAnnounced_ = true;
        emit secondAvailable();
    }
    // The readout is read, not watched: two changes a second, as a meter shows them, and a
    // screen reader told of a new description once a second (it reads the latest whenever
    // it asks).
    if (!readoutShown_.isValid() || readoutShown_.elapsed() >= kReadoutMs) {
        readoutShown_.start();
        refreshReadout();
    }
    if (!described_.isValid() || described_.elapsed() >= kDescribeMs) {
        described_.start();
        describe();
    }
    // A held view shows nothing new; only the readout moves on.
    if (!held_)
        update(plotArea_->geometry());
}

// Screen readers cannot see the trace: the description carries the latest value.
QString StripChart::description() const {
    const QString range = QStringLiteral("range %1 to %2").arg(number(ymin()), number(ymax()));
    if (history_.empty())
        return QStringLiteral("Strip chart, no values yet, %1").arg(range);
    return QStringLiteral("Strip chart, latest value %1, %2")
        .arg(number(history_.recent().back().value), range);
}

void StripChart::describe() {
    setAccessibleDescription(description());
}

QString StripChart::valueText(double v) const {
    const QString text = QString::number(v, 'f', 3);
    return unit_.isEmpty() ? text : text + QLatin1Char(' ') + unit_;
}

void StripChart::refreshReadout() {
    if (history_.empty()) {
        latest_->setText(tr("No values yet"));
    } else {
        const ChartPoint& last = history_.recent().back();
        QString text = tr("Latest: %1").arg(valueText(last.value));
        if (last.hasCount)
            text += tr(" (%1 counts)").arg(last.count);
        if (last.hasSecond)
            text += QStringLiteral(", %1 %2")
                        .arg(secondLabel_.isEmpty() ? tr("second value") : secondLabel_)
                        .arg(QString::number(last.second, 'g', 6)) +
                    (secondUnit_.isEmpty() ? QString() : QLatin1Char(' ') + secondUnit_);
        text += tr(" · %1 points").arg(history_.total());
        if (paused_)
            text += tr(" · paused");
        latest_->setText(text);
    }
    ChartPoint near;
    const QRectF plot = plotRect();
    if (!crosshair_ || !plot.contains(*crosshair_) ||
        !history_.nearest(timeAt(crosshair_->x()), near)) {
        if (!cursor_->text().isEmpty())
            cursor_->clear();
        return;
    }
    const View v = currentView();
    const double t = timeAt(crosshair_->x());
    const QString time = timeLabel(t, (v.t1 - v.t0) / 1000);
    // A record far from the cursor (before the run, across a gap in the stream) is not the
    // cursor's: it must lie within a few pixels, a second, or one of the thinned history's
    // stretches.
    constexpr double kReachPixels = 5;
    constexpr double kReachSeconds = 1;
    const double reach = std::max({kReachPixels * (v.t1 - v.t0) / std::max(1.0, plot.width()),
                                   kReachSeconds, history_.bucketSpan()});
    if (std::abs(near.time - t) > reach) {
        cursor_->setText(tr("Cursor: %1, no record here").arg(time));
        return;
    }
    QString text = tr("Cursor: %1, %2").arg(time, valueText(near.value));
    if (near.hasCount)
        text += tr(" (%1 counts)").arg(near.count);
    cursor_->setText(text);
}

void StripChart::holdView(const View& view) {
    if (!held_)
        held_ = followedView();
    zoom_ = view;
    emit zoomedChanged(true);
    redraw();
}

void StripChart::redraw() {
    update();
    refreshReadout();
}

void StripChart::setClockTime(bool clockTime) {
    clockTime_ = clockTime;
    redraw();
}

void StripChart::togglePaused() {
    setPaused(!paused_);
}

QSize StripChart::sizeHint() const {
    const QSize bars = layout() ? layout()->sizeHint() : QSize();
    const QSize plot = preferred_.isValid() ? preferred_ : QSize(400, 200);
    return {std::max(plot.width(), bars.width()), plot.height() + bars.height()};
}

QSize StripChart::minimumSizeHint() const {
    const QSize bars = layout() ? layout()->minimumSize() : QSize();
    return {std::max(160, bars.width()), 80 + bars.height()};
}

void StripChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}
