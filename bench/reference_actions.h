// Each instrument action as the bare reference client runs it: the same bytes, the same
// pauses, the same read lengths as the tool's action, and nothing else.
#pragma once

#include "bench/reference_line.h"

// Opens the line itself, as the connect action opens the port.
void referenceConnect(ReferenceLine& line);
void referenceKxRead(ReferenceLine& line);
void referenceKxSet(ReferenceLine& line);
void referenceQvRead(ReferenceLine& line);
void referenceQvSet(ReferenceLine& line);
void referenceClockRead(ReferenceLine& line);
void referenceClockSet(ReferenceLine& line);
void referenceStartRead(ReferenceLine& line);
void referenceStartSet(ReferenceLine& line);
void referenceCalibrate(ReferenceLine& line);   // wake-up and identify
void referenceCalibrate2(ReferenceLine& line);  // the calibrate button's read and write
void referenceDefaultCalibration(ReferenceLine& line);
