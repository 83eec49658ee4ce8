// The main window's navigation bar: one button per place the operator can go, each running
// the callback a panel button bound to the same name runs, and Quit at the bottom.
#pragma once

#include <QFrame>
#include <QString>
#include <span>
#include <vector>

#include "toolkit/panels/shell_types.h"

class QAbstractButton;
class QVBoxLayout;

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
        QAbstractButton* button;
        int resourceId;
        QWidget* page;
    };
    QAbstractButton* addButton(const QString& label);
    void clear();
    void refreshMarks();

    QVBoxLayout* places_;
    QVBoxLayout* quit_;
    std::vector<Entry> entries_;
    QAbstractButton* quitButton_ = nullptr;
    int markedId_ = -1;
    QWidget* markedPage_ = nullptr;
};
