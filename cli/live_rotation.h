// A live run's files started anew at each hour or each day of this computer's clock: the
// period a moment belongs to, and the names of a period's files.
//
// A period is named by its local start, "2026-12-09T17" (an hour) or "2026-12-09" (a day),
// so the files of a run sort in time order by name. The name given on the command line
// takes the period before its extension ("run.csv" -> "run-2026-12-09T17.csv"). A name that
// is taken is never written over: "_2", "_3", ... follow the period, as the window's log
// names do, the same for the CSV and the raw log so the pair stays together.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class LiveRotation { None, Hourly, Daily };

struct Invocation;

// "hourly" or "daily"; nothing for any other text.
std::optional<LiveRotation> parseLiveRotation(const std::string& text);
// Why the live command cannot follow its --rotate: no file to start anew, or standard
// output, a stream; nothing when it can (or --rotate is not given).
std::optional<std::string> rotationProblem(const Invocation& invocation);
// "hour" or "day".
const char* rotationUnitWords(LiveRotation rotation);

// The period that `wallTime` (seconds since 1970 UTC) falls in, by local time.
std::string rotationPeriod(LiveRotation rotation, double wallTime);
// `path` with "-<period>" (and "_<copy>" from copy 2 on) before its extension.
std::string rotatedPath(const std::string& path, const std::string& period, int copy = 1);
// The names of `period`'s files for each path given: the first copy whose names are all free.
std::vector<std::string> freeRotatedPaths(const std::vector<std::string>& paths,
                                          const std::string& period);
