// What the clock and the scheduled-start panels share: reading their date fields out of
// the block, and the write that puts them back with the panel's flag bit set.
#pragma once

#include <span>

#include "feedback/block_reports.h"
#include "link/block_read.h"
#include "link/parameter_block.h"
#include "settings/bcd_fields.h"

inline constexpr int kMostDateFields = 7;  // the clock's seconds to year

// Reads the block by `recipe` and decodes `fields` into `stored` (table order). On a failed
// read the failure is reported in the message box as `onFailure` says and false is
// returned; nothing is decoded.
bool readDateFields(const BlockReadRecipe& recipe, MessageBox onFailure,
                    std::span<const BcdField> fields, std::span<int> stored);

// Where the date and time stand in a panel's field table.
struct DateFieldIndex {
    int day;
    int month;
    int year;
    int hour;
    int minute;
};

// Shows the decoded fields on the panel in front. A value the panel cannot hold brings
// the messages (which say so) to the front; otherwise the panel counts as read.
void showDateFields(std::span<const BcdField> fields, std::span<const int> stored);

// "Use computer time", "Now + 1 hour": `time` into the panel's fields, as the operator's
// entry; nothing is written.
void enterTimeInFields(std::span<const BcdField> fields, const CalendarTime& time);

// How one of the two panels writes its fields.
struct DateWrite {
    const BlockReadRecipe& recipe;  // the block read that comes first
    std::span<const BcdField> fields;
    DateFieldIndex date;
    int flag;              // the flag bit of byte 42 the write sets
    Reread reread;         // the clock reads the block back; the start does not
    bool clearsOnRefusal;  // the clock's refusal replaces the lines; the start's goes below
    bool asksWhenPast;     // a time before this computer's clock is written only on a Yes
    const char* action;    // the write's name in the settings history
};

// Asks before writing a panel's defaults (neither read nor entered); clears the messages;
// reads the panel's fields and refuses, before any serial traffic, a value that does not
// fit its cell or a day the month does not have; asks about a start in the past; then reads
// the block, puts the fields and the flag bit into the text, keeps the history and writes
// it: donePanel on success, the acknowledgement line on a refusal.
void writeDateFields(const DateWrite& write);
