#include "cli/date_commands.h"

#include <initializer_list>

#include "cli/invocation.h"
#include "cli/output.h"
#include "history/visit_notes.h"
#include "link/block_fields.h"
#include "link/date_bytes.h"
#include "toolkit/platform/calendar.h"

namespace {

// The instrument keeps years 2000 to 2099 (two decimal digits).
bool inInstrumentYears(const CalendarTime& time) {
    return time.year >= 2000 && time.year <= 2099;
}

// Connects, reads the block by `recipe`, and puts `time` into it with `put` (the clock's
// bytes or the start's) and `flag` set in byte 42.
int readAndPutTime(const Invocation& invocation, const BlockReadRecipe& recipe,
                   bool (*put)(char* text, const CalendarTime& time), const CalendarTime& time,
                   int flag, BlockRead& read) {
    if (const int status = connectAndRead(invocation.port, recipe, read); status != kExitDone)
        return status;
    put(ioBuffer, time);
    putBlockCell(ioBuffer, kFlagByte, getBlockByte(kFlagByte) | flag);
    return kExitDone;
}

// Connects, reads the block by `recipe` and prints "<label>: " and the named fields as the
// History page shows them, joined by commas.
int showFields(const Invocation& invocation, const BlockReadRecipe& recipe, const char* label,
               std::initializer_list<const char*> names) {
    BlockRead read;
    if (const int status = connectAndRead(invocation.port, recipe, read); status != kExitDone)
        return status;
    std::string line = std::string(label) + ": ";
    for (const char* name : names)
        line += (name == *names.begin() ? "" : ", ") + findBlockField(name)->show(read.text);
    printResult(line);
    return kExitDone;
}

int setClock(const Invocation& invocation) {
    const std::string& given = *invocation.set;
    std::optional<CalendarTime> time =
        given == "now" ? std::optional(ComputerLocalTime()) : ParseDateTime(given, true);
    if (!time)
        return usageError(
            "\"" + given +
            "\" is no time: give now or \"YYYY-MM-DD HH:MM:SS\" of a day that exists");
    if (!inInstrumentYears(*time))
        return usageError("the instrument's clock keeps the years 2000 to 2099, not " +
                          std::to_string(time->year));
    BlockRead read;
    if (const int status =
            readAndPutTime(invocation, kClockWriteRead, putClockBytes, *time, kClockSetFlag, read);
        status != kExitDone)
        return status;
    printResult("clock: " + FormatDateTime(*time));
    finishBlockText();
    const std::string sent(ioBuffer, kBlockTextLength);
    const int status =
        writeFinishedBlock("quorvel clock", read, Reread::Immediately, {invocation.yes});
    if (status == kExitDone)
        noteClockSet(read.text, sent.c_str());
    return status;
}

// The clock as read, and a note of it for the visit's report.
int showClock(const Invocation& invocation) {
    BlockRead read;
    if (const int status = connectAndRead(invocation.port, kClockDisplayRead, read);
        status != kExitDone)
        return status;
    printResult("clock: " + findBlockField("clock")->show(read.text));
    noteClockRead(read.text);
    return kExitDone;
}

// Writes the text in ioBuffer, edited from `read`, unless it holds what the instrument does.
int writeStart(const Invocation& invocation, const BlockRead& read) {
    const std::vector<std::string> changed = changedFields(read.text, ioBuffer);
    if (changed.empty()) {
        printResult("the instrument holds this already; nothing written");
        return kExitDone;
    }
    for (const std::string& line : changed) printResult(line);
    finishBlockText();
    return writeFinishedBlock("quorvel start", read, Reread::AfterStepDelay, {invocation.yes});
}

int setStart(const Invocation& invocation) {
    const std::string& given = *invocation.set;
    const std::optional<CalendarTime> start = ParseDateTime(given, false);
    if (!start)
        return usageError("\"" + given +
                          "\" is no time: give \"YYYY-MM-DD HH:MM\" of a day that exists");
    if (!inInstrumentYears(*start))
        return usageError("the instrument keeps a start in the years 2000 to 2099, not " +
                          std::to_string(start->year));
    const CalendarTime now = ComputerLocalTime();
    if (MinutesSince2000(*start) < MinutesSince2000(now) &&
        !confirmed("The start time " + FormatDateMinute(*start) +
                       " lies in the past of this computer's clock (now " + FormatDateMinute(now) +
                       "). Write it anyway?",
                   invocation.yes))
        return kExitRefused;
    BlockRead read;
    if (const int status = readAndPutTime(invocation, kStartWriteRead, putStartBytes, *start,
                                          kScheduledStartFlag, read);
        status != kExitDone)
        return status;
    return writeStart(invocation, read);
}

int switchStartOff(const Invocation& invocation) {
    BlockRead read;
    if (const int status = connectAndRead(invocation.port, kStartWriteRead, read);
        status != kExitDone)
        return status;
    putBlockCell(ioBuffer, kFlagByte, getBlockByte(kFlagByte) & ~kScheduledStartFlag);
    return writeStart(invocation, read);
}

}  // namespace

int runClock(const Invocation& invocation) {
    return invocation.set ? setClock(invocation) : showClock(invocation);
}

int runStart(const Invocation& invocation) {
    if (invocation.set && invocation.off)
        return usageError("start takes --set or --off, not both");
    if (invocation.off)
        return switchStartOff(invocation);
    return invocation.set ? setStart(invocation)
                          : showFields(invocation, kStartDisplayRead, "scheduled start",
                                       {"scheduled start", "scheduled start flag"});
}
