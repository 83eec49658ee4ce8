// The overview below the main panel's own controls: how to begin before Connect, and after
// it the instrument, its port and the settings last known for it, each field in words, with
// the warnings and a button to the page that mends each. "Read instrument" reads the block
// now (the History page's read), keeps it in the history and shows it.
//
// Connect sends what it always sends: the overview shows the history, and talks to the
// instrument only when its button is pressed.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "toolkit/panels/userint.h"

class QLabel;
class QPushButton;
class QVBoxLayout;
class VisitReportRow;

class OverviewPanel : public QWidget {
  public:
    explicit OverviewPanel(QWidget* parent);
    ~OverviewPanel() override;

    // Shows the last Connect's outcome and the newest history entry of its instrument.
    void refresh();
    // Every text shown, in reading order: the headline, "Caption: value" per field,
    // "Warning: text" per warning.
    std::vector<std::string> shownLines() const;
    QPushButton* readButton() const { return read_; }
    VisitReportRow* reportRow() const { return report_; }
    // The warnings' buttons, in order, and the callback each runs.
    std::vector<QPushButton*> warningButtons() const;

  private:
    QLabel* headline_;
    QWidget* rows_;
    QWidget* warnings_;
    QPushButton* read_;
    VisitReportRow* report_;
    std::string reportSinceFor_;  // the Connect whose time the report row was given
    std::vector<std::string> lines_;
};

// The overview of the main panel in front, if any.
OverviewPanel* currentOverview();
// For the main window: a fresh overview below every main panel.
QWidget* createOverviewPanel(QWidget* parent);

// "Read instrument": the block read as the History page reads it, kept, then shown.
CtrlCallback readinstrumentcallback;
