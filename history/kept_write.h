// The write of a block with its history: every write, from the window or the command
// line, goes through here, so the text read before it and the text the instrument took are
// always kept.
//
// Keep before overwrite: when the block about to be replaced cannot be kept, the caller's
// question decides, with the reason, before anything is sent; No sends nothing. A text
// that the write rule refuses (link/write_rule.h) is neither kept nor asked about.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "history/history.h"
#include "link/parameter_block.h"
#include "link/write_rule.h"

struct KeptWrite {
    WriteResult result = WriteResult::RefusedAtW;
    Reread reread = Reread::None;
    bool declined = false;            // NotSent because the question was answered No
    std::optional<WriteFault> fault;  // NotSent because the text breaks the write rule
    AckFrame ack;
    ReadBack readBack;
    KeepResult before{true, {}};  // the block read before the write
    // The block the instrument took: tried once it was taken and its before was kept, so
    // the history never holds an after without its before.
    KeepResult after{true, {}};
};

// Answers whether to write although the block being replaced cannot be kept (`reason`).
using UnkeptWriteQuestion = std::function<bool(const std::string& reason)>;

// Keeps `readText` (the block as read for this action), writes the finished text in
// ioBuffer with `reread`, and keeps the text sent once the instrument has taken it.
KeptWrite writeKept(const char* action, const char* readText, Reread reread,
                    const UnkeptWriteQuestion& goAhead);
