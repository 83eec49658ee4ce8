#include "settings/date_exchange.h"

#include <string>

#include "feedback/block_write.h"
#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "history/visit_notes.h"
#include "settings/panel_origin.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/calendar.h"

namespace {

// The date shown on the panel (stored values plus their offsets).
CalendarTime shownDate(const DateWrite& write, std::span<const int> stored) {
    auto shown = [&](int index) { return stored[index] + write.fields[index].offset; };
    CalendarTime time;
    time.year = shown(write.date.year);
    time.month = shown(write.date.month);
    time.day = shown(write.date.day);
    time.hour = shown(write.date.hour);
    time.minute = shown(write.date.minute);
    return time;
}

// A month outside 1 to 12, or a day the month does not have, adds its line.
bool dateExists(const DateWrite& write, const CalendarTime& date) {
    if (DaysInMonth(date.year, date.month) == 0) {
        addMessageLine("%s %d does not exist; nothing written", write.fields[write.date.month].name,
                       date.month);
        return false;
    }
    if (date.day < 1 || date.day > DaysInMonth(date.year, date.month)) {
        addMessageLine("%s %d does not exist in %s %d; nothing written",
                       write.fields[write.date.day].name, date.day, MonthName(date.month),
                       date.year);
        return false;
    }
    return true;
}

bool pastStartConfirmed(const CalendarTime& start) {
    const CalendarTime now = ComputerLocalTime();
    if (MinutesSince2000(start) >= MinutesSince2000(now))
        return true;
    const std::string question = "The start time " + FormatDateMinute(start) +
                                 " lies in the past of this computer's clock (now " +
                                 FormatDateMinute(now) + ").\nWrite it anyway?";
    return ConfirmPopup("Start time in the past", question) == 1;
}

}  // namespace

bool readDateFields(const BlockReadRecipe& recipe, MessageBox onFailure,
                    std::span<const BcdField> fields, std::span<int> stored) {
    const BlockRead read = readBlock(recipe);
    if (!read.ok) {
        reportBlockReadFailure(read, onFailure);
        return false;
    }
    decodeBcdFields(fields, read.textOffset, stored);
    return true;
}

void writeDateFields(const DateWrite& write) {
    if (!writeOfDefaultsConfirmed(currentPanel, Origin::ReadOrEntered))
        return;
    clearMessages();
    int stored[kMostDateFields];
    if (!readBcdControls(currentPanel, write.fields, stored) ||
        !dateExists(write, shownDate(write, stored))) {
        showMessages();
        return;
    }
    if (write.asksWhenPast && !pastStartConfirmed(shownDate(write, stored)))
        return;

    const BlockRead read = readBlock(write.recipe);
    if (!read.ok) {
        reportBlockReadFailure(read, MessageBox::Kept);
        return;
    }
    putBcdFields(write.fields, stored);
    putBlockCell(ioBuffer, kFlagByte, getBlockByte(kFlagByte) | write.flag);
    finishBlockText();

    // What went out, before the write's re-read replaces it in ioBuffer.
    const std::string sent(ioBuffer, kBlockTextLength);
    const KeptWrite kept = writeBlockKept(write.action, read.text, write.reread);
    if (kept.result == WriteResult::NotSent)
        return;
    if (kept.result != WriteResult::Written) {
        if (write.clearsOnRefusal)
            clearMessages();
        addAckLine(kept.ack.text, kept.ack.status);
        showMessages();
        return;
    }
    reportKeptWrite(kept);
    if (write.flag == kClockSetFlag)
        noteClockSet(read.text, sent.c_str());
}

void showDateFields(std::span<const BcdField> fields, std::span<const int> stored) {
    if (showBcdFields(currentPanel, fields, stored) > 0)
        showMessages();
    else
        noteValuesRead(currentPanel);
}

void enterTimeInFields(std::span<const BcdField> fields, const CalendarTime& time) {
    showTimeInFields(currentPanel, fields, time);
    noteValuesEntered(currentPanel);
}
