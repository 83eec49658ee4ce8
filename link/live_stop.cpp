#include "link/live_stop.h"

#include <algorithm>

#include "link/link_state.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"

namespace {

// Quiet for three of the run's record times: an instrument that sends a record a second
// and ignores the pair is not taken for stopped in the gap between two of them.
constexpr double kRecordTimesOfQuiet = 3.0;
constexpr double kShortestQuiet = 0.25;
constexpr double kStopLookEvery = 0.01;

}  // namespace

StreamEndWatch::StreamEndWatch(double now, double runSeconds, unsigned long pieces)
    : since_(now), lastHeard_(now) {
    const double recordTime = pieces > 0 ? runSeconds / static_cast<double>(pieces) : 0.0;
    quiet_ = std::clamp(kRecordTimesOfQuiet * recordTime, kShortestQuiet, kComTimeout);
}

StreamEnd StreamEndWatch::look(double now, bool heard) {
    if (heard)
        lastHeard_ = now;
    if (now - lastHeard_ >= quiet_)
        return StreamEnd::Ended;
    if (now - since_ >= 2 * quiet_)
        return StreamEnd::StillSending;
    return StreamEnd::Watching;
}

StreamEnd awaitStreamEnd(LiveRun& run, char* buffer, StreamEndWatch watch,
                         const LiveRecordHandler& each) {
    ToolkitClock& clock = CurrentClock();
    int left = GetInQLen(comPort);
    StreamEnd end = left < 0 ? StreamEnd::LineLost : StreamEnd::Watching;
    while (end == StreamEnd::Watching) {
        Delay(kStopLookEvery);
        const int waiting = GetInQLen(comPort);
        if (waiting < 0)
            return StreamEnd::LineLost;
        takeLiveRecordsReceived(run, buffer, each);
        end = watch.look(clock.now(), waiting != left);
        left = GetInQLen(comPort);
        if (left < 0)
            return StreamEnd::LineLost;
    }
    if (end != StreamEnd::LineLost)
        takeLiveRemainder(run, each);
    return end;
}
