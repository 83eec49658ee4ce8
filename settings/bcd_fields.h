// The date and time fields of the settings block: two decimal digits in a byte's two hex
// positions, shown on a panel control with a fixed offset (stored + offset = shown).
//
// Shared by the clock and the scheduled-start panels. A stored value must lie in 0 to 99
// to fit its two-digit cell; nothing here writes a value that does not. A message line is
// formatted in ioBuffer, so decode before any line is added and write nothing after one.
#pragma once

#include <span>

inline constexpr int kBcdCellMin = 0;
inline constexpr int kBcdCellMax = 99;

// One field: the control that shows it, its byte in the block, the shown offset and the
// name the operator reads in a message line.
struct BcdField {
    int control;
    int byte;
    int offset;
    const char* name;
};

bool fitsBcdCell(int value);

// The pair at `text` as a decimal number, taken from its leading decimal digits only:
// "45" is 45, "4A" is 4, "A4" is 0. Reads exactly two characters.
int bcdPairValue(const char* text);

// Writes `value` (0 to 99) as two decimal digits and a comma at `position` of ioBuffer
// ("0%1d," below 10, "%2d," above). Returns false, writing nothing, for a value that does
// not fit.
bool putBcdPair(int position, int value);

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

// Writes every stored value into its byte's cell of the block text in ioBuffer.
void putBcdFields(std::span<const BcdField> fields, std::span<const int> stored);
