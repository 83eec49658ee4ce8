// Painting and bookkeeping of the strip chart.
#include "toolkit/panels/strip_chart.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

namespace {

// A trace that moves a pixel or so a frame looks smooth at 25 frames a second.
constexpr int kFrameMs = 40;
// Up to this many points the trace is drawn smoothed; beyond, the points lie so close that
// smoothing shows nothing but costs most of the paint.
constexpr size_t kSmoothedPoints = 100;

QString number(double v) {
    return QString::number(v, 'g', 6);
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
    : QWidget(parent), name_(name), capacity_(std::max(2, capacity)), ymin_(ymin), ymax_(ymax) {
    // Before anything here asks for the chart's accessible interface, which is then kept.
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleStripChart);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAccessibleName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    frame_.setSingleShot(true);
    frame_.setInterval(kFrameMs);
    connect(&frame_, &QTimer::timeout, this, &StripChart::endFrame);
    describe();
}

void StripChart::addPoint(double value) {
    points_.push_back(value);
    if (static_cast<int>(points_.size()) > capacity_)
        points_.pop_front();
    if (!frame_.isActive())
        frame_.start();
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
    if (autoscale_ && !points_.empty())
        return *std::min_element(points_.begin(), points_.end());
    return ymin_;
}

double StripChart::ymax() const {
    if (autoscale_ && !points_.empty())
        return *std::max_element(points_.begin(), points_.end());
    return ymax_;
}

void StripChart::endFrame() {
    describe();
    update();
}

// Screen readers cannot see the trace: the description carries the latest value.
QString StripChart::description() const {
    const QString range = QStringLiteral("range %1 to %2").arg(number(ymin()), number(ymax()));
    if (points_.empty())
        return QStringLiteral("Strip chart, no values yet, %1").arg(range);
    return QStringLiteral("Strip chart, latest value %1, %2").arg(number(points_.back()), range);
}

void StripChart::describe() {
    setAccessibleDescription(description());
}

QSize StripChart::sizeHint() const {
    return preferred_.isValid() ? preferred_ : QSize(400, 200);
}

QSize StripChart::minimumSizeHint() const {
    return {160, 80};
}

void StripChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));

    const QFontMetrics fm(font());
    const QString top = number(ymax()), bottom = number(ymin());
    const int axisWidth = std::max(fm.horizontalAdvance(top), fm.horizontalAdvance(bottom)) + 8;
    const QRectF plot =
        QRectF(rect()).adjusted(axisWidth, fm.height() / 2.0 + 2, -6, -(fm.height() / 2.0 + 2));

    p.setPen(pal.color(QPalette::Text));
    p.drawText(QRectF(0, plot.top() - fm.height() / 2.0, axisWidth - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, top);
    p.drawText(QRectF(0, plot.bottom() - fm.height() / 2.0, axisWidth - 4, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, bottom);

    p.setPen(QPen(pal.color(QPalette::Mid), 0, Qt::DotLine));
    for (int i = 1; i < 4; ++i) {
        const double y = plot.top() + plot.height() * i / 4.0;
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    p.setPen(QPen(pal.color(QPalette::Mid), 0));
    p.drawRect(plot);
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    if (points_.empty())
        return;
    const double lo = ymin(), hi = ymax();
    const double span = hi > lo ? hi - lo : 0.0;
    auto yFor = [&](double v) {
        if (span == 0.0)
            return plot.center().y();
        return plot.bottom() - (std::clamp(v, lo, hi) - lo) / span * plot.height();
    };
    // The newest point sits at the right edge; older ones scroll to the left.
    const double dx = plot.width() / (capacity_ - 1);
    const double x0 = plot.right() - dx * (static_cast<double>(points_.size()) - 1);
    QPolygonF trace;
    trace.reserve(static_cast<qsizetype>(points_.size()));
    for (size_t i = 0; i < points_.size(); ++i)
        trace.append(QPointF(x0 + dx * static_cast<double>(i), yFor(points_[i])));
    p.setRenderHint(QPainter::Antialiasing, points_.size() <= kSmoothedPoints);
    p.setPen(QPen(pal.color(QPalette::Highlight), 0));
    p.drawPolyline(trace);
}
