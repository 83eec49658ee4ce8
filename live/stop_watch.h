// After a run ends in the window: whether the instrument took the stop pair.
//
// The window does not wait for the answer. Stop, Return and the panel's close send the
// pair and return as they always have; the watch then looks at how many characters wait
// on the line, a few times a second on the toolkit's clock, from the event loop. It
// sends nothing, reads nothing and pauses nothing, so an instrument that stops sees the
// same exchange as before, and the window stays free meanwhile. Characters that keep
// coming (link/live_stop.h says how long) give one line in the message pane. Any exchange
// that takes the line in the meantime ends the watch: its own reads then speak, and a
// wake-up that meets live records says so itself.
#pragma once

// Starts the watch for a run of `runSeconds` that took `pieces` pieces of the stream; a
// watch still going from an earlier run ends.
void watchStreamEnd(double runSeconds, unsigned long pieces);
// Ends any watch (a fresh start of the tool).
void endStreamWatch();
