// The strip chart's row of controls: how much time it shows, what its time axis counts,
// pause and resume, reset zoom, whether the second value is drawn, and saving the chart as
// an image. A widget of its own
// that knows no chart: it says what the operator chose by its signals, and shows the
// chart's state through its slots; StripChart ties the two together.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;

class StripChartControls : public QWidget {
    Q_OBJECT
  public:
    explicit StripChartControls(QWidget* parent = nullptr);

    // The time shown chosen first, before any choice: 1 min.
    static double defaultWindowSeconds();

  signals:
    void windowChosen(double seconds);  // 0: the whole run
    void clockTimeChosen(bool clockTime);
    void pauseClicked();
    void resetZoomClicked();
    void secondShownChosen(bool shown);
    void saveImageClicked();

  public slots:
    void showWindow(double seconds);
    void showPaused(bool paused);
    void showZoomed(bool zoomed);
    // The second value's choice appears once the chart has one to draw.
    void showSecondAvailable();
    void showSecondShown(bool shown);

  private:
    QComboBox* windowChoice_;
    QComboBox* timeChoice_;
    QPushButton* pause_;
    QPushButton* resetZoom_;
    QCheckBox* second_;
    QPushButton* saveImage_;
};
