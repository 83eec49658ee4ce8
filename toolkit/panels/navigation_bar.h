// The main window's navigation bar: one entry per place the operator can go, each running
// the callback a panel button bound to the same name runs, and Quit at the bottom.
//
// The entries are page tabs to a screen reader, in a page tab list: the entry of the page
// in front is the selected tab, and a tab's one action goes to its page, as a click does.
// On screen the entry in front is drawn checked.
#pragma once

#include <QFrame>
#include <QPushButton>
#include <QString>
#include <span>
#include <vector>

#include "toolkit/panels/shell_types.h"

class QAbstractButton;
class QVBoxLayout;

// One entry: a button whose accessible interface is a page tab (shell_accessibility).
class NavigationTab : public QPushButton {
    Q_OBJECT
  public:
    NavigationTab(const QString& label, QWidget* parent);
    // Marks the entry whose page is in front, and tells a screen reader when that changes.
    void setCurrent(bool current);
    bool isCurrent() const { return isChecked(); }
};

// The column of entries, a page tab list to a screen reader.
class NavigationTabs : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
};

class NavigationBar : public QFrame {
    Q_OBJECT
  public:
    explicit NavigationBar(QWidget* parent);

    void setEntries(std::span<const NavigationEntry> entries, const QString& quitLabel,
                    const QString& quitCallback);
    // An entry that shows `page` (a page of the shell's own) instead of running a callback.
    void addPageEntry(const QString& label, QWidget* page);
    // Marks the entry of the page in front: a panel's resource id, or a shell page.
    void markPanel(int resourceId);
    void markPage(QWidget* page);

    // The marked entry's label without its &, or empty; and a click on an entry.
    QString marked() const;
    bool press(const QString& label);

  signals:
    void pageRequested(QWidget* page);

  private:
    struct Entry {
        NavigationTab* button;
        int resourceId;
        QWidget* page;
    };
    NavigationTab* addTab(const QString& label);
    void clear();
    void refreshMarks();

    NavigationTabs* tabs_;
    QVBoxLayout* places_;
    QVBoxLayout* quit_;
    std::vector<Entry> entries_;
    QAbstractButton* quitButton_ = nullptr;
    int markedId_ = -1;
    QWidget* markedPage_ = nullptr;
};
