// Fuzzes the settings history's line parse: any bytes must be refused or taken as an entry
// whose every field is plain text and whose block has its form and, when a checksum was
// kept, matches it; an entry taken is written back by the line format as a line that
// parses to the same entry.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "history/history_lines.h"
#include "toolkit/platform/visible_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    HistoryEntry entry;
    entry.line = 7;
    if (!parseHistoryLine(line, entry)) {
        FUZZ_CHECK(entry.line == 7 && entry.text.empty());
        return 0;
    }
    FUZZ_CHECK(entry.line == 7);
    for (const std::string* field :
         {&entry.time, &entry.action, &entry.stage, &entry.serialNumber, &entry.port})
        FUZZ_CHECK(!field->empty() && IsPlainText(*field));
    FUZZ_CHECK(blockTextSound(entry));
    FUZZ_CHECK(entry.checksum.empty() || entry.checksum.size() == 2);

    std::string again = formatHistoryLine(entry.time, entry.action, entry.stage, entry.serialNumber,
                                          entry.port, entry.text.c_str());
    FUZZ_CHECK(!again.empty() && again.back() == '\n');
    again.pop_back();
    HistoryEntry reread;
    FUZZ_CHECK(parseHistoryLine(again, reread));
    FUZZ_CHECK(reread.time == entry.time && reread.action == entry.action &&
               reread.serialNumber == entry.serialNumber && reread.text == entry.text);
    FUZZ_CHECK(entry.checksum.empty() || reread.checksum.size() == 2);
    return 0;
}
