// The settings block decoded field by field, in words the operator knows from the panels,
// for the history page and the restore question.
#pragma once

#include <span>
#include <string>
#include <vector>

struct BlockFieldView {
    const char* name;
    bool clock;  // the running clock (bytes 11 to 17) and its set flag: never restored
    std::string (*show)(const char* text);
};

// Every byte of the block, once, in block order; byte 42 bit by bit.
std::span<const BlockFieldView> blockFieldViews();

// "setting byte 7: 0 → 123" for each field that `after` shows otherwise than `before`.
std::vector<std::string> changedFields(const char* before, const char* after);
