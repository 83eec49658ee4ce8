#include "toolkit/panels/chart_zoom.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kNarrowest = 0.001;
}  // namespace

double wheelZoomFactor(int angleDelta) {
    return std::pow(kWheelZoom, angleDelta / 120.0);
}

std::optional<QRectF> zoomBand(QPointF start, QPointF end, const QRectF& plot) {
    const QRectF band = QRectF(start, end).normalized() & plot;
    if (band.width() < kSmallestBand || band.height() < kSmallestBand)
        return std::nullopt;
    return band;
}

void ChartZoom::setWhole(const ChartView& whole) {
    whole_ = whole;
    if (!(whole_.t1 > whole_.t0))
        whole_.t1 = whole_.t0 + 1;
    view_ = whole_;
}

void ChartZoom::show(ChartView v) {
    if (!(v.t1 > v.t0) || !(v.y1 > v.y0))
        return;
    const double whole = whole_.t1 - whole_.t0;
    const double span = std::clamp(v.t1 - v.t0, std::min(kNarrowest, whole), whole);
    const double middle = (v.t0 + v.t1) / 2;
    v.t0 = std::clamp(middle - span / 2, whole_.t0, whole_.t1 - span);
    v.t1 = v.t0 + span;
    view_ = v;
}

void ChartZoom::zoomTime(double about, double factor) {
    ChartView v = view_;
    v.t0 = about - (about - v.t0) * factor;
    v.t1 = about + (v.t1 - about) * factor;
    show(v);
}

void ChartZoom::zoomValue(double about, double factor) {
    ChartView v = view_;
    v.y0 = about - (about - v.y0) * factor;
    v.y1 = about + (v.y1 - about) * factor;
    show(v);
}

void ChartZoom::pan(double fraction) {
    ChartView v = view_;
    const double shift = (v.t1 - v.t0) * fraction;
    v.t0 += shift;
    v.t1 += shift;
    show(v);
}
