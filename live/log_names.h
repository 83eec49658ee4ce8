// The names the data log proposes: one built from the instrument's serial number and the
// local date and time of the choice, and the CSV file that goes beside a log.
#pragma once

#include <string>

// "QV-0000012345_2026-12-08_1405.log": characters other than letters, digits, '-' and '_'
// become '_'; with no serial number known the name starts with "quorvel".
std::string proposedLogName(const char* serialNumber, double wallTime);
// The log's path with its extension replaced by ".csv" (or ".csv" added).
std::string csvPathBeside(const std::string& logPath);
// A path in `directory` (empty: the current one) with the proposed name that names no
// file yet: "_2", "_3", ... go before the extension when runs start within one minute.
std::string freshLogPath(const std::string& directory, const char* serialNumber, double wallTime);
// The directory part of a path, without its last separator; empty for a bare name.
std::string directoryOf(const std::string& path);
