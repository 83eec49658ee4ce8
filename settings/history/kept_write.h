// The write of a block with its history: every write action goes through here, so the text
// read before it and the text the instrument took are always kept.
//
// Keep before overwrite: when the block about to be replaced cannot be kept, the operator
// is asked, with the reason, before anything is sent; No sends nothing.
#pragma once

#include "link/parameter_block.h"

struct KeptWrite {
    WriteResult result = WriteResult::RefusedAtW;
    bool declined = false;  // NotSent because the operator answered No
    AckFrame ack;
    ReadBack readBack;
    // Written, and a block read back (when there was one) showed what was sent.
    bool confirmed() const { return result == WriteResult::Written && readBack.differing == 0; }
};

// Keeps `readText` (the block as read for this action), writes the finished text in
// ioBuffer with `reread`, and keeps the text sent once the instrument has taken it. A text
// that writeBlock will not send (a date byte that is not two decimal digits) is not kept
// and not asked about. NotSent means nothing went to the instrument: the message panel
// says why, or the operator declined.
KeptWrite writeBlockKept(const char* action, const char* readText, Reread reread);

// How a settings write that reads back ends when the instrument took the text: donePanel,
// or the line naming the bytes that came back different and the message panel.
void reportKeptWrite(const KeptWrite& write);
