// How the window reports what the core's block exchanges bring: a failed read, a field
// that stopped a write, a block read back different from the one written. Each adds its
// line to the message panel through the panel's conventions (feedback/messages.h).
#pragma once

struct BlockRead;

// Whether the message box is emptied before a failure's line goes in.
enum class MessageBox { Kept, Cleared };

// The line for a failed read: the acknowledgement for a refused letter, else
// "error code = %d" or a line that says what came. Overwrites ioBuffer.
void addBlockReadFailureLine(const BlockRead& read);
// That line in the message box as `box` says, then the message panel to the front.
void reportBlockReadFailure(const BlockRead& read, MessageBox box);

// True when the block text `text` keeps the write rule against `readText`, the block as
// read for the action (link/write_rule.h); otherwise adds the line naming the first field
// that breaks it ("start month (byte 21) holds 13, not 1 to 12; nothing written") and
// brings the message panel to the front. Leaves ioBuffer alone.
bool blockWritable(const char* readText, const char* text);
