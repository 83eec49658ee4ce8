// "Save chart image…", for the live chart and the recording chart alike: the chart as shown
// (the same painting as on the screen) at a size the operator chooses, as a PNG or as a
// PDF page of vector lines and text, written whole or not at all (QSaveFile).
#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QPainter;
class QRect;
class QWidget;

struct ChartImageChoice {
    bool pdf = false;
    QSize size;  // pixels; a PDF page of that many at 96 to the inch
};

// The smallest and largest image the dialog offers.
inline constexpr QSize kSmallestChartImage{200, 150};
inline constexpr QSize kLargestChartImage{8000, 6000};

// Paints the chart into `area` of a painter that is not the screen's.
using ChartPainter = std::function<void(QPainter& p, const QRect& area)>;

// Asks the format and size, proposing `choice`; false when the operator cancels. Tests
// answer through the pop-up answerer.
bool chooseChartImage(QWidget* parent, ChartImageChoice& choice);
// Empty when written; else why not.
QString writeChartImage(const QString& path, const ChartImageChoice& choice,
                        const ChartPainter& paint, const QString& title);
// The whole of "Save chart image…": the format and size, the file, the image. The line that
// says what came of it, or empty when the operator cancelled.
QString saveChartImage(QWidget* parent, QSize shown, const QString& proposedName,
                       const QString& title, const ChartPainter& paint);

// Where the live chart says what came of a save: the window's messages once the
// application sets it, a message box until then.
void SetChartImageReporter(void (*report)(const char* line));
void reportChartImageLine(const QString& line);
