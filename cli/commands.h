// The command line's one table: each command's name, the function that runs it, the
// options it takes and how many arguments. The commands never see the table.
#pragma once

#include <span>

struct Invocation;

// The options a command may take besides --port, --quiet, --help and --version.
enum CommandOption : unsigned {
    kJsonOption = 1u << 0,
    kDryRunOption = 1u << 1,
    kYesOption = 1u << 2,
    kSetOption = 1u << 3,
    kOffOption = 1u << 4,
    kSecondsOption = 1u << 5,
    kRawOption = 1u << 6,
    kCsvOption = 1u << 7,
    kSaveOption = 1u << 8,
    kFromOption = 1u << 9,
    kToOption = 1u << 10,
    kLengthOption = 1u << 11,
    kSinceOption = 1u << 12,
    kOutOption = 1u << 13,
    kNoReconnectOption = 1u << 14,
    kReconnectForOption = 1u << 15,
    kRotateOption = 1u << 16,
};

struct Command {
    const char* name;
    int (*run)(const Invocation& invocation);
    unsigned options;  // CommandOption bits
    int leastArguments;
    int mostArguments;      // -1: any number
    const char* arguments;  // what they are, as the help names them ("FIELD=VALUE...")
};

std::span<const Command> commands();
