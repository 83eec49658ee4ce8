// The seam the pop-ups consult before showing a modal dialog: while an answerer is
// installed it answers in the operator's place and no dialog opens.
#pragma once

#include <string>

// Answers MessagePopup, ConfirmPopup, FileSelectPopup and the chart image's dialog instead of
// showing a modal dialog.
class PopupAnswerer {
  public:
    virtual ~PopupAnswerer() = default;
    virtual void message(const std::string& title, const std::string& text) = 0;
    // Returns what FileSelectPopup returns; writes the chosen path into `path`. The
    // proposed name is the chooser's default file pattern when it names a file, else empty.
    virtual int fileSelect(const std::string& title, bool allowCancel,
                           const std::string& proposedName, std::string& path) = 0;
    // Answers ConfirmPopup: 1 for Yes, 0 for No. Unless overridden, every question is
    // answered Yes.
    virtual int confirm(const std::string& /*title*/, const std::string& /*text*/) { return 1; }
    // Answers the chart image's format and size, proposed in the arguments; false cancels.
    // Unless overridden, the proposal is taken.
    virtual bool chartImage(bool& /*pdf*/, int& /*width*/, int& /*height*/) { return true; }
};

// nullptr restores the real, modal dialogs.
void SetPopupAnswerer(PopupAnswerer* answerer);
// The answerer installed, or nullptr.
PopupAnswerer* InstalledPopupAnswerer();
