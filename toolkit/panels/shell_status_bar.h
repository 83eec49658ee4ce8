// The main window's status bar: the port and the device it reaches, the instrument, the log
// file and the records of a live run, and while a callback runs, what it is doing.
#pragma once

#include <QElapsedTimer>
#include <QStatusBar>
#include <QTimer>
#include <map>

#include "toolkit/panels/shell_types.h"

class QLabel;
class QProgressBar;

class ShellStatusBar : public QStatusBar {
    Q_OBJECT
  public:
    explicit ShellStatusBar(QWidget* parent);

    void setField(StatusField field, const QString& text);
    QString field(StatusField field) const;
    // `action` empty for a callback without words of its own.
    void setBusy(bool running, const QString& action);
    QString busyText() const;
    // The moving bar goes; the words and the time taken stay.
    void stopAnimation();

  private:
    void tick();

    std::map<StatusField, QLabel*> fields_;
    QLabel* busy_;
    QLabel* elapsed_;
    QProgressBar* progress_;
    QElapsedTimer since_;
    QTimer ticker_;
};
