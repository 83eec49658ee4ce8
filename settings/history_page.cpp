#include "settings/history_page.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

#include "feedback/block_reports.h"
#include "feedback/link_status.h"
#include "history/visit_report.h"
#include "link/block_fields.h"
#include "link/block_read.h"
#include "settings/settings_file_actions.h"
#include "settings/visit_report_row.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/utility.h"
#include "toolkit/widgets/labelled_combo_box.h"

namespace {

enum PageAction { kReadAction = 1, kRestoreAction = 2, kSaveAction = 3, kApplyAction = 4 };
enum Column { kFieldColumn, kEntryColumn, kNowColumn, kDiffersColumn, kColumns };

std::map<int, HistoryPage*>& pages() {
    static std::map<int, HistoryPage*> open;
    return open;
}
int nextPageId = 1;

// The page's buttons run here, as toolkit callbacks: `panel` is the page's id.
int pageActionCallback(int panel, int control, int event, void*, int, int) {
    const auto it = pages().find(panel);
    if (event != EVENT_COMMIT || it == pages().end())
        return 0;
    if (control == kReadAction)
        it->second->readInstrument();
    else if (control == kRestoreAction)
        it->second->restoreSelected();
    else if (control == kSaveAction)
        it->second->saveToFile();
    else if (control == kApplyAction)
        it->second->applyFile();
    return 0;
}

// Text from the file, shown so that nothing in it can hide or cut what follows.
QString shown(const std::string& text) {
    return QString::fromStdString(VisibleText(text));
}

QString entryLabel(const HistoryEntry& entry) {
    QString label = shown(entry.time + "   " + entry.action + " (" + entry.stage + ")   " +
                          entry.serialNumber + "   " + entry.port);
    if (entry.checksum.empty())
        label += QStringLiteral("   (kept without a checksum)");
    return label;
}

QPushButton* button(const char* label, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(label), parent);
    b->setAccessibleName(QString::fromUtf8(label));
    return b;
}

}  // namespace

HistoryPage::HistoryPage(QWidget* parent) : QWidget(parent), id_(nextPageId++) {
    pages()[id_] = this;
    setWindowTitle(QStringLiteral("Settings history"));
    setAccessibleName(QStringLiteral("Settings history"));

    files_ = new LabelledComboBox(this);
    files_->setAccessibleName(QStringLiteral("Instrument"));
    list_ = new QListWidget(this);
    list_->setAccessibleName(QStringLiteral("Kept settings, newest first"));
    table_ = new QTableWidget(0, kColumns, this);
    table_->setAccessibleName(QStringLiteral("Kept entry and instrument, field by field"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Field"), QStringLiteral("Kept entry"),
                                       QStringLiteral("Instrument now"),
                                       QStringLiteral("Differs")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    note_ = new QLabel(this);
    note_->setAccessibleName(QStringLiteral("History notes"));
    note_->setWordWrap(true);
    note_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    // A long path in a note wraps within the page instead of widening it past its buttons.
    note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    readButton_ = button("Read instrument", this);
    restoreButton_ = button("Restore these settings", this);
    restoreButton_->setEnabled(false);
    applyButton_ = button("Apply settings file…", this);
    applyButton_->setToolTip(QStringLiteral(
        "Puts the settings of a settings file into the instrument, after listing the fields "
        "that change"));

    // What "Save to file…" keeps: the instrument as it is now, or the entry chosen above.
    auto* saveBox = new QGroupBox(QStringLiteral("Settings to save"), this);
    saveInstrument_ = new QRadioButton(QStringLiteral("The instrument's, read now"), saveBox);
    saveEntry_ = new QRadioButton(QStringLiteral("The selected kept entry"), saveBox);
    saveInstrument_->setChecked(true);
    saveButton_ = button("Save to file…", saveBox);
    auto* saveRow = new QHBoxLayout(saveBox);
    saveRow->addWidget(saveInstrument_);
    saveRow->addWidget(saveEntry_);
    saveRow->addStretch(1);
    saveRow->addWidget(saveButton_);

    auto* fileRow = new QHBoxLayout;
    auto* fileLabel = new QLabel(QStringLiteral("Instrument"), this);
    fileLabel->setBuddy(files_);
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(files_, 1);
    // The report of the chosen instrument's visit; it starts on the last day it has.
    report_ = new VisitReportRow(this, [this] {
        const std::string serial =
            entries_.empty()
                ? QFileInfo(files_->currentData().toString()).completeBaseName().toStdString()
                : entries_.front().serialNumber;
        return VisitReportRow::Source{files_->currentData().toString().toStdString(), serial};
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readButton_);
    buttons->addStretch(1);
    buttons->addWidget(applyButton_);
    buttons->addWidget(restoreButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(list_, 1);
    layout->addWidget(note_);
    layout->addWidget(table_, 2);
    layout->addWidget(saveBox);
    layout->addWidget(report_);
    layout->addLayout(buttons);

    connect(files_, &QComboBox::currentIndexChanged, this, [this] { reloadEntries(); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { showFields(); });
    connect(readButton_, &QPushButton::clicked, this,
            [this] { PostCommitEvent(pageActionCallback, id_, kReadAction); });
    connect(restoreButton_, &QPushButton::clicked, this,
            [this] { PostCommitEvent(pageActionCallback, id_, kRestoreAction); });
    connect(saveButton_, &QPushButton::clicked, this,
            [this] { PostCommitEvent(pageActionCallback, id_, kSaveAction); });
    connect(applyButton_, &QPushButton::clicked, this,
            [this] { PostCommitEvent(pageActionCallback, id_, kApplyAction); });
    connect(saveEntry_, &QRadioButton::toggled, this, [this] { showFields(); });
    reloadFiles();
}

HistoryPage::~HistoryPage() {
    pages().erase(id_);
}

HistoryPage::FileStamp HistoryPage::stampOf(const QString& path) {
    const QFileInfo info(path);  // looked at, never opened
    return {path, info.exists() ? info.size() : -1, info.lastModified()};
}

void HistoryPage::reloadFiles() {
    const QString current = QString::fromStdString(currentHistoryFilePath());
    instrumentFile_ = current;
    QSignalBlocker quiet(files_);
    files_->clear();
    for (const std::string& path : historyFilePaths()) {
        const QString file = QString::fromStdString(path);
        files_->addItem(shown(QFileInfo(file).completeBaseName().toStdString()), file);
    }
    if (files_->findData(current) < 0)
        files_->addItem(shown(QFileInfo(current).completeBaseName().toStdString()), current);
    files_->setCurrentIndex(files_->findData(current));
    reloadEntries();
}

void HistoryPage::reloadEntries() {
    const QString path = files_->currentData().toString();
    loaded_ = stampOf(path);
    const HistoryFile history = loadHistory(path.toStdString());
    entries_.assign(history.entries.rbegin(), history.entries.rend());
    QSignalBlocker quiet(list_);
    list_->clear();
    QStringList labels;
    labels.reserve(static_cast<qsizetype>(entries_.size()));
    for (const HistoryEntry& entry : entries_) labels.append(entryLabel(entry));
    list_->addItems(labels);
    std::string notes;
    for (const std::string& note : historyNotes(history))
        notes += (notes.empty() ? "" : "\n") + note;
    note_->setText(shown(notes));
    list_->setCurrentRow(entries_.empty() ? -1 : 0);
    // The visit of the instrument connected is the time since its Connect; another one's
    // is taken to be the last day its history has.
    const LinkFacts& link = linkFacts();
    const bool connected = link.shown == LinkShown::Identified &&
                           path == QString::fromStdString(currentHistoryFilePath());
    report_->setSince(connected ? link.identifiedAt : lastDayStart(history, ComputerLocalTime()));
    showFields();
}

bool HistoryPage::readInstrument() {
    const BlockRead read = readBlock(kSettingsDisplayRead);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Cleared);
        instrumentText_.clear();
    } else {
        instrumentText_ = read.text;
    }
    showFields();
    return read.ok;
}

void HistoryPage::selectEntry(int row) {
    list_->setCurrentRow(row);
}

RestoreOutcome HistoryPage::restoreSelected() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size()))
        return RestoreOutcome::Declined;
    const HistoryEntry entry = entries_[static_cast<size_t>(row)];
    const RestoreOutcome outcome = restoreHistoryEntry(entry);
    if (outcome == RestoreOutcome::Written) {
        reloadFiles();
        readInstrument();
    }
    return outcome;
}

bool HistoryPage::saveToFile() {
    if (saveInstrument_->isChecked())
        return saveInstrumentSettings();
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(entries_.size()))
        return false;
    return saveKeptSettings(entries_[static_cast<size_t>(row)]);
}

RestoreOutcome HistoryPage::applyFile() {
    const RestoreOutcome outcome = applySettingsFile();
    if (outcome == RestoreOutcome::Written) {
        reloadFiles();
        readInstrument();
    }
    return outcome;
}

void HistoryPage::chooseSavedSettings(SavedSettings which) {
    (which == SavedSettings::Instrument ? saveInstrument_ : saveEntry_)->setChecked(true);
}

void HistoryPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    const bool unchanged = instrumentFile_ == QString::fromStdString(currentHistoryFilePath()) &&
                           stampOf(loaded_.path) == loaded_;
    if (!unchanged)
        reloadFiles();
}

QString HistoryPage::note() const {
    return note_->text();
}

void HistoryPage::showFields() {
    const int row = list_->currentRow();
    const bool chosen = row >= 0 && row < static_cast<int>(entries_.size());
    restoreButton_->setEnabled(chosen);
    saveButton_->setEnabled(chosen || saveInstrument_->isChecked());
    const auto views = blockFieldViews();
    table_->setRowCount(static_cast<int>(views.size()));
    for (size_t i = 0; i < views.size(); ++i) {
        const BlockFieldView& view = views[i];
        const QString kept =
            chosen
                ? QString::fromStdString(view.show(entries_[static_cast<size_t>(row)].text.c_str()))
                : QString();
        const QString now = instrumentText_.empty()
                                ? QStringLiteral("not read")
                                : QString::fromStdString(view.show(instrumentText_.c_str()));
        const bool differs = chosen && !instrumentText_.empty() && kept != now;
        const QString cells[kColumns] = {QString::fromUtf8(view.name), kept, now,
                                         differs ? QStringLiteral("differs") : QString()};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            QFont font = item->font();
            font.setBold(differs);
            item->setFont(font);
            table_->setItem(static_cast<int>(i), c, item);
        }
    }
}

QWidget* createHistoryPage(QWidget* parent) {
    return new HistoryPage(parent);
}

HistoryPage* openHistoryWindow() {
    auto* page = new HistoryPage(nullptr);
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->resize(760, 640);
    page->show();
    return page;
}

int historycallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    openHistoryWindow()->readInstrument();
    return 0;
}
