// What the kx and qv settings panels share: the dimmed block read of their read buttons,
// the range check of their set buttons, and how a set action ends.
#pragma once

#include "link/parameter_block.h"

// 1 when `mask` is set in `flags`, else 0.
int flagBit(int flags, int mask);

// A value that has no place in its cell never reaches the block: one line says so.
bool acceptSetting(const char* name, int value, int max);

// Dims the panel in front, pauses, reads the block with its checksum and pauses again.
// On a failed read the message panel is cleared, says why and comes to the front, the
// panel is undimmed and false is returned; the caller then decodes nothing.
bool readBlockForDisplay();

// Reads the block for a set action (after the settle pause). On a failed read the line
// is added, the message panel shown and the panel in front hidden; returns false.
bool readBlockForSet(double pauseAfterFlush);

// Finishes the text, writes it with a re-read, and shows donePanel; a refusal adds the
// acknowledgement line, shows the message panel and hides the panel in front.
void writeSettingsBlock();
