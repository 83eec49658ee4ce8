// The write of a block with its history: every write action goes through here, so the text
// read before it and the text the instrument took are always kept.
#pragma once

#include "link/parameter_block.h"

struct KeptWrite {
    WriteResult result = WriteResult::RefusedAtW;
    AckFrame ack;
    ReadBack readBack;
    // Written, and a block read back (when there was one) showed what was sent.
    bool confirmed() const { return result == WriteResult::Written && readBack.differing == 0; }
};

// Keeps `readText` (the block as read for this action), writes the finished text in
// ioBuffer with `reread`, and keeps the text sent once the instrument has taken it.
KeptWrite writeBlockKept(const char* action, const char* readText, Reread reread);

// How a settings write that reads back ends when the instrument took the text: donePanel,
// or the line naming the bytes that came back different and the message panel.
void reportKeptWrite(const KeptWrite& write);
