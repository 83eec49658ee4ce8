// What the application tells the main window: where panels go, where the navigation bar
// leads, which status field it sets.
#pragma once

// Where the panels of one resource id appear. Panels without a place are pages.
enum class PanelPlace {
    Page,         // the page area, one page in front at a time
    MessagePane,  // the pane below the page; `textBox` is the control its Clear button empties
    Band,         // a band above the page
};

struct NavigationEntry {
    const char* label;     // with an & before the mnemonic
    const char* callback;  // the callback name it runs, as a button bound to it would
    int resourceId;        // the page it leads to; its entry is marked while it is in front
};

enum class StatusField { Port, Instrument, LogFile, Records };
