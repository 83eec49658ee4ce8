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

    // Solid and light: a dotted line is drawn dot by dot, every frame.
    const QPen grid(pal.color(QPalette::Midlight), 0);
    const QPen text(pal.color(QPalette::Text));
    // Value grid lines, labelled in the value's unit.
    const double yStep = niceStep(span > 0 ? span : 1.0, 5);
    const double yFirst = span > 0 ? std::ceil(v.y0 / yStep - 1e-9) * yStep : v.y0;
    for (double y = yFirst; y <= v.y1 + yStep * 1e-6; y += yStep) {
        const double py = yFor(y);
        p.setPen(grid);
        p.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
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
        drawLabel(p, QRectF(px - 60, plot.bottom() + 2, 120, fm.height()), Qt::AlignCenter,
                  timeLabel(t, tStep));
    }
    drawLabel(p, QRectF(plot.left(), plot.bottom() + fm.height() + 2, plot.width(), fm.height()),
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
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 0, Qt::DotLine));
        p.drawRect(QRectF(area).adjusted(0, 0, -1, -1));
    }
}
