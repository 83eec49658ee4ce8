#include "settings/overview_panel.h"

#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "feedback/block_reports.h"
#include "feedback/link_status.h"
#include "feedback/messages.h"
#include "history/history.h"
#include "history/instrument_overview.h"
#include "link/block_read.h"
#include "link/link_state.h"
#include "settings/visit_report_row.h"
#include "toolkit/panels/callback_bindings.h"
#include "toolkit/platform/utility.h"

namespace {

constexpr char kReadAction[] = "overview read";

OverviewPanel* shownOverview = nullptr;

// A read whose keeping failed is still what the instrument holds: the overview shows it
// until the history has a newer entry or another Connect is made.
std::optional<HistoryEntry>& unkeptRead() {
    static std::optional<HistoryEntry> read;
    return read;
}

struct Place {
    const char* page;      // as the navigation bar names it
    const char* callback;  // the callback its entry runs
};

Place placeOf(OverviewPlace place) {
    switch (place) {
        case OverviewPlace::Clock:
            return {"Real-time clock", "setrtccallback"};
        case OverviewPlace::ScheduledStart:
            return {"Scheduled start", "setstartcallback"};
        case OverviewPlace::KxSettings:
            return {"kx settings", "configkxcallback"};
        case OverviewPlace::QvSettings:
            return {"qv settings", "configqvcallback"};
        case OverviewPlace::Calibration:
            return {"Calibration", "calibratecallback"};
    }
    return {"Main panel", "returntomaincallback"};
}

QString shown(const std::string& text) {
    return QString::fromStdString(VisibleText(text));
}

QLabel* textLabel(const std::string& text, const std::string& accessibleName, QWidget* parent) {
    auto* label = new QLabel(shown(text), parent);
    label->setAccessibleName(shown(accessibleName));
    label->setWordWrap(true);
    // Reachable with the keyboard, so that a screen reader meets each text in its turn.
    label->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    return label;
}

void clearChildren(QWidget* box) {
    QLayout* layout = box->layout();
    while (layout->count() > 0) {
        QLayoutItem* item = layout->takeAt(0);
        if (QLayout* inner = item->layout())
            while (inner->count() > 0) {
                QLayoutItem* innerItem = inner->takeAt(0);
                delete innerItem->widget();
                delete innerItem;
            }
        delete item->widget();
        delete item;
    }
}

const HistoryEntry* newestKept(const std::vector<HistoryEntry>& entries,
                               const std::string& serialNumber) {
    const HistoryEntry* kept = entries.empty() ? nullptr : &entries.back();
    const std::optional<HistoryEntry>& unkept = unkeptRead();
    if (unkept && unkept->serialNumber == serialNumber && (!kept || kept->time <= unkept->time))
        return &*unkept;
    return kept;
}

LinkOutcome outcomeOf(LinkShown shown) {
    switch (shown) {
        case LinkShown::PortNotOpen:
            return LinkOutcome::PortNotOpen;
        case LinkShown::NoAnswer:
            return LinkOutcome::NoAnswer;
        case LinkShown::Identified:
            return LinkOutcome::Identified;
        case LinkShown::NotConnected:
            break;
    }
    return LinkOutcome::NotConnected;
}

void linkChanged() {
    unkeptRead().reset();
    if (shownOverview)
        shownOverview->refresh();
}

}  // namespace

OverviewPanel::OverviewPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("overview"));
    setAccessibleName(QStringLiteral("Instrument overview"));
    // A line of words stays readable, and a warning's button stays beside its sentence,
    // however wide the page area is.
    setMaximumWidth(840);
    headline_ = textLabel({}, {}, this);
    QFont bold = headline_->font();
    bold.setBold(true);
    headline_->setFont(bold);
    rows_ = new QWidget(this);
    auto* form = new QFormLayout(rows_);
    form->setContentsMargins(0, 0, 0, 0);
    warnings_ = new QWidget(this);
    auto* warningList = new QVBoxLayout(warnings_);
    warningList->setContentsMargins(0, 0, 0, 0);
    read_ = new QPushButton(QStringLiteral("Read instrument"), this);
    read_->setAccessibleName(QStringLiteral("Read instrument"));
    read_->setToolTip(
        QStringLiteral("Reads the instrument's settings now and keeps them in the "
                       "history"));
    connect(read_, &QPushButton::clicked, this,
            [] { postNamedCallback("readinstrumentcallback"); });

    report_ = new VisitReportRow(this, [] {
        return VisitReportRow::Source{currentHistoryFilePath(), linkFacts().serialNumber};
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(read_);
    buttons->addSpacing(24);
    buttons->addWidget(report_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headline_);
    layout->addWidget(rows_);
    layout->addWidget(warnings_);
    layout->addLayout(buttons);
    shownOverview = this;
    setLinkFactsListener(linkChanged);
    refresh();
}

OverviewPanel::~OverviewPanel() {
    if (shownOverview == this) {
        shownOverview = nullptr;
        setLinkFactsListener(nullptr);
    }
}

void OverviewPanel::refresh() {
    const LinkFacts& facts = linkFacts();
    OverviewInput input;
    input.link = outcomeOf(facts.shown);
    input.port = facts.port;
    input.serialNumber = facts.serialNumber;
    input.now = ComputerLocalTime();
    HistoryFile history;
    if (input.link == LinkOutcome::Identified) {
        history = loadHistory(currentHistoryFilePath());
        input.kept = newestKept(history.entries, facts.serialNumber);
        for (const HistoryNote& note : history.notes)
            if (note.kind == kClockReadNote)
                input.clockRead = &note;
    }
    const InstrumentOverview overview = describeInstrument(input);

    lines_ = {overview.headline};
    headline_->setText(shown(overview.headline));
    headline_->setAccessibleName(shown(overview.headline));
    clearChildren(rows_);
    clearChildren(warnings_);
    auto* form = static_cast<QFormLayout*>(rows_->layout());
    QWidget* previous = headline_;
    const auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (const OverviewRow& row : overview.rows) {
        const std::string line = row.caption + ": " + row.value;
        lines_.push_back(line);
        auto* caption = new QLabel(shown(row.caption + ":"), rows_);
        auto* value = textLabel(row.value, line, rows_);
        caption->setBuddy(value);
        form->addRow(caption, value);
        chain(value);
    }
    auto* warningList = static_cast<QVBoxLayout*>(warnings_->layout());
    for (const OverviewWarning& warning : overview.warnings) {
        const std::string line = "Warning: " + warning.text;
        lines_.push_back(line);
        const Place place = placeOf(warning.place);
        auto* label = textLabel(warning.text, line, warnings_);
        label->setStyleSheet(QStringLiteral("color: #a11;"));
        auto* go = new QPushButton(QStringLiteral("Go to %1").arg(QString::fromUtf8(place.page)),
                                   warnings_);
        go->setAccessibleName(go->text());
        go->setAccessibleDescription(shown(warning.text));
        go->setProperty("callback", QString::fromUtf8(place.callback));
        const std::string callback = place.callback;
        connect(go, &QPushButton::clicked, go, [callback] { postNamedCallback(callback.c_str()); });
        auto* row = new QHBoxLayout;
        row->addWidget(label, 1);
        row->addWidget(go, 0, Qt::AlignTop);
        warningList->addLayout(row);
        chain(label);
        chain(go);
    }
    rows_->setVisible(!overview.rows.empty());
    warnings_->setVisible(!overview.warnings.empty());
    const bool identified = input.link == LinkOutcome::Identified;
    read_->setEnabled(identified);
    report_->setVisible(identified);
    // The visit starts at the Connect, until the operator picks another time.
    const std::string connectedAt = identified ? FormatDateTime(facts.identifiedAt) : "";
    if (identified && connectedAt != reportSinceFor_)
        report_->setSince(facts.identifiedAt);
    reportSinceFor_ = connectedAt;
    chain(read_);
    chain(report_->sinceField());
    chain(report_->saveButton());
}

std::vector<std::string> OverviewPanel::shownLines() const {
    return lines_;
}

std::vector<QPushButton*> OverviewPanel::warningButtons() const {
    const QList<QPushButton*> buttons = warnings_->findChildren<QPushButton*>();
    return {buttons.begin(), buttons.end()};
}

OverviewPanel* currentOverview() {
    return shownOverview;
}

QWidget* createOverviewPanel(QWidget* parent) {
    return new OverviewPanel(parent);
}

int readinstrumentcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    const BlockRead read = readBlock(kSettingsDisplayRead);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Cleared);
        return 0;
    }
    const KeepResult kept = keepBlockRead(kReadAction, read.text);
    unkeptRead().reset();
    if (!kept.kept) {
        const LinkFacts& facts = linkFacts();
        unkeptRead() = HistoryEntry{FormatDateTime(ComputerLocalTime()),
                                    kReadAction,
                                    kReadStage,
                                    facts.serialNumber,
                                    facts.port,
                                    read.text,
                                    {},
                                    0};
        const std::string line = "settings history not saved: " + kept.reason;
        addMessageText(line.c_str());
        showMessages();
    }
    if (shownOverview)
        shownOverview->refresh();
    return 0;
}
