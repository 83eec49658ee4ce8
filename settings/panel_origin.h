// Where the values of a settings panel instance came from. A panel opens with the resource
// file's values, which are not the instrument's: writing them unread would overwrite the
// instrument's settings with defaults. Each instance (each handle: navigation loads a fresh
// one) remembers whether a read filled it, or the operator entered its fields.
#pragma once

#include "toolkit/panels/userint.h"

void noteValuesRead(int panel);
void noteValuesEntered(int panel);  // the operator typed a field or filled them in one press

enum class Origin {
    ReadOnly,       // only a read counts (the kx and qv panels)
    ReadOrEntered,  // a read or the operator's entries (the clock and start panels)
};

// True when the write may go on: the values came from where `origin` allows, or the
// operator answered Yes to the question that the values shown are the panel's defaults.
bool writeOfDefaultsConfirmed(int panel, Origin origin);

void resetPanelOrigins();

// Bound to the clock and start panels' date fields: an entry marks the values as the
// operator's.
CtrlCallback datefieldcallback;
