// Whether the instrument took the stop pair: once it has, its stream ends.
//
// The record the instrument was sending when it heard the pair still comes, and a USB
// adapter may hold it back a little; after that the line must fall quiet for as long as a
// few of the run's records took to come (at least a quarter of a second, at most the
// port's time-out). A line that has not been quiet that long within twice that time is
// still sending. The watch only looks: it sends nothing and reads nothing, so the window
// can ask it between events and the command line between the records it still takes.
#pragma once

#include "link/live_run.h"

enum class StreamEnd {
    Watching,      // not known yet: look again
    Ended,         // the line has been quiet long enough
    StillSending,  // characters kept coming: the instrument did not take the stop
    LineLost,      // the line reported an error; its status is in comStatus
};

class StreamEndWatch {
  public:
    // A watch from `now`, the stop pair just sent, after a run that took `pieces` pieces of
    // the stream in `runSeconds`.
    StreamEndWatch(double now, double runSeconds, unsigned long pieces);

    // One look at `now`; `heard` says whether characters came since the last one.
    StreamEnd look(double now, bool heard);
    double quiet() const { return quiet_; }

  private:
    double since_;
    double lastHeard_;
    double quiet_;
};

// After the stop pair, blocking: takes the records that still come, each to `each`, until
// the watch knows; then, the stream over, the characters of a record that never came
// whole. Between looks it pauses a hundredth of a second.
StreamEnd awaitStreamEnd(LiveRun& run, char* buffer, StreamEndWatch watch,
                         const LiveRecordHandler& each);
