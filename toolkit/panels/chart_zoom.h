// The part of a chart's whole view that it shows, and how the operator moves it: zoom about
// a time or a value (the wheel, + and -), into a rectangle (a drag), pan (the arrows), and
// back to the whole. A view stays within the whole in time, is never wider than it, and
// never narrower than a thousandth of a second (or of a record).
#pragma once

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
