// The strip chart: the trace of a value over time, against a y range that stays as set,
// with a time axis, labelled grid lines in the value's unit, the latest value and its
// count beside it, and a second value on an axis of its own when points bring one.
//
// The operator chooses how much time the chart shows (10 s, 1 min, 10 min or the whole
// run), pauses it (points keep arriving, the view holds) and resumes it, zooms in with
// the mouse wheel or by dragging a rectangle, and reads time, level and count under a
// crosshair. The choices are made on the row of controls above the plot (a widget of its
// own, strip_chart_controls.h), tied to the chart by signals both ways. Every point is kept: the
// latest at full resolution, the whole run decimated (ChartHistory), so the memory a run takes does
// not grow with its length.
//
// Points may arrive far faster than the screen refreshes (a live run plots one per
// record), so plotting only marks the chart dirty; a single-shot timer repaints it at
// most once per frame, and brings the readout and the accessible description up to date
// then. A screen reader that asks in between gets the description built afresh.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "toolkit/panels/chart_axes.h"
#include "toolkit/panels/chart_history.h"
#include "toolkit/panels/types.h"

class QPainter;
class QLabel;
class QSpacerItem;
class StripChartControls;

class StripChart : public QWidget {
    Q_OBJECT
  public:
    StripChart(const QString& name, int capacity, double ymin, double ymax,
               QWidget* parent = nullptr);

    void setUnits(const QString& unit, const QString& secondLabel, const QString& secondUnit);
    void addPoint(double value);
    void addSample(const StripChartSample& sample);
    void startRun();
    void setYRange(double ymin, double ymax);
    void setAutoscale(bool on);
    double ymin() const;
    double ymax() const;
    // The points kept at full resolution, oldest first.
    std::vector<double> points() const;
    const ChartHistory& history() const { return history_; }
    int capacity() const { return capacity_; }
    void setPreferredSize(QSize size) { preferred_ = size; }

    // The operator's choices, also for tests and pictures.
    void setWindowSeconds(double seconds);  // 0: the whole run
    void setPaused(bool paused);
    bool paused() const { return paused_; }
    void zoomTo(double t0, double t1, double y0, double y1);
    void resetZoom();
    bool zoomed() const { return zoom_.has_value(); }
    void setSecondShown(bool shown);
    void showCrosshairAt(QPointF position);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // What a screen reader reads: the latest value and the range.
    QString description() const;
    // The plot, its axes and its traces as shown, into `area` of any painter; on the screen
    // with the rubber band, the crosshair and the focus frame.
    void paintPlot(QPainter& p, const QRect& area, bool onScreen);
    QSize plotSize() const;

  public slots:
    void setClockTime(bool clockTime);  // the time axis shows the clock, else seconds
    void togglePaused();

  signals:
    // The chart's state as it changes, for its row of controls.
    void windowChanged(double seconds);
    void pausedChanged(bool paused);
    void zoomedChanged(bool zoomed);
    void secondAvailable();  // a point brought a second value
    void secondShownChanged(bool shown);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct View {
        double t0 = 0, t1 = 1;  // toolkit clock seconds
        double y0 = 0, y1 = 1;
    };
    void add(ChartPoint point);
    void describe();
    void endFrame();
    void refreshReadout();
    void redraw();  // the plot at the next frame, the readouts at once
    View currentView() const;
    View followedView() const;
    void holdView(const View& view);
    QRectF plotRect() const;
    QRectF plotRectIn(const QRect& area) const;
    double timeAt(double x) const;
    double valueAt(double y) const;
    QString timeLabel(double t, double step) const;
    QString valueText(double v) const;
    void saveImage();

    QString name_, unit_, secondLabel_, secondUnit_;
    int capacity_;
    double ymin_, ymax_;
    bool autoscale_ = false;
    ChartHistory history_;
    QSize preferred_;
    QTimer frame_;
    QElapsedTimer readoutShown_, described_;
    double origin_ = 0, originWall_ = 0;
    bool originSet_ = false;
    double window_ = 60;
    bool paused_ = false;
    bool clockTime_ = false;
    bool showSecond_ = true;
    std::optional<View> held_;  // paused or zoomed: the view as the operator left it
    std::optional<View> zoom_;
    std::optional<QPointF> crosshair_;
    std::optional<QPointF> bandStart_;
    QPointF bandEnd_;

    StripChartControls* controls_;
    bool secondAnnounced_ = false;
    QLabel* latest_;
    QLabel* cursor_;
    QSpacerItem* plotArea_;
    struct PlotCache {
        QRect area;
        bool second = false;
        QRectF plot;
    };
    mutable PlotCache plotCache_;  // the plot's rectangle, worked out once per size
    ChartLabels labels_;
};
