// The one installed pop-up answerer.
#include "toolkit/panels/popup_answerer.h"

namespace {
PopupAnswerer* installed = nullptr;
}

void SetPopupAnswerer(PopupAnswerer* answerer) {
    installed = answerer;
}

PopupAnswerer* InstalledPopupAnswerer() {
    return installed;
}
