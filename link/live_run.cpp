#include "link/live_run.h"

#include "link/link_state.h"
#include "toolkit/serial/rs232.h"

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
    // Only what had come when the take began: from a line that brings characters faster
    // than they are taken (an instrument streaming on after the stop pair), a take of all
    // that is there would never end, and the window would freeze in it.
    int left = GetInQLen(comPort);
    for (;;) {
        const int carriedBefore = run.reader.carried;
        const RecordTaken taken = takeReceivedRecord(run.reader, buffer);
        if (taken == RecordTaken::Short || taken == RecordTaken::Failed) {
            if (run.reader.pieceLength > 0)  // what a failing read still brought
                each(LiveTake::OutOfStep, LiveRecord{});
            return;
        }
        LiveRecord record;
        each(judged(taken, run, buffer, record), record);
        left -= run.reader.pieceLength + run.reader.carried - carriedBefore;
        if (left < run.reader.length - run.reader.carried)
            return;
    }
}

void takeLiveRemainder(LiveRun& run, const LiveRecordHandler& each) {
    if (takeReceivedRemainder(run.reader) == RecordTaken::Short && run.reader.pieceLength > 0)
        each(LiveTake::OutOfStep, LiveRecord{});
}
