// Fuzzes the settings file's parse: any bytes must be refused with a line and a reason, or
// taken as a file whose block has its form, fits what the instrument takes and whose header
// is plain text; a file taken is written again by the file format as a text that parses
// to the same settings.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "history/history_lines.h"
#include "history/settings_file.h"
#include "toolkit/platform/visible_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const SettingsFileRead read = parseSettingsFile(content);
    if (!read.ok) {
        // A refusal names its line, but for a file refused whole for its encoding.
        const bool whole = read.line == 0 && read.reason.starts_with("it is encoded as ");
        FUZZ_CHECK((read.line >= 1 || whole) && !read.reason.empty() && IsPlainText(read.reason));
        return 0;
    }
    const SettingsFile& file = read.file;
    FUZZ_CHECK(isBlockText(file.text));
    for (const std::string* field :
         {&file.tool, &file.saved, &file.serialNumber, &file.port, &file.from})
        FUZZ_CHECK(field->empty() || IsPlainText(*field));
    const SettingsFileRead again = parseSettingsFile(formatSettingsFile(file));
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.file.text == file.text && again.file.serialNumber == file.serialNumber &&
               again.file.saved == file.saved);
    return 0;
}
