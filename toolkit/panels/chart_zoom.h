// The part of a chart's whole view that it shows, and how the operator moves it: zoom about
// a time or a value (the wheel, + and -), into a rectangle (a drag), pan (the arrows), and
// back to the whole. A view stays within the whole in time, is never wider than it, and
// never narrower than a thousandth of a second (or of a record).
#pragma once

#include <QPointF>
#include <QRectF>
#include <optional>

// What one notch of the wheel and the keyboard's + and - do to the span shown, how far an
// arrow moves it, and the smallest drag that is a rectangle to zoom into, not a click: the
// same on every chart.
inline constexpr double kWheelZoom = 0.8;
inline constexpr double kKeyZoom = 0.5;
inline constexpr double kKeyPan = 0.2;
inline constexpr double kSmallestBand = 4;

// The factor a wheel turn of `angleDelta` (120 a notch) zooms by; below 1 zooms in.
double wheelZoomFactor(int angleDelta);
// The rectangle dragged from `start` to `end` within `plot`, when it is large enough.
std::optional<QRectF> zoomBand(QPointF start, QPointF end, const QRectF& plot);

struct ChartView {
    double t0 = 0, t1 = 1;
    double y0 = 0, y1 = 1;
    bool operator==(const ChartView&) const = default;
};

class ChartZoom {
  public:
    // Shows the whole again.
    void setWhole(const ChartView& whole);
    const ChartView& whole() const { return whole_; }
    const ChartView& view() const { return view_; }
    bool zoomed() const { return !(view_ == whole_); }

    void show(ChartView view);
    void zoomTime(double about, double factor);  // factor < 1 zooms in
    void zoomValue(double about, double factor);
    void pan(double fractionOfSpan);
    void reset() { view_ = whole_; }

  private:
    ChartView whole_, view_;
};
