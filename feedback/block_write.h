// How the window's actions write a block: through the settings history (history/
// kept_write.h), the operator asked when the block being replaced cannot be kept, and what
// went wrong on the way reported in the message panel.
#pragma once

#include "history/kept_write.h"

// Writes the finished text in ioBuffer with `reread`, keeping `readText` before and the
// text sent after. A text that breaks the write rule stops it with its line; a block that
// cannot be kept asks the operator first; an after that cannot be kept adds
// "settings history not saved: <reason>". NotSent means nothing went to the instrument.
KeptWrite writeBlockKept(const char* action, const char* readText, Reread reread);

// How a settings write that reads back ends when the instrument took the text: donePanel,
// as after every 'D', unless the block came back different; and when the read-back did not
// confirm the write, the verdict's line (history/write_verdict.h) with the message panel.
void reportKeptWrite(const KeptWrite& write);
