// The notes the window and the command line keep of what happened during a visit, in the
// history of the instrument identified last (history_notes.h gives the line). A note that
// cannot be kept is dropped without a word: the actions' own lines stay as they are.
#pragma once

#include <string>

// The clock as a block text read now shows it, and its drift from this computer's clock.
void noteClockRead(const char* blockText);
// A clock write: the clock the block read before it showed, and the one written.
void noteClockSet(const char* readText, const char* writtenText);

struct CalibrationFacts {
    float gaugeLength = 0;
    int gaugeType = 0;
    float levelA = 0, levelB = 0, readingA = 0, readingB = 0;
    int oldGain = 0, oldZero = 0, newGain = 0, newZero = 0;
    std::string trace;  // the trace lines, as standard output had them
};
void noteCalibration(const CalibrationFacts& facts);

// A live run: this computer's times at its start and end, the records, the files written.
void noteLiveRun(const std::string& start, const std::string& end, unsigned long records,
                 unsigned long outOfStep, const std::string& files);
