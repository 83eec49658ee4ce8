// The view: which stretch of time and which values the plot shows, where the plot lies in
// the widget, and the time and value under a point of it.
#include <QFontMetrics>
#include <QSpacerItem>
#include <algorithm>

#include "toolkit/panels/strip_chart.h"

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

QRectF StripChart::plotRect() const {
    const QRect area = plotArea_->geometry();
    const bool second = showSecond_ && history_.anySecond();
    if (area != plotCache_.area || second != plotCache_.second)
        plotCache_ = {area, second, plotRectIn(area)};
    return plotCache_.plot;
}

QRectF StripChart::plotRectIn(const QRect& area) const {
    const bool second = showSecond_ && history_.anySecond();
    const QFontMetrics fm(font());
    const int left = fm.horizontalAdvance(QStringLiteral("-00.000")) + fm.height() + 8;
    const int right = second ? fm.horizontalAdvance(QStringLiteral("-000.00")) + 10 : 10;
    return QRectF(area).adjusted(left, fm.height() / 2.0 + 2, -right, -(fm.height() * 2.0 + 4));
}

QSize StripChart::plotSize() const {
    return plotArea_->geometry().size();
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
