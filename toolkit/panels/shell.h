// The main window: one window whose page area shows the panel in front, with a navigation
// bar that runs callbacks by name, a message pane, bands for short notices and a status
// bar. Panels loaded after CreateMainWindow appear inside it; their handles, values and
// the order of DisplayPanel and HidePanel are exactly as without it.
#pragma once

#include <span>

#include "toolkit/panels/shell_types.h"

// Creates and shows the main window. Its size and position are those of the last run.
int CreateMainWindow(const char* title, const char* iconName);
// Hides and deletes the main window; panels created afterwards are top-level again.
void DestroyMainWindow();

void SetPanelPlace(int resourceId, PanelPlace place, int textBox = 0);
// A widget of the application's own below each page of `resourceId`, made afresh with every
// instance of the panel and gone with it; the panel's controls come first in the tab order.
// nullptr: none for the panels loaded afterwards.
using PageCompanionMaker = class QWidget* (*)(class QWidget* parent);
void SetPageCompanion(int resourceId, PageCompanionMaker make);
// Makes the page area fit the largest page panel of the resource file, so that no page
// resizes the window; a first run opens at that size.
void FitPagesOf(const char* resourceFile);
// The bar's entries, then its Quit entry; the window's close box runs the quit callback.
void SetNavigationEntries(std::span<const NavigationEntry> entries, const char* quitLabel,
                          const char* quitCallback);
// Adds an entry below the others that opens a page of the shell's own (not a panel).
void AddShellPage(const char* label, class QWidget* page);
// Brings a page of the shell's own to the front, as its entry does; a page that is no
// shell page is shown as a window of its own.
void ShowShellPage(class QWidget* page);

// One field of the status bar; an empty text hides it.
void SetStatusField(StatusField field, const char* text);
// What the newest message means, shown below the message pane's text; nullptr or "" clears.
void SetMessageHint(const char* text);
