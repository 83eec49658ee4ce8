#include "recordings/recording_actions.h"

#include "recordings/recordings_page.h"
#include "toolkit/panels/shell.h"

int openrecordingcallback(int, int, int event, void*, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    RecordingsPage* page = recordingsPage();
    if (!page) {
        // No main window to hold it: a window of its own.
        page = new RecordingsPage(nullptr);
        page->setAttribute(Qt::WA_DeleteOnClose);
        page->resize(900, 640);
    }
    ShowShellPage(page);
    page->chooseAndOpen();
    return 0;
}
