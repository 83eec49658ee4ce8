// What every command that talks to the instrument shares: the port it names, opening it
// and the identify exchange that comes before any other (as Connect does in the window),
// a block read whose failure is told in words, and the write through the settings
// history with its read-back compared. Each prints what went wrong and gives the exit
// status to end with.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/block_read.h"
#include "link/parameter_block.h"

struct AckFrame;
struct Invocation;

// The port a command names: COM1 to COM4 by number, or a device by its path.
struct PortChoice {
    int number = 1;
    std::string device;  // the path, when one was given instead of a number
};
// "COM1" to "COM4" (any case) or a device path; nothing for an empty text.
std::optional<PortChoice> parsePortChoice(const std::string& text);
// "COM1 (/dev/ttyS0)", or the path.
std::string portDescription(const PortChoice& port);

// A failed serial call: "quorvel: <what>: error code = -11", then what the code means.
void printErrorCode(const std::string& what, int status);
// An acknowledgement that lacked its letter: "<what><answered> <X>OK"; "<what>: nothing
// came back" when nothing did; printErrorCode when its read failed.
void printAck(const std::string& what, const std::string& answered, const AckFrame& ack);

// Opens the port and identifies the instrument. Returns kExitDone, or (having said why)
// kExitPortNotOpen or kExitRefused.
int connectInstrument(const PortChoice& port);

// Why a block read failed, in words; `consequence` ("nothing written") ends the line of
// a block that came short or damaged.
void sayBlockReadFailure(const BlockRead& read, const std::string& consequence);
// Reads the block by `recipe`; on a failure says why and returns false.
bool readBlockOrSay(const BlockReadRecipe& recipe, BlockRead& read);
// connectInstrument, then readBlockOrSay: kExitDone with the block in `read`, or (having
// said why) the status to end with.
int connectAndRead(const PortChoice& port, const BlockReadRecipe& recipe, BlockRead& read);

// How a write is allowed to go on when the block being replaced cannot be kept.
struct WriteConsent {
    bool yes = false;  // --yes: write anyway, without asking
};
// Writes the finished text in ioBuffer through the settings history (keeping `read` before
// it and the text sent after), with `reread`, and compares the block read back. Says what
// came of it; returns kExitDone when the instrument holds what was sent.
int writeFinishedBlock(const char* action, const BlockRead& read, Reread reread,
                       const WriteConsent& consent);

// A question with a yes or no answer: true with --yes; asked on the terminal when standard
// input is one; otherwise false, after saying that --yes answers it.
bool confirmed(const std::string& question, bool yes);

// A planned write of a whole block: the question asked before it and the action the
// settings history names it by.
struct PlannedWrite {
    const char* question;
    const char* action;
};
// Lists `changes` (under the heading already printed); then, unless --dry-run, asks the
// question (--yes answers it), writes `text` (read form) in place of the block `read`,
// reads it back and compares. The exit status to end with.
int writePlannedChanges(const std::vector<std::string>& changes, const std::string& text,
                        const PlannedWrite& write, const BlockRead& read,
                        const Invocation& invocation);
