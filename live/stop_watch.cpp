#include "live/stop_watch.h"

#include <optional>

#include "feedback/messages.h"
#include "link/link_state.h"
#include "link/live_stop.h"
#include "link/reasons.h"
#include "toolkit/platform/clock.h"
#include "toolkit/serial/rs232.h"

namespace {

// Often enough to catch a stream within a few of its records, seldom enough to cost
// nothing; a full input queue tells nothing more, so it counts as characters still coming.
constexpr double kLookEvery = 0.05;

struct Watch {
    StreamEndWatch stream;
    unsigned long steps;  // lineSteps when the watch began
    int waiting;
    unsigned long generation;
};

std::optional<Watch> watch;
unsigned long generation = 0;

void look(unsigned long of) {
    if (!watch || watch->generation != of)
        return;
    ToolkitClock& clock = CurrentClock();
    const int waiting = lineSteps == watch->steps ? GetInQLen(comPort) : -1;
    if (waiting < 0) {
        watch.reset();
        return;
    }
    const bool heard = waiting != watch->waiting || waiting >= kQueueSize;
    watch->waiting = waiting;
    switch (watch->stream.look(clock.now(), heard)) {
        case StreamEnd::Watching:
            clock.callAt(clock.now() + kLookEvery, [of] { look(of); });
            return;
        case StreamEnd::StillSending:
            addMessageText(kStillSendingText);
            showMessages();
            break;
        case StreamEnd::Ended:
        case StreamEnd::LineLost:
            break;
    }
    watch.reset();
}

}  // namespace

void watchStreamEnd(double runSeconds, unsigned long pieces) {
    ToolkitClock& clock = CurrentClock();
    const int waiting = GetInQLen(comPort);
    if (waiting < 0) {
        watch.reset();
        return;
    }
    const unsigned long of = ++generation;
    watch = Watch{StreamEndWatch(clock.now(), runSeconds, pieces), lineSteps, waiting, of};
    clock.callAt(clock.now() + kLookEvery, [of] { look(of); });
}

void endStreamWatch() {
    watch.reset();
    ++generation;
}
