// The settings block decoded field by field, in words the operator knows from the panels:
// for the History page, the restore question, and the command line, which shows every
// field by these names and sets the fields the kx and qv panels write by them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// How a field's shown value reads: a number ("123", "2.5"), a flag ("on" or "off"), or text.
enum class FieldKind { Number, Flag, Text };

// Where a field that is set by name goes: a whole byte from 0 to `max`, or, with a `mask`,
// one bit of the byte. A byte of -1: the field is not set by name.
struct FieldSetting {
    int byte = -1;
    int mask = 0;
    int max = 0;
};

struct BlockFieldView {
    const char* name;
    FieldKind kind;
    bool clock;  // the running clock (bytes 11 to 17) and its set flag: never restored
    std::string (*show)(const char* text);
    FieldSetting setting;
    bool settable() const { return setting.byte >= 0; }
};

// Every byte of the block, once, in block order; byte 42 bit by bit.
std::span<const BlockFieldView> blockFieldViews();

// "setting byte 7: 0 → 123" for each field that `after` shows otherwise than `before`.
std::vector<std::string> changedFields(const char* before, const char* after);

// A name as every reader of names compares it: lower case, with '_' and '-' taken for a
// blank ("RS232_data-Flag" reads "rs232 data flag").
std::string fieldNameKey(std::string_view name);
// The field of that name, read by fieldNameKey ("rs232_data_flag" is "RS232 data flag");
// nullptr when there is none.
const BlockFieldView* findBlockField(std::string_view name);
// The value `text` gives a settable field: a decimal number within its range, or for a
// flag on/off (1/0, yes/no, true/false); nothing when it gives none.
std::optional<int> parseFieldValue(const BlockFieldView& field, std::string_view text);
// Writes a settable field's value into the block text; the other bits of a flag's byte
// and every other character stay.
void putFieldValue(char* text, const BlockFieldView& field, int value);
// "0 to 255", "0 to 15", "on or off".
std::string fieldValueRange(const BlockFieldView& field);
