// One run of the command line as parsed: the command, its arguments and every option.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/live_rotation.h"
#include "cli/session.h"

struct Invocation {
    std::string command;
    std::vector<std::string> arguments;
    PortChoice port;
    bool json = false;
    bool dryRun = false;
    bool yes = false;
    bool off = false;
    std::optional<std::string> set;
    std::optional<double> seconds;
    std::optional<std::string> raw;
    std::optional<std::string> csv;
    std::optional<std::string> save;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<double> length;
    std::optional<std::string> since;
    std::optional<std::string> out;
    bool noReconnect = false;                  // live: a lost line ends the run
    std::optional<double> reconnectFor;        // live: seconds to wait for a lost line
    LiveRotation rotate = LiveRotation::None;  // live: new files each hour or day
};
