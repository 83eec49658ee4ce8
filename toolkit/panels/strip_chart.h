// The strip chart: a trace of the last `capacity` points that scrolls to the left as
// points arrive, drawn against a y range that stays as set.
//
// Points may arrive far faster than the screen refreshes (a live run plots one per
// record), so plotting only marks the chart dirty; a single-shot timer repaints it at
// most once per frame, and brings the accessible description up to date then. A screen
// reader that asks in between gets the description built afresh.
#pragma once

#include <QTimer>
#include <QWidget>
#include <deque>

class StripChart : public QWidget {
    Q_OBJECT
  public:
    StripChart(const QString& name, int capacity, double ymin, double ymax,
               QWidget* parent = nullptr);

    void addPoint(double value);
    void setYRange(double ymin, double ymax);
    void setAutoscale(bool on);
    double ymin() const;
    double ymax() const;
    const std::deque<double>& points() const { return points_; }
    int capacity() const { return capacity_; }
    void setPreferredSize(QSize size) { preferred_ = size; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // What a screen reader reads: the latest value and the range.
    QString description() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void describe();
    void endFrame();

    QString name_;
    int capacity_;
    double ymin_, ymax_;
    bool autoscale_ = false;
    std::deque<double> points_;
    QSize preferred_;
    QTimer frame_;
};
