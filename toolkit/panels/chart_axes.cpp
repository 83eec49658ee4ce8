#include "toolkit/panels/chart_axes.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <QVector>
#include <cmath>

namespace {

// One pixel high from x0 to x1 at y, or wide from y0 to y1 at x. Grid lines and the frame
// are one-pixel fills: a stroked line, even a solid one, costs many times more, every frame.
QRect horizontalHairline(double x0, double x1, double y) {
    const int left = static_cast<int>(std::floor(x0));
    return {left, static_cast<int>(std::floor(y)), static_cast<int>(std::floor(x1)) - left + 1, 1};
}

QRect verticalHairline(double x, double y0, double y1) {
    const int top = static_cast<int>(std::floor(y0));
    return {static_cast<int>(std::floor(x)), top, 1, static_cast<int>(std::floor(y1)) - top + 1};
}

}  // namespace

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

double niceTimeStep(double span, int parts) {
    const double raw = span / parts;
    if (raw <= 30)
        return niceStep(span, parts);
    for (double s : {60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0, 7200.0, 10800.0, 21600.0})
        if (s >= raw)
            return s;
    return 43200;
}

QString chartTimeLabel(double s, double step, std::optional<double> wallAtStart) {
    if (wallAtStart) {
        const auto ms = static_cast<qint64>(std::llround((*wallAtStart + s) * 1000));
        return QDateTime::fromMSecsSinceEpoch(ms).toString(step < 1 ? QStringLiteral("HH:mm:ss.z")
                                                                    : QStringLiteral("HH:mm:ss"));
    }
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

void drawChartFrame(QPainter& p, const QRectF& r, const QColor& colour) {
    p.fillRect(horizontalHairline(r.left(), r.right(), r.top()), colour);
    p.fillRect(horizontalHairline(r.left(), r.right(), r.bottom()), colour);
    p.fillRect(verticalHairline(r.left(), r.top(), r.bottom()), colour);
    p.fillRect(verticalHairline(r.right(), r.top(), r.bottom()), colour);
}

double chartY(const QRectF& plot, double y0, double y1, double value) {
    if (!(y1 > y0))
        return plot.center().y();
    return plot.bottom() - (std::clamp(value, y0, y1) - y0) / (y1 - y0) * plot.height();
}

void ChartLabels::draw(QPainter& p, const QRectF& box, Qt::Alignment align, const QString& text) {
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
    const QTransform& turn = p.worldTransform();
    const bool upright = turn.type() <= QTransform::TxTranslate;
    const bool titleTurn = turn.type() == QTransform::TxRotate && qFuzzyIsNull(turn.m11()) &&
                           qFuzzyCompare(turn.m12(), -1.0) && qFuzzyCompare(turn.m21(), 1.0);
    if (p.paintEngine()->type() != QPaintEngine::Raster || !(upright || titleTurn)) {
        p.drawStaticText(QPointF(x, y), *found);
        return;
    }
    const LabelImage& label = imageOf(p, {text, p.pen().color().rgba(), upright ? 0 : 3}, *found);
    // Whole device pixels: the copy lands on the grid the glyphs were drawn on.
    const QPointF corner = turn.map(QPointF(x, y)) + label.offset;
    p.save();
    p.resetTransform();
    p.drawImage(QPointF(std::round(corner.x()), std::round(corner.y())), label.image);
    p.restore();
}

const ChartLabels::LabelImage& ChartLabels::imageOf(QPainter& p, const ImageKey& key,
                                                    const QStaticText& text) {
    const qreal ratio = p.device()->devicePixelRatioF();
    if (p.font() != imageFont_ || ratio != imageRatio_) {
        images_.clear();
        imageFont_ = p.font();
        imageRatio_ = ratio;
    }
    if (auto found = images_.constFind(key); found != images_.cend())
        return *found;
    if (images_.size() >= 256)
        images_.clear();
    // A pixel of room around the text for the glyphs' smoothing.
    const QTransform turn = QTransform().rotate(90.0 * key.quarterTurns);
    const QRectF bounds = turn.mapRect(QRectF(QPointF(0, 0), text.size())).adjusted(-1, -1, 1, 1);
    LabelImage label;
    label.image =
        QImage((bounds.size() * ratio).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
    label.image.setDevicePixelRatio(ratio);
    label.image.fill(Qt::transparent);
    label.offset = bounds.topLeft();
    QPainter into(&label.image);
    into.setFont(p.font());
    into.setPen(p.pen().color());
    into.translate(-bounds.left(), -bounds.top());
    into.setTransform(turn, true);
    into.drawStaticText(QPointF(0, 0), text);
    into.end();
    return *images_.insert(key, label);
}

ChartAxes chartAxes(const QRect& area, const QRectF& plot, double t0, double t1, double y0,
                    double y1) {
    ChartAxes axes;
    axes.area = area;
    axes.plot = plot;
    axes.t0 = t0;
    axes.t1 = t1;
    axes.y0 = y0;
    axes.y1 = y1;
    return axes;
}

void paintChartAxes(QPainter& p, const ChartAxes& a, const QFontMetrics& fm, const QPalette& pal,
                    ChartLabels& labels) {
    const QRectF& plot = a.plot;
    const double span = a.y1 > a.y0 ? a.y1 - a.y0 : 0.0;
    auto yFor = [&](double value) { return chartY(plot, a.y0, a.y1, value); };
    auto xFor = [&](double t) { return plot.left() + (t - a.t0) / (a.t1 - a.t0) * plot.width(); };
    const QColor grid = pal.color(QPalette::Midlight);
    const QPen text(pal.color(QPalette::Text));

    const double yStep = niceStep(span > 0 ? span : 1.0, 5);
    const double yFirst = span > 0 ? std::ceil(a.y0 / yStep - 1e-9) * yStep : a.y0;
    for (double y = yFirst; y <= a.y1 + yStep * 1e-6; y += yStep) {
        const double py = yFor(y);
        p.fillRect(horizontalHairline(plot.left(), plot.right(), py), grid);
        p.setPen(text);
        labels.draw(p,
                    QRectF(a.area.left(), py - fm.height() / 2.0, plot.left() - a.area.left() - 4,
                           fm.height()),
                    Qt::AlignRight | Qt::AlignVCenter, QString::number(y, 'g', 6));
        if (span == 0.0)
            break;
    }
    p.save();
    p.translate(a.area.left() + fm.height() / 2.0 + 1, plot.center().y());
    p.rotate(-90);
    p.setPen(text);
    labels.draw(p, QRectF(-plot.height() / 2, -fm.height() / 2.0, plot.height(), fm.height()),
                Qt::AlignCenter, a.yTitle);
    p.restore();

    const double tStep = niceTimeStep(a.t1 - a.t0, 6);
    for (double t = std::ceil((a.t0 + a.tBase) / tStep - 1e-9) * tStep - a.tBase; t <= a.t1;
         t += tStep) {
        const double px = xFor(t);
        p.fillRect(verticalHairline(px, plot.top(), plot.bottom()), grid);
        p.setPen(text);
        // A label at the right end ends at the chart's edge instead of beyond it.
        const QRectF box(px - 60, plot.bottom() + 2, 120, fm.height());
        const bool atEnd = box.right() > a.area.right();
        labels.draw(p, atEnd ? box.translated(a.area.right() - box.right(), 0) : box,
                    atEnd ? Qt::AlignRight | Qt::AlignTop : Qt::AlignCenter, a.timeLabel(t, tStep));
    }
    labels.draw(p, QRectF(plot.left(), plot.bottom() + fm.height() + 2, plot.width(), fm.height()),
                Qt::AlignCenter, a.xTitle);
    drawChartFrame(p, plot, pal.color(QPalette::Mid));
}

// Filled spans cost a fraction of stroked lines, and look the same at one pixel apart.
void paintChartTrace(QPainter& p, const QRectF& plot, std::span<const ChartColumn> columns,
                     const std::function<double(double)>& yOf, const QColor& colour) {
    QVector<QRect> spans;
    QVector<QLineF> joins;
    const double dx = plot.width() / static_cast<double>(columns.size());
    std::optional<size_t> previous;
    double previousY = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const ChartColumn& c = columns[i];
        if (!c.any)
            continue;
        if (c.breakBefore)
            previous.reset();
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
}
