// The chart of a recorded run: the whole recording at once, then zoomed and panned as the
// live chart is (the wheel, a dragged rectangle, + and -, the arrows, a right click or
// Escape to show the whole again), with the time axis in seconds since the start, in clock
// time, or in record numbers. Gaps between stretches are breaks in the trace.
//
// A crosshair reads the record nearest the pointer; Shift and the arrows move it from
// record to record, Home and End to the first and last in view, and the view follows it.
// Its text is a label of its own and the chart's accessible value; the summary of the span
// in view (set by whoever knows the records) stands below and is the chart's accessible
// description. Reader, store and zoom live elsewhere: the chart draws from a ChartSeries
// and moves a ChartZoom.
#pragma once

#include <QWidget>
#include <optional>

#include "toolkit/panels/chart_axes.h"
#include "toolkit/panels/chart_series.h"
#include "toolkit/panels/chart_zoom.h"

class QLabel;
class QSpacerItem;

class RecordingChart : public QWidget {
    Q_OBJECT
  public:
    enum class TimeAxis { SinceStart, Clock, Numbers };

    explicit RecordingChart(const QString& name, QWidget* parent = nullptr);

    // The records shown (not owned: they outlive their showing) and the value range of the
    // whole view; nullptr shows none. The whole is shown.
    void setSeries(const ChartSeries* series, double ymin, double ymax);
    // A new value range for the whole view (a new gauge length); the time shown stays.
    void setValueRange(double ymin, double ymax);
    void setValueTitle(const QString& title);
    void setTimeAxis(TimeAxis axis, double wallAtStart = 0);
    void setSummary(const QString& line);
    QString summary() const;
    QString crosshairText() const;
    const ChartView& view() const { return zoom_.view(); }
    bool zoomed() const { return zoom_.zoomed(); }
    void zoomTo(const ChartView& view);
    void resetZoom();
    void showCrosshairAt(QPointF position);
    void stepCrosshair(int records);
    // The plot as shown into `area` of any painter; on the screen with the crosshair, the
    // rubber band and the focus frame.
    void paintPlot(QPainter& p, const QRect& area, bool onScreen);
    QSize plotSize() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void viewChanged();
    void zoomedChanged(bool zoomed);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRectF plotRectIn(const QRect& area) const;
    QRectF plotRect() const;
    double timeAt(double x) const;
    double valueAt(double y) const;
    void viewMoved();
    void placeCrosshair(size_t record);
    void refreshCrosshair();

    QString name_, valueTitle_;
    const ChartSeries* series_ = nullptr;
    ChartZoom zoom_;
    TimeAxis axis_ = TimeAxis::SinceStart;
    double wallAtStart_ = 0;
    std::optional<size_t> crosshair_;    // the record the crosshair is on
    std::optional<double> pointerTime_;  // the pointer's time where no record is near
    std::optional<QPointF> bandStart_;
    QPointF bandEnd_;
    QSpacerItem* plotArea_;
    QLabel* crosshairLabel_;
    QLabel* summary_;
    ChartLabels labels_;
};
