// The reading side of a live run, shared by the window's live panel and the command line:
// the record form and gauge length fixed at the start, each record taken off the line and
// judged, and at the end the records already received taken without waiting, so that a
// stop, which lands between two reads, loses none that came meanwhile.
//
// Every take also leaves the characters it took off the line (takenCharacters): one after
// another they are the stream as it came, which is what a raw log keeps.
#pragma once

#include <functional>
#include <string_view>

#include "link/live_record.h"
#include "link/record_stream.h"

struct LiveRun {
    RecordReader reader;
    int recordLength = kOneValueRecordLength;
    float fullScale = 0;  // the gauge length: byte 24 in tenths
};
// The run a start with `settings` reads: its record length and full scale.
LiveRun liveRunFor(const StreamSettings& settings);

enum class LiveTake {
    Reading,      // a whole record whose values are a reading
    NotAReading,  // a whole record whose values are not a reading (kept in a raw log only)
    Missed,       // the read ended at the time-out without a whole record (what came of it,
                  // if anything, is kept in a raw log only)
    OutOfStep,    // a character was lost: skipped, the stream taken up at the next line end
    LineLost,     // the line reported an error; its status is in comStatus
};

// Takes the next record off the line into `buffer` (room for the record's length and a
// terminator); for a Reading, its values go to `record`.
LiveTake takeLiveRecord(LiveRun& run, char* buffer, LiveRecord& record);

// The characters the latest take took off the line, as they came.
inline std::string_view takenCharacters(const LiveRun& run) {
    return {run.reader.piece, static_cast<size_t>(run.reader.pieceLength)};
}

// Takes every record received whole by the time it begins, never waiting for the line,
// and hands each (a Reading, NotAReading or OutOfStep, its characters in `buffer`) to
// `each`. Characters that come meanwhile wait for the next take.
using LiveRecordHandler = std::function<void(LiveTake taken, const LiveRecord& record)>;
void takeLiveRecordsReceived(LiveRun& run, char* buffer, const LiveRecordHandler& each);
// Once the stream has ended, the characters received of a record that never came whole,
// handed to `each` as OutOfStep when there are any.
void takeLiveRemainder(LiveRun& run, const LiveRecordHandler& each);
