// The main window behind toolkit/panels/shell.h: the panel host that puts pages in its
// page area, the message panel in its pane and short notices in bands above the page.
//
// Invariant: exactly one thing is in the page area's front, the page shown last that is
// still shown, or a one-line placeholder that says why nothing is there; the navigation
// bar is always there, so the operator always has a way on.
#pragma once

#include <QFrame>
#include <QMainWindow>
#include <QTimer>
#include <map>
#include <span>
#include <vector>

#include "toolkit/panels/panel_host.h"
#include "toolkit/panels/shell_types.h"

class QLabel;
class QSplitter;
class QStackedWidget;
class QToolButton;
class MessagePane;
class NavigationBar;
class ShellStatusBar;

// A band above the page: the frame around one band panel.
class BandFrame : public QFrame {
    Q_OBJECT
  public:
    using QFrame::QFrame;
};

class MainWindow : public QMainWindow, public PanelHost {
    Q_OBJECT
  public:
    MainWindow(const QString& title, const QIcon& icon);
    ~MainWindow() override;

    void setPlace(int resourceId, PanelPlace place, int textBox);
    void setCompanion(int resourceId, QWidget* (*make)(QWidget* parent));
    // The ids of panels that are not pages.
    std::vector<int> placedElsewhere() const;
    // Pages need `size`; a window without a remembered size opens to fit it.
    void fitPages(QSize size);
    void setNavigation(std::span<const NavigationEntry> entries, const char* quitLabel,
                       const char* quitCallback);
    void addShellPage(const QString& label, QWidget* page);
    // False when `page` is none of the shell's own.
    bool showShellPage(QWidget* page);
    ShellStatusBar* shellStatus() const { return status_; }
    MessagePane* messagePane() const { return messages_; }
    NavigationBar* navigationBar() const { return bar_; }
    // The placeholder's line while it is in front, else empty.
    QString placeholderLine() const;

    // PanelHost
    void adopt(const HostedPanel& panel) override;
    void display(QWidget* panel) override;
    void conceal(QWidget* panel) override;
    void release(QWidget* panel) override;
    void loadFailed(const QString& report) override;
    void busyChanged(bool running, const char* action) override;
    void callbackPolls() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Hosted {
        HostedPanel panel;
        PanelPlace place;
        QWidget* frame;  // what is shown and hidden: the panel or the band around it
    };
    void showFront();
    void showPlaceholder(const QString& line);
    void focusFirstControl(QWidget* page);
    void fitPageArea(QWidget* page);
    void restoreGeometryFromSettings();
    void saveGeometrySoon();
    void saveGeometryNow();

    NavigationBar* bar_;
    QWidget* bands_;
    QLabel* pageTitle_;
    QToolButton* closePage_;
    QStackedWidget* pages_;
    class QScrollArea* scroll_;
    QLabel* placeholder_;
    QSplitter* splitter_;
    MessagePane* messages_;
    ShellStatusBar* status_;
    QTimer saveTimer_;
    bool geometryRestored_ = false;
    std::map<int, std::pair<PanelPlace, int>> places_;
    std::map<int, QWidget* (*)(QWidget*)> companions_;
    std::map<QWidget*, Hosted> hosted_;
    std::vector<QWidget*> front_;  // pages shown, the front one last
    QString quitCallback_;
};

MainWindow* CurrentMainWindow();
