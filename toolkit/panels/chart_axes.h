// What the live strip chart and the recording chart paint alike: grid lines at steps of 1,
// 2 or 5 (of seconds, minutes and hours on a time axis) with their labels and the axis
// titles, a one-pixel frame, and a trace drawn one pixel column at a time. The same
// painting draws on the screen and into an exported image.
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QStaticText>
#include <QString>
#include <functional>
#include <optional>
#include <span>

#include "toolkit/panels/chart_history.h"

class QColor;
class QFontMetrics;
class QPainter;
class QPalette;

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts` pieces.
double niceStep(double span, int parts);
// The same for time, in whole minutes and hours once a step passes half a minute.
double niceTimeStep(double span, int parts);
// A time axis label: seconds since the start ("12 s", "2:05", "1:02:03"), or with
// `wallAtStart` (seconds since 1970) the clock ("14:05:12").
QString chartTimeLabel(double sinceStart, double step, std::optional<double> wallAtStart);
void drawChartFrame(QPainter& p, const QRectF& r, const QColor& colour);
// Where `value` falls on the plot showing [y0, y1]: held inside it, in the middle when the
// range is empty.
double chartY(const QRectF& plot, double y0, double y1, double value);

// Label texts laid out once and drawn many times: a frame draws them at new places,
// rarely with new words, and laying text out is most of what painting a frame costs.
//
// On the screen (and into a PNG) each label is drawn once into a small image of its own,
// which later frames copy: copying a label's pixels costs a fraction of drawing its
// glyphs again, a turned axis title most of all. A PDF gets the text itself.
class ChartLabels {
  public:
    void draw(QPainter& p, const QRectF& box, Qt::Alignment align, const QString& text);
    void clear() {
        labels_.clear();
        images_.clear();
    }

  private:
    struct ImageKey {
        QString text;
        QRgb colour;
        int quarterTurns;  // of the painter: 0 upright, 3 an axis title read bottom to top
        bool operator==(const ImageKey&) const = default;
    };
    friend size_t qHash(const ImageKey& key, size_t seed) {
        return qHashMulti(seed, key.text, key.colour, key.quarterTurns);
    }
    struct LabelImage {
        QImage image;
        QPointF offset;  // where the image's corner lies from the text's, on the device
    };
    const LabelImage& imageOf(QPainter& p, const ImageKey& key, const QStaticText& text);

    QHash<QString, QStaticText> labels_;
    QHash<ImageKey, LabelImage> images_;
    QFont imageFont_;  // the font the images were drawn in
    qreal imageRatio_ = 0;
};

struct ChartAxes {
    QRect area;  // all the chart paints in
    QRectF plot;
    double t0 = 0, t1 = 1, y0 = 0, y1 = 1;
    double tBase = 0;  // grid lines fall where t + tBase is a whole number of steps
    QString yTitle, xTitle;
    std::function<QString(double t, double step)> timeLabel;
};
// The axes of a plot showing [t0, t1] and [y0, y1], titles and labels still to come.
ChartAxes chartAxes(const QRect& area, const QRectF& plot, double t0, double t1, double y0,
                    double y1);

// The value and time grid lines with their labels, the axis titles and the frame.
void paintChartAxes(QPainter& p, const ChartAxes& axes, const QFontMetrics& fm,
                    const QPalette& palette, ChartLabels& labels);

// The trace of `columns`, which split the plot's width: where neighbouring columns both hold
// values a column is one vertical span from the previous column's last value through its
// own extremes; across empty columns a line joins them, unless a column is marked as
// coming after a break.
void paintChartTrace(QPainter& p, const QRectF& plot, std::span<const ChartColumn> columns,
                     const std::function<double(double)>& yOf, const QColor& colour);
