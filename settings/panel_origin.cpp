#include "settings/panel_origin.h"

#include <set>

#include "toolkit/panels/userint.h"

namespace {

std::set<int>& readPanels() {
    static std::set<int> panels;
    return panels;
}

std::set<int>& enteredPanels() {
    static std::set<int> panels;
    return panels;
}

constexpr char kQuestionTitle[] = "Values not read";
constexpr char kReadOnlyQuestion[] =
    "The values shown are the panel's defaults, not the instrument's: they were not read "
    "from it.\nWrite them to the instrument anyway?";
constexpr char kReadOrEnteredQuestion[] =
    "The values shown are the panel's defaults, not the instrument's: they were neither read "
    "from it nor entered.\nWrite them to the instrument anyway?";

}  // namespace

void noteValuesRead(int panel) {
    readPanels().insert(panel);
}

void noteValuesEntered(int panel) {
    enteredPanels().insert(panel);
}

bool writeOfDefaultsConfirmed(int panel, Origin origin) {
    if (readPanels().count(panel) != 0)
        return true;
    if (origin == Origin::ReadOrEntered && enteredPanels().count(panel) != 0)
        return true;
    const char* question = origin == Origin::ReadOnly ? kReadOnlyQuestion : kReadOrEnteredQuestion;
    return ConfirmPopup(kQuestionTitle, question) == 1;
}

void resetPanelOrigins() {
    readPanels().clear();
    enteredPanels().clear();
}

int datefieldcallback(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        noteValuesEntered(panel);
    return 0;
}
