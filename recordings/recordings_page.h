// The Recordings page: a recorded run (this tool's CSV or a raw log) opened from a file and
// shown whole on a chart, then zoomed and panned; the summary of the span in view; the
// gauge length that makes a raw log's counts a level; "Save chart image…" and "Save span as
// CSV…".
//
// A file is read in slices between the window's events, with a progress bar and Cancel, so
// the window (and a screen reader attached to it) keeps answering while a day's file is
// read; what the page showed before stays until the new file is read whole. The page's
// buttons run as toolkit callbacks, one at a time with every other action.
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "recording/recording.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class RecordingChart;
class RecordingReader;
class RecordingSeries;

class RecordingsPage : public QWidget {
  public:
    explicit RecordingsPage(QWidget* parent = nullptr);
    ~RecordingsPage() override;

    // "Open recording…": the file chooser, then the file read. False when none was chosen.
    bool chooseAndOpen();
    // Starts reading `path`; a read under way gives way to it.
    void open(const std::string& path);
    bool reading() const { return reader_ != nullptr; }
    void cancelReading();
    // Reads what is left at once (for the command line's pace in tests and benchmarks).
    void finishReading();
    // "Save span as CSV…" and "Save chart image…"; false when nothing was written.
    bool saveSpan();
    bool saveImage();
    void setGaugeLength(double metres);
    void setClockTime(bool clock);

    const Recording* recording() const { return recording_.get(); }
    RecordingChart* chart() const { return chart_; }
    QString fileText() const;
    QString notes() const;
    double readFraction() const;

  private:
    void readSlice();
    void endReading();
    void showRecording(std::unique_ptr<Recording> recording);
    void showSummary();
    std::string proposedName(const char* suffix) const;

    int id_;
    std::unique_ptr<RecordingReader> reader_;
    std::string readingPath_;
    std::unique_ptr<Recording> recording_;
    std::unique_ptr<RecordingSeries> series_;
    QTimer slices_;
    QPushButton* openButton_;
    QLabel* file_;
    QDoubleSpinBox* length_;
    QComboBox* timeAxis_;
    QPushButton* resetZoom_;
    QPushButton* saveImage_;
    QPushButton* saveSpan_;
    QLabel* notes_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    RecordingChart* chart_;
};

// The page, for the main window's navigation; the page last made is the one
// openrecordingcallback brings to the front.
QWidget* createRecordingsPage(QWidget* parent);
RecordingsPage* recordingsPage();
