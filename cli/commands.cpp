#include "cli/commands.h"

#include "cli/date_commands.h"
#include "cli/history_command.h"
#include "cli/live_command.h"
#include "cli/ports_command.h"
#include "cli/report_command.h"
#include "cli/settings_commands.h"
#include "cli/settings_file_commands.h"
#include "cli/summary_command.h"

namespace {

// clang-format off
const Command kCommands[] = {
    {"ports",    runPorts,    0,                                        0, 0,  ""},
    {"identify", runIdentify, 0,                                        0, 0,  ""},
    {"settings", runSettings, kJsonOption | kSaveOption,                0, 0,  ""},
    {"set",      runSet,      kDryRunOption | kYesOption,               1, -1, "FIELD=VALUE..."},
    {"clock",    runClock,    kSetOption | kYesOption,                  0, 0,  ""},
    {"start",    runStart,    kSetOption | kOffOption | kYesOption,     0, 0,  ""},
    {"live",     runLive,     kSecondsOption | kRawOption | kCsvOption | kNoReconnectOption | kReconnectForOption | kRotateOption, 0, 0,  ""},
    {"history",  runHistory,  kDryRunOption | kYesOption,               0, 2,
     "list, show N or restore N"},
    {"apply",    runApply,    kDryRunOption | kYesOption,               1, 1,  "one FILE"},
    {"summary",  runSummary,  kJsonOption | kFromOption | kToOption | kLengthOption, 1, 1,
     "one FILE"},
    {"report",   runReport,   kSinceOption | kOutOption,                0, 0,  ""},
};
// clang-format on

}  // namespace

std::span<const Command> commands() {
    return kCommands;
}
