// Panel instances by handle: the window of each loaded panel, its controls laid out from
// the resource file and its close box. Inside the main window a panel is hosted: it is
// shown and hidden where its host puts it, and "shown" is what DisplayPanel and HidePanel
// last made it, whether or not its page is in front.
//
// Handles count up from 1 and are never reused in a process. A discarded panel leaves
// the registry at once, with the input queued for it; its window is deleted right away
// between callbacks, and otherwise from the event loop once the outermost callback has
// returned, since a callback (the live loop among them) may come from one of its widgets.
#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "toolkit/panels/panel_control.h"
#include "toolkit/panels/resource_defs.h"
#include "toolkit/panels/types.h"

class PanelWidget : public QWidget {
    Q_OBJECT
  public:
    PanelWidget(int handle, std::shared_ptr<const ResourceFile> file, const PanelDef& def,
                PanelCallbackPtr panelCallback);

    int handle() const { return handle_; }
    int resourceId() const { return def_.id; }
    PanelControl* control(int id) const;

    // What DisplayPanel and HidePanel do to this panel, and what they last did.
    void displayPanel();
    void concealPanel();
    bool isShown() const;
    // What the close box does, also when the main window offers to close this page.
    void requestClose();
    void setHosted() { hosted_ = true; }
    bool isHosted() const { return hosted_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void layOut();

    int handle_;
    std::shared_ptr<const ResourceFile> file_;  // keeps def_ alive
    const PanelDef& def_;
    PanelCallbackPtr panelCallback_;
    std::map<int, PanelControl*> controls_;
    bool hosted_ = false;
    bool shown_ = false;
};

// Binds the callbacks of `def` by name and creates a hidden instance; on failure
// returns a negative UIError and fills `error`.
int createPanel(std::shared_ptr<const ResourceFile> file, const PanelDef& def,
                ResourceError& error);

PanelWidget* findPanel(int handle);
// The control, or nullptr with `code` set to UIE_InvalidPanel or UIE_InvalidControl.
PanelControl* findControl(int handle, int control, int& code);
void discardPanel(int handle);
void discardAllPanels();
std::vector<int> loadedPanelHandles();
// The size the largest panel of `file` wants (the ids in `skip` left out), measured on
// instances that never get a handle.
QSize largestPanelSize(const std::shared_ptr<const ResourceFile>& file, std::span<const int> skip);
// What the panel's close box does: hide it, press its button, or tell its callback.
void RequestPanelClose(int handle);
