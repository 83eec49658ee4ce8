// The row that saves a visit's report: "Visit from" (a date and time, the Connect's by
// default) and "Save visit report…". On the overview and on the History page.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "toolkit/platform/calendar.h"

class QDateTimeEdit;
class QPushButton;

class VisitReportRow : public QWidget {
  public:
    // Which history the report is made from, when the button is pressed.
    struct Source {
        std::string historyPath;
        std::string serialNumber;
    };
    VisitReportRow(QWidget* parent, std::function<Source()> source);
    ~VisitReportRow() override;
    // The visit's start shown in the field, to the minute.
    void setSince(const CalendarTime& since);
    CalendarTime since() const;
    QDateTimeEdit* sinceField() const { return since_; }
    QPushButton* saveButton() const { return save_; }

    Source source() const { return source_(); }

  private:
    int id_;
    std::function<Source()> source_;
    QDateTimeEdit* since_;
    QPushButton* save_;
};
