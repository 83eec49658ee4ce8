// "Save span as CSV…": the records of a span of a recording in a CSV of this tool's
// columns, written whole or not at all. A CSV's span is its own lines, byte for byte, under
// its own header (its times, levels and stretches exactly as the run wrote them); a raw
// log's span is numbered records: record,counts,level (and counts2,value2 with two values).
#pragma once

#include <cstddef>
#include <string>

struct Recording;

// Writes records [first, end) to `path`. Empty when written; else why not.
std::string saveSpanCsv(const Recording& recording, size_t first, size_t end,
                        const std::string& path);
