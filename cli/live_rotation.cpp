#include "cli/live_rotation.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "cli/invocation.h"
#include "toolkit/platform/calendar.h"
#include "toolkit/platform/file_system.h"

namespace {

// A name that leads to anything, a link to nothing included (writing it would create its
// target), is somebody's.
bool nameTaken(const std::string& path) {
    std::error_code error;
    return GetPathKind(path.c_str()) != PathKind::Absent ||
           std::filesystem::is_symlink(std::filesystem::symlink_status(path, error));
}

bool isStandardOutputName(const std::string& path) {
    return path.empty() || path == "-";
}

}  // namespace

std::optional<LiveRotation> parseLiveRotation(const std::string& text) {
    if (text == "hourly")
        return LiveRotation::Hourly;
    if (text == "daily")
        return LiveRotation::Daily;
    return std::nullopt;
}

std::optional<std::string> rotationProblem(const Invocation& invocation) {
    if (invocation.rotate == LiveRotation::None)
        return std::nullopt;
    if (!invocation.csv && !invocation.raw)
        return "--rotate needs --csv FILE or --raw FILE: it starts new files, and standard "
               "output cannot be rotated";
    for (const auto& [option, path] :
         {std::pair{"--csv", invocation.csv}, {"--raw", invocation.raw}})
        if (path && isStandardOutputName(*path))
            return std::string(option) + " " + *path +
                   " is standard output, a stream that cannot be rotated: give " + option +
                   " FILE with --rotate";
    return std::nullopt;
}

const char* rotationUnitWords(LiveRotation rotation) {
    return rotation == LiveRotation::Hourly ? "hour" : "day";
}

std::string rotationPeriod(LiveRotation rotation, double wallTime) {
    const CalendarTime t = LocalCalendarTime(wallTime);
    char period[32];
    if (rotation == LiveRotation::Hourly)
        std::snprintf(period, sizeof period, "%04d-%02d-%02dT%02d", t.year, t.month, t.day, t.hour);
    else
        std::snprintf(period, sizeof period, "%04d-%02d-%02d", t.year, t.month, t.day);
    return period;
}

std::string rotatedPath(const std::string& path, const std::string& period, int copy) {
    const size_t separator = path.find_last_of("/\\");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    size_t dot = path.find_last_of('.');
    // A name's leading dot ("/var/log/.level") starts no extension.
    if (dot == std::string::npos || dot <= nameStart)
        dot = path.size();
    const std::string copyText = copy > 1 ? "_" + std::to_string(copy) : std::string();
    return path.substr(0, dot) + "-" + period + copyText + path.substr(dot);
}

std::vector<std::string> freeRotatedPaths(const std::vector<std::string>& paths,
                                          const std::string& period) {
    for (int copy = 1;; ++copy) {
        std::vector<std::string> names;
        bool free = true;
        for (const std::string& path : paths) {
            names.push_back(rotatedPath(path, period, copy));
            free = free && !nameTaken(names.back());
        }
        if (free)
            return names;
    }
}
