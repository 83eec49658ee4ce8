#include "cli/date_commands.h"

#include <cctype>

#include "cli/invocation.h"
#include "cli/output.h"
#include "link/block_fields.h"
#include "link/date_bytes.h"
#include "toolkit/platform/calendar.h"

namespace {

// The value of the `count` digits at `at`, or -1 when they are not all digits.
int digitsAt(const std::string& text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string shownField(const char* name, const char* text) {
    return findBlockField(name)->show(text);
}

// The instrument keeps years 2000 to 2099 (two decimal digits).
bool inInstrumentYears(const CalendarTime& time) {
    return time.year >= 2000 && time.year <= 2099;
}

int showClock(const Invocation& invocation) {
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    BlockRead read;
    if (!readBlockOrSay(kClockDisplayRead, read))
        return kExitRefused;
    printResult(shownField("clock", read.text));
    return kExitDone;
}

int setClock(const Invocation& invocation) {
    const std::string& given = *invocation.set;
    std::optional<CalendarTime> time =
        given == "now" ? std::optional(ComputerLocalTime()) : parseCalendarTime(given, true);
    if (!time)
        return usageError(
            "\"" + given +
            "\" is no time: give now or \"YYYY-MM-DD HH:MM:SS\" of a day that exists");
    if (!inInstrumentYears(*time))
        return usageError("the instrument's clock keeps the years 2000 to 2099, not " +
                          std::to_string(time->year));
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    BlockRead read;
    if (!readBlockOrSay(kClockWriteRead, read))
        return kExitRefused;
    putClockBytes(ioBuffer, *time);
    putBlockCell(ioBuffer, kFlagByte, getBlockByte(kFlagByte) | kClockSetFlag);
    printResult("clock: " + FormatDateTime(*time));
    finishBlockText();
    return writeFinishedBlock("quorvel clock", read, Reread::Immediately, {invocation.yes});
}

int showStart(const Invocation& invocation) {
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    BlockRead read;
    if (!readBlockOrSay(kStartDisplayRead, read))
        return kExitRefused;
    printResult("scheduled start: " + shownField("scheduled start", read.text) + ", " +
                shownField("scheduled start flag", read.text));
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
    const std::optional<CalendarTime> start = parseCalendarTime(given, false);
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
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    BlockRead read;
    if (!readBlockOrSay(kStartWriteRead, read))
        return kExitRefused;
    putStartBytes(ioBuffer, *start);
    putBlockCell(ioBuffer, kFlagByte, getBlockByte(kFlagByte) | kScheduledStartFlag);
    return writeStart(invocation, read);
}

int switchStartOff(const Invocation& invocation) {
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    BlockRead read;
    if (!readBlockOrSay(kStartWriteRead, read))
        return kExitRefused;
    putBlockCell(ioBuffer, kFlagByte, getBlockByte(kFlagByte) & ~kScheduledStartFlag);
    return writeStart(invocation, read);
}

}  // namespace

std::optional<CalendarTime> parseCalendarTime(const std::string& text, bool withSeconds) {
    const std::string shape = withSeconds ? "dddd-dd-dd dd:dd:dd" : "dddd-dd-dd dd:dd";
    if (text.size() != shape.size())
        return std::nullopt;
    for (size_t i = 0; i < shape.size(); ++i)
        if (shape[i] != 'd' && text[i] != shape[i])
            return std::nullopt;
    CalendarTime time;
    time.year = digitsAt(text, 0, 4);
    time.month = digitsAt(text, 5, 2);
    time.day = digitsAt(text, 8, 2);
    time.hour = digitsAt(text, 11, 2);
    time.minute = digitsAt(text, 14, 2);
    time.second = withSeconds ? digitsAt(text, 17, 2) : 0;
    const bool fits = time.year >= 0 && time.month >= 1 && time.day >= 1 &&
                      time.day <= DaysInMonth(time.year, time.month) && time.hour >= 0 &&
                      time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
                      time.second >= 0 && time.second <= 59;
    if (!fits)
        return std::nullopt;
    time.dayOfWeek = DayOfWeek(time.year, time.month, time.day);
    return time;
}

int runClock(const Invocation& invocation) {
    return invocation.set ? setClock(invocation) : showClock(invocation);
}

int runStart(const Invocation& invocation) {
    if (invocation.set && invocation.off)
        return usageError("start takes --set or --off, not both");
    if (invocation.off)
        return switchStartOff(invocation);
    return invocation.set ? setStart(invocation) : showStart(invocation);
}
