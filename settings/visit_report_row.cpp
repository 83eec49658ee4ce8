#include "settings/visit_report_row.h"

#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <map>

#include "settings/visit_report_actions.h"
#include "toolkit/panels/userint.h"

namespace {

std::map<int, VisitReportRow*>& rows() {
    static std::map<int, VisitReportRow*> open;
    return open;
}
int nextRowId = 1;

// The button runs here, as a toolkit callback, one at a time with every other action:
// `panel` is the row's id.
int saveReportCallback(int panel, int, int event, void*, int, int) {
    const auto it = rows().find(panel);
    if (event != EVENT_COMMIT || it == rows().end())
        return 0;
    const VisitReportRow::Source source = it->second->source();
    saveVisitReport(source.historyPath, source.serialNumber, it->second->since());
    return 0;
}

}  // namespace

VisitReportRow::VisitReportRow(QWidget* parent, std::function<Source()> source)
    : QWidget(parent), id_(nextRowId++), source_(std::move(source)) {
    rows()[id_] = this;
    auto* label = new QLabel(QStringLiteral("Visit from"), this);
    since_ = new QDateTimeEdit(this);
    since_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    since_->setAccessibleName(QStringLiteral("Visit from"));
    since_->setToolTip(QStringLiteral("The report covers the history kept from this time on"));
    label->setBuddy(since_);
    save_ = new QPushButton(QStringLiteral("Save visit report…"), this);
    save_->setAccessibleName(QStringLiteral("Save visit report…"));
    save_->setToolTip(QStringLiteral(
        "Writes the visit's report as a PDF and, beside it, the same in plain text"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(since_);
    layout->addWidget(save_);
    layout->addStretch(1);
    connect(save_, &QPushButton::clicked, this,
            [this] { PostCommitEvent(saveReportCallback, id_, 1); });
    setSince(ComputerLocalTime());
}

VisitReportRow::~VisitReportRow() {
    rows().erase(id_);
}

void VisitReportRow::setSince(const CalendarTime& since) {
    since_->setDateTime(
        QDateTime(QDate(since.year, since.month, since.day), QTime(since.hour, since.minute)));
}

CalendarTime VisitReportRow::since() const {
    const QDateTime shown = since_->dateTime();
    CalendarTime time;
    time.year = shown.date().year();
    time.month = shown.date().month();
    time.day = shown.date().day();
    time.hour = shown.time().hour();
    time.minute = shown.time().minute();
    time.second = 0;
    time.dayOfWeek = DayOfWeek(time.year, time.month, time.day);
    return time;
}
