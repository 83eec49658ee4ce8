// The History page: the entries kept for an instrument, newest first; one entry decoded
// field by field beside a fresh read of the instrument, with the differences marked; and
// "Restore these settings"; "Save to file…" for the instrument's settings or an entry, and
// "Apply settings file…".
//
// A self-contained widget, hosted as a page of the main window (createHistoryPage) or
// opened as a window of its own (openHistoryWindow). Its reads and its restore run as
// toolkit callbacks, one at a time with every other action.
#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "history/history.h"
#include "settings/history_restore.h"
#include "toolkit/panels/userint.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;
class VisitReportRow;

class HistoryPage : public QWidget {
  public:
    explicit HistoryPage(QWidget* parent = nullptr);
    ~HistoryPage() override;

    // Lists the files of the history folder, the instrument identified last chosen.
    void reloadFiles();
    // Loads the entries of the chosen file, newest first.
    void reloadEntries();
    // Reads the instrument's block for the "Instrument now" column. False on a failed read
    // (the message panel says why).
    bool readInstrument();
    void selectEntry(int row);  // 0 is the newest
    RestoreOutcome restoreSelected();
    // "Save to file…": the instrument's settings read now, or the selected entry's.
    enum class SavedSettings { Instrument, SelectedEntry };
    void chooseSavedSettings(SavedSettings which);
    bool saveToFile();
    // "Apply settings file…"; the entries and the instrument's column are read afresh after
    // a write.
    RestoreOutcome applyFile();

    const std::vector<HistoryEntry>& entries() const { return entries_; }
    const std::string& instrumentText() const { return instrumentText_; }
    QString note() const;
    QTableWidget* fieldTable() const { return table_; }
    QPushButton* readButton() const { return readButton_; }
    QPushButton* restoreButton() const { return restoreButton_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* applyButton() const { return applyButton_; }
    QListWidget* entryList() const { return list_; }
    VisitReportRow* reportRow() const { return report_; }

  protected:
    // Coming into view lists the entries afresh when the file has changed; the instrument
    // is read on request only.
    void showEvent(QShowEvent* event) override;

  private:
    // What the entries shown were loaded from: a page coming into view loads again only
    // when its file (or the instrument's) has changed since.
    struct FileStamp {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const QString& path);
    void showFields();
    int id_;
    FileStamp loaded_;
    QString instrumentFile_;
    std::vector<HistoryEntry> entries_;
    std::string instrumentText_;
    QComboBox* files_;
    QListWidget* list_;
    QTableWidget* table_;
    QLabel* note_;
    QPushButton* readButton_;
    QPushButton* restoreButton_;
    QPushButton* applyButton_;
    QRadioButton* saveInstrument_;
    QRadioButton* saveEntry_;
    QPushButton* saveButton_;
    VisitReportRow* report_;
};

// The page, for a host to place (the main window's navigation).
QWidget* createHistoryPage(QWidget* parent);
// The page as a window of its own, deleted when closed; returns it.
HistoryPage* openHistoryWindow();
// A control callback that opens the History window and reads the instrument for it.
CtrlCallback historycallback;
