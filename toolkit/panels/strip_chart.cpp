// Painting, bookkeeping and the operator's handling of the strip chart.
#include "toolkit/panels/strip_chart.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "toolkit/platform/clock.h"

namespace {

// A trace that moves a couple of pixels a frame still looks smooth: a short window
// repaints up to 25 times a second, a long one (whose trace hardly moves) down to 4 times.
constexpr int kFrameMs = 40;
constexpr int kSlowestFrameMs = 250;
constexpr double kPixelsPerFrame = 2;
constexpr qint64 kReadoutMs = 250;
constexpr qint64 kDescribeMs = 1000;
// What one notch of the wheel, and the keyboard's + and -, do to the span shown.
constexpr double kWheelZoom = 0.8;
constexpr double kKeyZoom = 0.5;
constexpr double kKeyPan = 0.2;
// A drag shorter than this is a click, not a rectangle to zoom into.
constexpr double kSmallestBand = 4;

struct WindowChoice {
    const char* label;
    double seconds;  // 0: the whole run
};
constexpr WindowChoice kWindows[] = {
    {"10 s", 10}, {"1 min", 60}, {"10 min", 600}, {"Whole run", 0}};
constexpr int kDefaultWindow = 1;

QString number(double v) {
    return QString::number(v, 'g', 6);
}

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts` pieces.
double niceStep(double span, int parts) {
    if (!(span > 0))
        return 1;
    const double raw = span / parts;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * magnitude >= raw)
            return m * magnitude;
    return 10 * magnitude;
}

// Time steps read best in whole minutes and hours once they pass a minute.
double niceTimeStep(double span, int parts) {
    const double raw = span / parts;
    if (raw <= 30)
        return niceStep(span, parts);
    for (double s : {60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0, 7200.0, 10800.0, 21600.0})
        if (s >= raw)
            return s;
    return 43200;
}

// The description straight from the chart, so a read between frames sees the latest value.
class AccessibleStripChart : public QAccessibleWidget {
  public:
    explicit AccessibleStripChart(StripChart* chart)
        : QAccessibleWidget(chart, QAccessible::Chart) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description)
            return static_cast<const StripChart*>(widget())->description();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* accessibleStripChart(const QString& className, QObject* object) {
    if (className == QLatin1String("StripChart") && object && object->isWidgetType())
        return new AccessibleStripChart(static_cast<StripChart*>(object));
    return nullptr;
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
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleStripChart);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAccessibleName(name);
    // The chart paints all of itself, so a frame repaints the plot alone and nothing below.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    windowChoice_ = new QComboBox(this);
    for (const WindowChoice& w : kWindows) windowChoice_->addItem(tr(w.label), w.seconds);
    windowChoice_->setCurrentIndex(kDefaultWindow);
    windowChoice_->setAccessibleName(tr("Time shown"));
    window_ = kWindows[kDefaultWindow].seconds;
    timeChoice_ = new QComboBox(this);
    timeChoice_->addItem(tr("Seconds since start"));
    timeChoice_->addItem(tr("Clock time"));
    timeChoice_->setAccessibleName(tr("Time axis"));
    pause_ = new QPushButton(tr("Pause"), this);
    pause_->setAccessibleName(tr("Pause or resume the chart"));
    resetZoom_ = new QPushButton(tr("Reset zoom"), this);
    resetZoom_->setEnabled(false);
    second_ = new QCheckBox(tr("Show second value"), this);
    second_->setChecked(true);
    second_->hide();
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
    for (QWidget* w :
         std::initializer_list<QWidget*>{windowChoice_, timeChoice_, pause_, resetZoom_, second_})
        w->setFocusPolicy(Qt::StrongFocus);

    auto* windowLabel = new QLabel(tr("&Show:"), this);
    windowLabel->setBuddy(windowChoice_);
    auto* timeLabel = new QLabel(tr("&Time axis:"), this);
    timeLabel->setBuddy(timeChoice_);
    auto* bar = new QHBoxLayout;
    bar->addWidget(windowLabel);
    bar->addWidget(windowChoice_);
    bar->addWidget(timeLabel);
    bar->addWidget(timeChoice_);
    bar->addWidget(pause_);
    bar->addWidget(resetZoom_);
    bar->addWidget(second_);
    bar->addStretch();
    auto* readouts = new QHBoxLayout;
    readouts->addWidget(latest_);
    readouts->addStretch();
    readouts->addWidget(cursor_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    plotArea_ = new QSpacerItem(160, 80, QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addItem(plotArea_);
    layout->addLayout(readouts);

    connect(windowChoice_, &QComboBox::currentIndexChanged, this,
            [this](int i) { setWindowSeconds(windowChoice_->itemData(i).toDouble()); });
    connect(timeChoice_, &QComboBox::currentIndexChanged, this, [this](int i) {
        clockTime_ = i == 1;
        update();
        refreshReadout();
    });
    connect(pause_, &QPushButton::clicked, this, [this] { setPaused(!paused_); });
    connect(resetZoom_, &QPushButton::clicked, this, &StripChart::resetZoom);
    connect(second_, &QCheckBox::toggled, this, &StripChart::setSecondShown);

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
    for (int i = 0; i < windowChoice_->count(); ++i)
        if (windowChoice_->itemData(i).toDouble() == seconds)
            windowChoice_->setCurrentIndex(i);
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
    pause_->setText(paused ? tr("Resume") : tr("Pause"));
    resetZoom_->setEnabled(zoom_.has_value());
    update();
    refreshReadout();
}

void StripChart::zoomTo(double t0, double t1, double y0, double y1) {
    if (!(t1 > t0))
        return;
    if (!held_)
        held_ = followedView();
    zoom_ = View{t0, t1, std::min(y0, y1), std::max(y0, y1)};
    resetZoom_->setEnabled(true);
    update();
}

void StripChart::resetZoom() {
    zoom_.reset();
    if (!paused_)
        held_.reset();
    resetZoom_->setEnabled(false);
    update();
}

void StripChart::setSecondShown(bool shown) {
    showSecond_ = shown;
    if (second_->isChecked() != shown)
        second_->setChecked(shown);
    update();
}

void StripChart::showCrosshairAt(QPointF position) {
    crosshair_ = position;
    refreshReadout();
    update();
}

void StripChart::endFrame() {
    if (history_.anySecond() && second_->isHidden())
        second_->show();
    // The readout is read, not watched: a few changes a second, and a screen reader told
    // of a new description once a second (it reads the latest whenever it asks).
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
        cursor_->clear();
        return;
    }
    const View v = currentView();
    QString text =
        tr("Cursor: %1, %2")
            .arg(timeLabel(timeAt(crosshair_->x()), (v.t1 - v.t0) / 1000), valueText(near.value));
    if (near.hasCount)
        text += tr(" (%1 counts)").arg(near.count);
    cursor_->setText(text);
}

StripChart::View StripChart::followedView() const {
    View v;
    v.t1 = history_.empty() ? (originSet_ ? origin_ : 0.0) : history_.lastTime();
    if (window_ > 0)
        v.t0 = v.t1 - window_;
    else
        v.t0 = originSet_ ? std::min(origin_, v.t1) : history_.firstTime();
    if (v.t1 - v.t0 < 1.0)
        v.t1 = v.t0 + 1.0;
    v.y0 = ymin();
    v.y1 = ymax();
    return v;
}

StripChart::View StripChart::currentView() const {
    if (zoom_)
        return *zoom_;
    if (held_)
        return *held_;
    return followedView();
}

void StripChart::holdView(const View& view) {
    if (!held_)
        held_ = followedView();
    zoom_ = view;
    resetZoom_->setEnabled(true);
    update();
    refreshReadout();
}

QRectF StripChart::plotRect() const {
    const QRect area = plotArea_->geometry();
    const bool second = showSecond_ && history_.anySecond();
    if (area == plotCache_.area && second == plotCache_.second)
        return plotCache_.plot;
    const QFontMetrics fm(font());
    const int left = fm.horizontalAdvance(QStringLiteral("-00.000")) + fm.height() + 8;
    const int right = second ? fm.horizontalAdvance(QStringLiteral("-000.00")) + 10 : 10;
    plotCache_ = {
        area, second,
        QRectF(area).adjusted(left, fm.height() / 2.0 + 2, -right, -(fm.height() * 2.0 + 4))};
    return plotCache_.plot;
}

double StripChart::timeAt(double x) const {
    const View v = currentView();
    const QRectF plot = plotRect();
    return v.t0 + (x - plot.left()) / std::max(1.0, plot.width()) * (v.t1 - v.t0);
}

double StripChart::valueAt(double y) const {
    const View v = currentView();
    const QRectF plot = plotRect();
    return v.y0 + (plot.bottom() - y) / std::max(1.0, plot.height()) * (v.y1 - v.y0);
}

QString StripChart::timeLabel(double t, double step) const {
    if (clockTime_) {
        const auto ms = static_cast<qint64>(std::llround((originWall_ + (t - origin_)) * 1000));
        return QDateTime::fromMSecsSinceEpoch(ms).toString(step < 1 ? QStringLiteral("HH:mm:ss.z")
                                                                    : QStringLiteral("HH:mm:ss"));
    }
    const double s = t - origin_;
    if (std::abs(s) < 120 || step < 1)
        return QStringLiteral("%1 s").arg(QString::number(s, 'f',
                                                          step < 0.1 ? 2
                                                          : step < 1 ? 1
                                                                     : 0));
    const long long whole = std::llround(std::abs(s));
    const QString sign = s < 0 ? QStringLiteral("-") : QString();
    if (whole >= 3600)
        return sign + QStringLiteral("%1:%2:%3")
                          .arg(whole / 3600)
                          .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
                          .arg(whole % 60, 2, 10, QLatin1Char('0'));
    return sign + QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
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

void StripChart::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect area = plotArea_->geometry();
    if (!area.contains(event->rect()))
        p.fillRect(event->rect(), pal.color(QPalette::Window));
    p.fillRect(area, pal.color(QPalette::Base));
    const QFontMetrics fm(font());
    const QRectF plot = plotRect();
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const View v = currentView();
    const double span = v.y1 > v.y0 ? v.y1 - v.y0 : 0.0;
    auto yFor = [&](double value) {
        if (span == 0.0)
            return plot.center().y();
        return plot.bottom() - (std::clamp(value, v.y0, v.y1) - v.y0) / span * plot.height();
    };
    auto xFor = [&](double t) { return plot.left() + (t - v.t0) / (v.t1 - v.t0) * plot.width(); };

    const QPen grid(pal.color(QPalette::Mid), 0, Qt::DotLine);
    const QPen text(pal.color(QPalette::Text));
    // Value grid lines, labelled in the value's unit.
    const double yStep = niceStep(span > 0 ? span : 1.0, 5);
    const double yFirst = span > 0 ? std::ceil(v.y0 / yStep - 1e-9) * yStep : v.y0;
    for (double y = yFirst; y <= v.y1 + yStep * 1e-6; y += yStep) {
        const double py = yFor(y);
        p.setPen(grid);
        p.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
        p.setPen(text);
        p.drawText(
            QRectF(area.left(), py - fm.height() / 2.0, plot.left() - area.left() - 4, fm.height()),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(y, 'g', 6));
        if (span == 0.0)
            break;
    }
    p.save();
    p.translate(area.left() + fm.height() / 2.0 + 1, plot.center().y());
    p.rotate(-90);
    p.setPen(text);
    const QString yTitle = unit_.isEmpty() ? name_ : QStringLiteral("%1 (%2)").arg(name_, unit_);
    p.drawText(QRectF(-plot.height() / 2, -fm.height() / 2.0, plot.height(), fm.height()),
               Qt::AlignCenter, yTitle);
    p.restore();

    // Time grid lines and their labels, then the axis title.
    const double tStep = niceTimeStep(v.t1 - v.t0, 6);
    const double tBase = clockTime_ ? originWall_ - origin_ : -origin_;
    for (double t = std::ceil((v.t0 + tBase) / tStep - 1e-9) * tStep - tBase; t <= v.t1;
         t += tStep) {
        const double px = xFor(t);
        p.setPen(grid);
        p.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        p.setPen(text);
        p.drawText(QRectF(px - 60, plot.bottom() + 2, 120, fm.height()), Qt::AlignCenter,
                   timeLabel(t, tStep));
    }
    p.drawText(QRectF(plot.left(), plot.bottom() + fm.height() + 2, plot.width(), fm.height()),
               Qt::AlignCenter, clockTime_ ? tr("Clock time") : tr("Time since the run's start"));
    p.setPen(QPen(pal.color(QPalette::Mid), 0));
    p.drawRect(plot);

    // The traces, one pixel column at a time: every point of a column counts, however many.
    std::vector<ChartColumn> columns(static_cast<size_t>(std::max(1.0, plot.width())));
    QVector<QLineF> lines;
    auto trace = [&](const auto& yOf) {
        lines.clear();
        const double dx = plot.width() / static_cast<double>(columns.size());
        std::optional<QPointF> previous;
        for (size_t i = 0; i < columns.size(); ++i) {
            const ChartColumn& c = columns[i];
            if (!c.any)
                continue;
            const double x = plot.left() + (static_cast<double>(i) + 0.5) * dx;
            if (previous)
                lines.append(QLineF(*previous, QPointF(x, yOf(c.first))));
            if (c.max > c.min)
                lines.append(QLineF(QPointF(x, yOf(c.min)), QPointF(x, yOf(c.max))));
            previous = QPointF(x, yOf(c.last));
        }
        p.drawLines(lines);
    };
    p.setClipRect(plot.adjusted(-1, -1, 1, 1));
    history_.fillColumns(v.t0, v.t1, false, columns);
    p.setPen(QPen(pal.color(QPalette::Highlight), 0));
    trace(yFor);

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
            p.setPen(QPen(secondColour, 0));
            trace(y2For);
            p.setClipping(false);
            p.setPen(secondColour);
            const double step = niceStep(hi - lo, 4);
            for (double y = std::ceil(lo / step) * step; y <= hi; y += step)
                p.drawText(QRectF(plot.right() + 3, y2For(y) - fm.height() / 2.0,
                                  area.right() - plot.right() - 3, fm.height()),
                           Qt::AlignLeft | Qt::AlignVCenter, QString::number(y, 'g', 5));
        }
    }
    p.setClipping(false);

    if (bandStart_) {
        p.setPen(QPen(pal.color(QPalette::Text), 0, Qt::DashLine));
        p.drawRect(QRectF(*bandStart_, bandEnd_).normalized());
    }
    if (crosshair_ && plot.contains(*crosshair_)) {
        p.setPen(QPen(pal.color(QPalette::Text), 0, Qt::DashDotLine));
        p.drawLine(QPointF(crosshair_->x(), plot.top()), QPointF(crosshair_->x(), plot.bottom()));
        p.drawLine(QPointF(plot.left(), crosshair_->y()), QPointF(plot.right(), crosshair_->y()));
    }
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 0, Qt::DotLine));
        p.drawRect(QRectF(area).adjusted(0, 0, -1, -1));
    }
}

void StripChart::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    if (!plotRect().contains(at) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    const double factor = std::pow(kWheelZoom, event->angleDelta().y() / 120.0);
    View v = currentView();
    if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) {
        const double y = valueAt(at.y());
        v.y0 = y - (y - v.y0) * factor;
        v.y1 = y + (v.y1 - y) * factor;
    } else {
        const double t = timeAt(at.x());
        v.t0 = t - (t - v.t0) * factor;
        v.t1 = t + (v.t1 - t) * factor;
    }
    holdView(v);
    event->accept();
}

void StripChart::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && plotRect().contains(event->position())) {
        bandStart_ = event->position();
        bandEnd_ = event->position();
    } else if (event->button() == Qt::RightButton) {
        resetZoom();
    }
}

void StripChart::mouseMoveEvent(QMouseEvent* event) {
    if (bandStart_)
        bandEnd_ = event->position();
    crosshair_ = event->position();
    refreshReadout();
    update(plotArea_->geometry());
}

void StripChart::mouseReleaseEvent(QMouseEvent* event) {
    if (!bandStart_ || event->button() != Qt::LeftButton)
        return;
    const QRectF band = QRectF(*bandStart_, event->position()).normalized() & plotRect();
    bandStart_.reset();
    if (band.width() >= kSmallestBand && band.height() >= kSmallestBand)
        holdView({timeAt(band.left()), timeAt(band.right()), valueAt(band.bottom()),
                  valueAt(band.top())});
    update();
}

void StripChart::leaveEvent(QEvent*) {
    crosshair_.reset();
    refreshReadout();
    update(plotArea_->geometry());
}

// Space pauses and resumes, + and - zoom the time shown, the arrows move along it,
// Escape undoes the zoom.
void StripChart::keyPressEvent(QKeyEvent* event) {
    View v = currentView();
    const double span = v.t1 - v.t0;
    const double middle = (v.t0 + v.t1) / 2;
    switch (event->key()) {
        case Qt::Key_Space:
            setPaused(!paused_);
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            holdView({middle - span * kKeyZoom / 2, middle + span * kKeyZoom / 2, v.y0, v.y1});
            return;
        case Qt::Key_Minus:
            holdView({middle - span / kKeyZoom / 2, middle + span / kKeyZoom / 2, v.y0, v.y1});
            return;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const double shift = (event->key() == Qt::Key_Left ? -kKeyPan : kKeyPan) * span;
            holdView({v.t0 + shift, v.t1 + shift, v.y0, v.y1});
            return;
        }
        case Qt::Key_Escape:
            if (zoom_) {
                resetZoom();
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}
