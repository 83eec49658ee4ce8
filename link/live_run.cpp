#include "link/live_run.h"

namespace {

LiveTake judged(RecordTaken taken, const LiveRun& run, const char* buffer, LiveRecord& record) {
    switch (taken) {
        case RecordTaken::Failed:
            return LiveTake::LineLost;
        case RecordTaken::Short:
            return LiveTake::Missed;
        case RecordTaken::Broken:
            return LiveTake::OutOfStep;
        case RecordTaken::Whole:
            break;
    }
    return parseLiveRecord(buffer, run.recordLength, run.fullScale, record) ? LiveTake::Reading
                                                                            : LiveTake::NotAReading;
}

}  // namespace

LiveRun liveRunFor(const StreamSettings& settings) {
    LiveRun run;
    run.recordLength = settings.twoValues ? kTwoValueRecordLength : kOneValueRecordLength;
    run.reader = recordReaderFor(run.recordLength);
    run.fullScale = static_cast<float>(settings.lengthTenths * 0.1);
    return run;
}

LiveTake takeLiveRecord(LiveRun& run, char* buffer, LiveRecord& record) {
    return judged(takeRecordFromLine(run.reader, buffer), run, buffer, record);
}

void takeLiveRecordsReceived(LiveRun& run, char* buffer, const LiveRecordHandler& each) {
    for (;;) {
        const RecordTaken taken = takeReceivedRecord(run.reader, buffer);
        if (taken == RecordTaken::Short || taken == RecordTaken::Failed) {
            if (run.reader.pieceLength > 0)  // what a failing read still brought
                each(LiveTake::OutOfStep, LiveRecord{});
            return;
        }
        LiveRecord record;
        each(judged(taken, run, buffer, record), record);
    }
}

void takeLiveRemainder(LiveRun& run, const LiveRecordHandler& each) {
    if (takeReceivedRemainder(run.reader) == RecordTaken::Short && run.reader.pieceLength > 0)
        each(LiveTake::OutOfStep, LiveRecord{});
}
