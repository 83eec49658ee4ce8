// The strip chart's painting: the plot, its grid lines and labels, the traces one pixel
// column at a time, the rubber band and the crosshair.
#include <QDateTime>
#include <QPaintEvent>
#include <QPainter>
#include <QSpacerItem>
#include <algorithm>
#include <cmath>

#include "toolkit/panels/strip_chart.h"

namespace {

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

// One pixel high from x0 to x1 at y, or wide from y0 to y1 at x.
QRect horizontalHairline(double x0, double x1, double y) {
    const int left = static_cast<int>(std::floor(x0));
    return {left, static_cast<int>(std::floor(y)), static_cast<int>(std::floor(x1)) - left + 1, 1};
}

QRect verticalHairline(double x, double y0, double y1) {
    const int top = static_cast<int>(std::floor(y0));
    return {static_cast<int>(std::floor(x)), top, 1, static_cast<int>(std::floor(y1)) - top + 1};
}

// A one-pixel frame along the edges of `r`.
void drawFrame(QPainter& p, const QRectF& r, const QColor& colour) {
    p.fillRect(horizontalHairline(r.left(), r.right(), r.top()), colour);
    p.fillRect(horizontalHairline(r.left(), r.right(), r.bottom()), colour);
    p.fillRect(verticalHairline(r.left(), r.top(), r.bottom()), colour);
    p.fillRect(verticalHairline(r.right(), r.top(), r.bottom()), colour);
}

}  // namespace

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

void StripChart::drawLabel(QPainter& p, const QRectF& box, Qt::Alignment align,
                           const QString& text) {
    // A run's labels are a few dozen texts; a long one may pass through many more.
    constexpr qsizetype kMostLabels = 256;
    auto found = labels_.find(text);
    if (found == labels_.end()) {
        if (labels_.size() >= kMostLabels)
            labels_.clear();
        QStaticText laidOut(text);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(p.transform(), p.font());
        found = labels_.insert(text, laidOut);
    }
    const QSizeF size = found->size();
    double x = box.left();
    if (align & Qt::AlignRight)
        x = box.right() - size.width();
    else if (align & Qt::AlignHCenter)
        x = box.center().x() - size.width() / 2;
    const double y = align & Qt::AlignVCenter ? box.center().y() - size.height() / 2 : box.top();
    p.drawStaticText(QPointF(x, y), *found);
}

void StripChart::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        labels_.clear();
    QWidget::changeEvent(event);
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

    // Grid lines and the frame are one-pixel fills: a stroked line, even a solid one, costs
    // many times more, every frame.
    const QColor grid = pal.color(QPalette::Midlight);
    const QPen text(pal.color(QPalette::Text));
    // Value grid lines, labelled in the value's unit.
    const double yStep = niceStep(span > 0 ? span : 1.0, 5);
    const double yFirst = span > 0 ? std::ceil(v.y0 / yStep - 1e-9) * yStep : v.y0;
    for (double y = yFirst; y <= v.y1 + yStep * 1e-6; y += yStep) {
        const double py = yFor(y);
        p.fillRect(horizontalHairline(plot.left(), plot.right(), py), grid);
        p.setPen(text);
        drawLabel(
            p,
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
    drawLabel(p, QRectF(-plot.height() / 2, -fm.height() / 2.0, plot.height(), fm.height()),
              Qt::AlignCenter, yTitle);
    p.restore();

    // Time grid lines and their labels, then the axis title.
    const double tStep = niceTimeStep(v.t1 - v.t0, 6);
    const double tBase = clockTime_ ? originWall_ - origin_ : -origin_;
    for (double t = std::ceil((v.t0 + tBase) / tStep - 1e-9) * tStep - tBase; t <= v.t1;
         t += tStep) {
        const double px = xFor(t);
        p.fillRect(verticalHairline(px, plot.top(), plot.bottom()), grid);
        p.setPen(text);
        drawLabel(p, QRectF(px - 60, plot.bottom() + 2, 120, fm.height()), Qt::AlignCenter,
                  timeLabel(t, tStep));
    }
    drawLabel(p, QRectF(plot.left(), plot.bottom() + fm.height() + 2, plot.width(), fm.height()),
              Qt::AlignCenter, clockTime_ ? tr("Clock time") : tr("Time since the run's start"));
    drawFrame(p, plot, pal.color(QPalette::Mid));

    // The traces, one pixel column at a time: every point of a column counts, however many.
    // Where neighbouring columns both hold points, a column is one vertical span from the
    // previous column's last value through its own extremes (filled spans cost a fraction
    // of stroked lines, and look the same at one pixel apart); across empty columns a line
    // joins the points.
    std::vector<ChartColumn> columns(static_cast<size_t>(std::max(1.0, plot.width())));
    QVector<QRect> spans;
    QVector<QLineF> joins;
    auto trace = [&](const auto& yOf, const QColor& colour) {
        spans.clear();
        joins.clear();
        const double dx = plot.width() / static_cast<double>(columns.size());
        std::optional<size_t> previous;
        double previousY = 0;
        for (size_t i = 0; i < columns.size(); ++i) {
            const ChartColumn& c = columns[i];
            if (!c.any)
                continue;
            const double x = plot.left() + (static_cast<double>(i) + 0.5) * dx;
            const double yMin = yOf(c.min), yMax = yOf(c.max);
            double top = std::min(yMin, yMax);
            double bottom = std::max(yMin, yMax);
            if (previous && *previous + 1 == i) {
                top = std::min(top, previousY);
                bottom = std::max(bottom, previousY);
            } else if (previous) {
                const double px = plot.left() + (static_cast<double>(*previous) + 0.5) * dx;
                joins.append(QLineF(QPointF(px, previousY), QPointF(x, yOf(c.first))));
            }
            const int y0 = static_cast<int>(std::floor(top));
            spans.append(QRect(static_cast<int>(std::floor(x)), y0, 1,
                               std::max(1, static_cast<int>(std::floor(bottom)) - y0 + 1)));
            previous = i;
            previousY = yOf(c.last);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRects(spans);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour, 0));
        p.drawLines(joins);
    };
    p.setClipRect(plot.adjusted(-1, -1, 1, 1));
    history_.fillColumns(v.t0, v.t1, false, columns);
    trace(yFor, pal.color(QPalette::Highlight));

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
            trace(y2For, secondColour);
            p.setClipping(false);
            p.setPen(secondColour);
            const double step = niceStep(hi - lo, 4);
            for (double y = std::ceil(lo / step) * step; y <= hi; y += step)
                drawLabel(p,
                          QRectF(plot.right() + 3, y2For(y) - fm.height() / 2.0,
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
    if (hasFocus())
        drawFrame(p, QRectF(area).adjusted(0, 0, -1, -1), pal.color(QPalette::Highlight));
}
