// How the window reports what the core's block exchanges bring: a failed read, a date byte
// that stopped a write, a block read back different from the one written. Each adds its
// line to the message panel through the panel's conventions (feedback/messages.h).
#pragma once

struct BlockRead;
struct ReadBack;

// Whether the message box is emptied before a failure's line goes in.
enum class MessageBox { Kept, Cleared };

// The line for a failed read: the acknowledgement for a refused letter, else
// "error code = %d" or a line that says what came. Overwrites ioBuffer.
void addBlockReadFailureLine(const BlockRead& read);
// That line in the message box as `box` says, then the message panel to the front.
void reportBlockReadFailure(const BlockRead& read, MessageBox box);

// True when every date and time byte of the block text at `text` is two decimal digits;
// otherwise adds the line naming the first that is not ("start minute (byte 18) holds FF,
// not two decimal digits; nothing written") and brings the message panel to the front.
// Leaves ioBuffer alone.
bool dateBytesWritable(const char* text);

// One line naming the bytes that came back different. Leaves ioBuffer alone.
void addReadBackDifferenceLine(const ReadBack& readBack);
