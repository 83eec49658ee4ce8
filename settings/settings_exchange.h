// What the kx and qv settings panels share: their read buttons, which dim the panel and
// read the block, and their set buttons, which read their controls against the ranges of
// their cells, read the block again, put the values in and write it.
#pragma once

#include <cstddef>
#include <span>

#include "link/block_read.h"

// 1 when `mask` is set in `flags`, else 0.
int flagBit(int flags, int mask);

// One control a set action reads: the name its refusal line gives and the largest value
// its cell takes (0 is the smallest), or kAnyValue for a control taken as it is.
struct SettingControl {
    int control;
    const char* name;
    int max;
};
inline constexpr int kAnyValue = -1;
inline constexpr size_t kMostSettingControls = 9;  // the qv panel's

// A read button: dims the panel in front and reads the block with its checksum; `show`
// fills the controls from it and says whether the panel now counts as read; after the
// pause the panel is undimmed. On a failed read the message panel is cleared, says why
// and comes to the front, the panel is undimmed, and nothing is decoded.
void runDisplayRead(bool (*show)());

// A set button. On a panel whose values were not read, it asks whether to write the
// defaults (No ends the action with nothing changed); then it clears the messages and reads
// the controls, in table order: a control that cannot be read, or a value that has no
// place in its cell, never reaches the block: one line per such control says so before any
// serial traffic. Then the block is read by `recipe` (a failed read is reported, and the
// panel in front hidden); `edit` puts the values into the text in ioBuffer; the text is
// finished, kept in the history as `action` and written with a re-read: donePanel, or the
// line naming bytes that came back different; a refusal adds the acknowledgement line,
// shows the message panel and hides the panel in front.
void runSetAction(std::span<const SettingControl> controls, const BlockReadRecipe& recipe,
                  const char* action, void (*edit)(const int* values));
