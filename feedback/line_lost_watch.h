// After an exchange outside a live run reports the line lost: the window watches the list of
// devices for the adapter, says in the status bar when it is back, and the next action that
// talks to the instrument first reopens the port and wakes and identifies the instrument as
// Connect does.
//
// The watch never opens the port and sends nothing: it only lists the devices, a few times a
// second on the toolkit's clock, from the event loop. While no line was lost every action
// goes straight to its own exchange, byte for byte as before; while the adapter is still
// away an action meets the lost port as before. Only the instrument that answered before
// the loss is taken back: another serial number stops the action before its exchange, and
// Connect is the way to use that one.
#pragma once

// The line of the port in use was lost at `lostWallTime` (calendar time). A watch already
// going keeps its own time.
void noteLineLost(double lostWallTime);
// Before an action's exchange: true when it may go on (no line lost, or the adapter still
// away, or the same instrument identified on the reopened port); false when the reconnect
// was reported as failed or another instrument answered, and the action must not run.
bool reconnectBeforeAction();
// Connect, or a fresh start of the tool: the watch ends.
void endLineLostWatch();
