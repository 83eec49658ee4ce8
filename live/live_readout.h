// The live run: the start exchange and the reading loop.
//
// A run goes from Idle (liveRunning 0) to Running (1) once the instrument has acknowledged
// both 'r' and 'g'; the loop reads one fixed-length record per pass and polls the toolkit
// in between, so the stop button (and every other callback) runs nested inside the loop.
// Clearing liveRunning is the only way to end the loop.
#pragma once

#include <cstdint>

#include "toolkit/panels/userint.h"

extern uint16_t liveRunning;  // 1 while the reading loop runs
extern int twoChannelMode;    // 1 when records carry two values; set at every start

// Records taken whole and shown in the current (or last) run, reads that brought no
// whole record, and records skipped as out of step; all start from 0 at every run.
extern unsigned long liveRecordsShown;
extern unsigned long liveRecordsMissed;
extern unsigned long liveRecordsBroken;

inline constexpr const char* kNoRecordLine = "no record received";

// What the stop button does: the loop ends after its current pass, the instrument gets the
// stop pair, the log is closed, and a watch begins on whether the stream ends
// (live/stop_watch.h).
void endLiveRun();
void resetReadoutState();

CtrlCallback startgcallback;
