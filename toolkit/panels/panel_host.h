// Where panels appear. Without a host every panel is a top-level window of its own; with
// one (the main window), the host decides where a panel shown by DisplayPanel goes and
// what HidePanel takes away. Panels tell their host, never the other way round.
#pragma once

#include <QString>

class QWidget;

struct HostedPanel {
    QWidget* widget;
    int handle;
    int resourceId;
    QString title;
    bool closable;  // the panel has its own close event (a panel callback)
};

class PanelHost {
  public:
    virtual ~PanelHost() = default;
    // A panel instance was created, hidden; the host may reparent it.
    virtual void adopt(const HostedPanel& panel) = 0;
    virtual void display(QWidget* panel) = 0;
    virtual void conceal(QWidget* panel) = 0;
    // The panel is about to be deleted.
    virtual void release(QWidget* panel) = 0;
    // LoadPanel failed with this one-line report.
    virtual void loadFailed(const QString& report) = 0;
    // A callback started (the action's words, or nullptr for a callback without them) or
    // the last one returned (`running` false).
    virtual void busyChanged(bool running, const char* action) = 0;
    // The running callback polls for input (GetUserEvent): the operator steers it, as a
    // live run, so it is no wait to animate. Once a callback, after its busyChanged.
    virtual void callbackPolls() {}
};

// nullptr goes back to top-level windows for panels created afterwards.
void SetPanelHost(PanelHost* host);
PanelHost* CurrentPanelHost();
