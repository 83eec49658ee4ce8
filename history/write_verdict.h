// What came of a write, in words: one verdict that the window and the command line both
// give, so that the same reply from the instrument never reads as success in one and as a
// failure in the other.
#pragma once

#include <string>

#include "history/kept_write.h"

struct WriteVerdict {
    // The instrument took the text and, when it was read back, showed what was sent.
    bool confirmed = false;
    // One line: "written; the block read back matches", or what went wrong. Empty only
    // for a write the operator declined, whose answer says all there is.
    std::string words;
};

WriteVerdict writeVerdict(const KeptWrite& write);
