#include "live/log_names.h"

#include <cctype>
#include <cstdio>

#include "toolkit/platform/calendar.h"
#include "toolkit/platform/files.h"

namespace {

std::string stem(const char* serialNumber, double wallTime) {
    std::string name;
    for (const char* c = serialNumber; c && *c; ++c) {
        const bool kept = std::isalnum(static_cast<unsigned char>(*c)) || *c == '-' || *c == '_';
        name += kept ? *c : '_';
    }
    if (name.empty())
        name = "quorvel";
    const CalendarTime t = LocalCalendarTime(wallTime);
    char when[64];
    std::snprintf(when, sizeof when, "_%04d-%02d-%02d_%02d%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    return name + when;
}

size_t lastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

}  // namespace

std::string proposedLogName(const char* serialNumber, double wallTime) {
    return stem(serialNumber, wallTime) + ".log";
}

std::string csvPathBeside(const std::string& logPath) {
    const size_t separator = lastSeparator(logPath);
    const size_t dot = logPath.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (separator == std::string::npos || dot > separator + 1);
    if (!hasExtension || logPath.compare(dot, std::string::npos, ".csv") == 0)
        return logPath + ".csv";
    return logPath.substr(0, dot) + ".csv";
}

std::string freshLogPath(const std::string& directory, const char* serialNumber, double wallTime) {
    const std::string base =
        (directory.empty() ? std::string() : directory + "/") + stem(serialNumber, wallTime);
    std::string path = base + ".log";
    for (int n = 2; GetFileKind(path.c_str()) != FILE_ABSENT ||
                    GetFileKind(csvPathBeside(path).c_str()) != FILE_ABSENT;
         ++n)
        path = base + "_" + std::to_string(n) + ".log";
    return path;
}

std::string directoryOf(const std::string& path) {
    const size_t separator = lastSeparator(path);
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}
