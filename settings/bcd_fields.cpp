#include "settings/bcd_fields.h"

#include "feedback/messages.h"
#include "link/link_state.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/calendar.h"

void decodeBcdFields(std::span<const BcdField> fields, int textOffset, std::span<int> stored) {
    for (size_t i = 0; i < fields.size(); ++i)
        stored[i] = bcdPairValue(ioBuffer + textOffset + blockTextPosition(fields[i].byte));
}

int showBcdFields(int panel, std::span<const BcdField> fields, std::span<const int> stored) {
    int refused = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const int shown = stored[i] + fields[i].offset;
        if (SetCtrlVal(panel, fields[i].control, shown) < 0) {
            ++refused;
            addMessageLine("%s %d from the instrument is outside the panel's range; not shown",
                           fields[i].name, shown);
        }
    }
    return refused;
}

bool readBcdControls(int panel, std::span<const BcdField> fields, std::span<int> stored) {
    bool allFit = true;
    for (size_t i = 0; i < fields.size(); ++i) {
        const BcdField& field = fields[i];
        int shown = 0;
        const int status = GetCtrlVal(panel, field.control, &shown);
        stored[i] = shown - field.offset;
        if (status < 0) {
            allFit = false;
            addMessageLine("%s could not be read from the panel (error %d); nothing written",
                           field.name, status);
        } else if (!fitsBcdCell(stored[i])) {
            allFit = false;
            addMessageLine("%s must be %d to %d, not %d; nothing written", field.name,
                           kBcdCellMin + field.offset, kBcdCellMax + field.offset, shown);
        }
    }
    return allFit;
}

void putBcdFields(std::span<const BcdField> fields, std::span<const int> stored) {
    for (size_t i = 0; i < fields.size(); ++i)
        putBcdPair(ioBuffer, blockTextPosition(fields[i].byte), stored[i]);
}

void showTimeInFields(int panel, std::span<const BcdField> fields, const CalendarTime& time) {
    for (const BcdField& field : fields)
        SetCtrlVal(panel, field.control, dateByteValue(field.byte, time) + field.offset);
}
