// The date and time fields of the settings block: two decimal digits in a byte's two hex
// positions, shown on a panel control with a fixed offset (stored + offset = shown).
//
// Shared by the clock and the scheduled-start panels. A stored value must lie in 0 to 99
// to fit its two-digit cell; nothing here writes a value that does not. A message line is
// formatted in ioBuffer, so decode before any line is added and write nothing after one.
#pragma once

#include <span>

#include "link/date_bytes.h"

// One field: the control that shows it, its byte in the block, the shown offset and the
// name the operator reads in a message line.
struct BcdField {
    int control;
    int byte;
    int offset;
    const char* name;
};

// Decodes each field from the block text that starts at ioBuffer + `textOffset` into
// `stored`, in table order.
void decodeBcdFields(std::span<const BcdField> fields, int textOffset, std::span<int> stored);

// Sets each control on `panel` to its stored value plus offset, in table order. A value
// the control refuses (outside its range) leaves the control as it was and adds a line
// naming the field. Returns the number of fields refused.
int showBcdFields(int panel, std::span<const BcdField> fields, std::span<const int> stored);

// Reads the controls in table order into `stored` (shown value minus offset). A control
// that cannot be read, or a value that does not fit its cell, adds a line naming the
// field and its range. Returns true when every value fits.
bool readBcdControls(int panel, std::span<const BcdField> fields, std::span<int> stored);

// Sets each control on `panel` to what its byte would keep for `time` plus its offset, in
// table order (this computer's time on the clock or start panel).
void showTimeInFields(int panel, std::span<const BcdField> fields, const CalendarTime& time);

// Writes every stored value into its byte's cell of the block text in ioBuffer.
void putBcdFields(std::span<const BcdField> fields, std::span<const int> stored);
