#include "history/restore.h"

#include "link/block_fields.h"
#include "link/parameter_block.h"

namespace {

bool isClockByte(int index) {
    return index >= kClockSecondsByte && index <= kClockYearByte;
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
    RestorePlan plan;
    plan.text.assign(now, kBlockTextLength);
    putEntryBytes(plan.text.data(), entry.text);
    plan.changes = changedFields(now, plan.text.c_str());
    return plan;
}
