// What the kx and qv settings panels share: reading their controls against the ranges
// of their cells, the dimmed block read of their read buttons, the block read of their
// set buttons, and how a set action ends.
#pragma once

#include <span>

#include "link/block_read.h"
#include "link/parameter_block.h"

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

// Reads the controls of the panel in front, in table order, into `values`. A control that
// cannot be read, or a value that has no place in its cell, never reaches the block: one
// line per such control says so, and false is returned.
bool readSettingControls(std::span<const SettingControl> controls, std::span<int> values);

// Dims the panel in front and reads the block with its checksum. On a failed read the
// message panel is cleared, says why and comes to the front, the panel is undimmed and
// false is returned; the caller then decodes nothing.
bool readBlockForDisplay();

// Marks the panel in front as filled by a read.
void noteDisplayRead();

// The start of a set action: on a panel whose values were not read, asks whether to write
// the defaults (No ends the action with nothing changed); then clears the messages, reads
// the controls (a refusal is shown before any serial traffic, so the operator can correct
// the panel) and then the block by `recipe` into `read`. False when the action ends there.
bool readControlsAndBlockForSet(std::span<const SettingControl> controls, std::span<int> values,
                                const BlockReadRecipe& recipe, BlockRead& read);

// Reads the block for a set action. On a failed read the line is added, the message
// panel shown and the panel in front hidden; returns false.
bool readBlockForSet(const BlockReadRecipe& recipe, BlockRead& read);

// Finishes the text, keeps the history of `action` (the block as `read`), writes it with a
// re-read, and shows donePanel, or the line naming bytes that came back different; a refusal
// adds the acknowledgement line, shows the message panel and hides the panel in front.
void writeSettingsBlock(const char* action, const BlockRead& read);
