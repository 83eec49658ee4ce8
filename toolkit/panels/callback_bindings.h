// The application's callbacks by name, as BindCallbacks gave them. Panels bind their
// controls through this table when they are loaded; the main window's navigation runs
// callbacks through it by name.
#pragma once

#include <span>
#include <string>

#include "toolkit/panels/types.h"

struct BoundCallback {
    CtrlCallbackPtr control = nullptr;
    PanelCallbackPtr panel = nullptr;
    const char* busy = nullptr;  // what the status bar says while it runs
};

void bindCallbackTable(std::span<const CallbackBinding> table);
// nullptr when the name is not bound.
const BoundCallback* findBoundCallback(const std::string& name);
// Posts a commit to the named control callback, as a button bound to it would; false
// when the name is not bound to a control callback.
bool postNamedCallback(const char* name);
