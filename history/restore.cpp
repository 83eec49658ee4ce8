#include "history/restore.h"

#include "link/block_fields.h"
#include "link/parameter_block.h"

namespace {

bool isClockByte(int index) {
    return index >= kClockSecondsByte && index <= kClockYearByte;
}

// The settable fields and the scheduled start of `source` over `text`.
void putPanelSettings(char* text, const char* source) {
    for (const BlockFieldView& field : blockFieldViews()) {
        if (!field.settable())
            continue;
        const int byte = getBlockByte(source, field.setting.byte);
        const int value = field.setting.mask == 0 ? byte : (byte & field.setting.mask) != 0;
        putFieldValue(text, field, value);
    }
    for (int i = kStartMinuteByte; i <= kStartYearByte; ++i)
        putBlockByte(text, i, getBlockByte(source, i));
}

RestorePlan planOf(const std::string& source, const char* now, ApplyScope scope) {
    RestorePlan plan;
    plan.scope = scope;
    plan.text.assign(now, kBlockTextLength);
    if (scope == ApplyScope::EverythingButTheClock)
        putEntryBytes(plan.text.data(), source);
    else
        putPanelSettings(plan.text.data(), source.c_str());
    plan.changes = changedFields(now, plan.text.c_str());
    return plan;
}

}  // namespace

void putEntryBytes(char* text, const std::string& entryText) {
    for (int i = 0; i < kBlockBytes; ++i) {
        if (isClockByte(i))
            continue;
        int value = getBlockByte(entryText.c_str(), i);
        if (i == kFlagByte)
            value = (value & ~kClockSetFlag) | (getBlockByte(text, i) & kClockSetFlag);
        putBlockByte(text, i, value);
    }
}

RestorePlan planRestore(const HistoryEntry& entry, const char* now) {
    return planOf(entry.text, now, ApplyScope::EverythingButTheClock);
}

RestorePlan planPutBack(const std::string& source, const std::string& sourceSerial, const char* now,
                        const std::string& serialNumber) {
    const bool same = !serialNumber.empty() && sourceSerial == serialNumber;
    return planOf(source, now,
                  same ? ApplyScope::EverythingButTheClock : ApplyScope::PanelSettings);
}
