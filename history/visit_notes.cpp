#include "history/visit_notes.h"

#include <cstdio>

#include "history/history.h"
#include "history/instrument_overview.h"
#include "toolkit/platform/calendar.h"

namespace {

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// A gauge length as the tables write it: "2.0", "2.5", "0.25".
std::string lengthText(float length) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(length));
    std::string shown = text;
    if (shown.size() > 3 && shown.back() == '0')
        shown.pop_back();
    return shown;
}

}  // namespace

void noteClockRead(const char* blockText) {
    CalendarTime shown;
    if (!blockClockTime(blockText, shown))
        return;
    const long long drift = secondsSince2000(shown) - secondsSince2000(ComputerLocalTime());
    keepNote(kClockReadNote,
             {{"instrument", FormatDateTime(shown)}, {"drift", std::to_string(drift)}});
}

void noteClockSet(const char* readText, const char* writtenText) {
    CalendarTime was, set;
    if (!blockClockTime(writtenText, set))
        return;
    std::vector<std::pair<std::string, std::string>> facts;
    if (blockClockTime(readText, was))
        facts.emplace_back("was", FormatDateTime(was));
    facts.emplace_back("set", FormatDateTime(set));
    keepNote(kClockSetNote, facts);
}

void noteCalibration(const CalibrationFacts& f) {
    keepNote(kCalibrationNote, {{"length", lengthText(f.gaugeLength)},
                                {"type", std::to_string(f.gaugeType)},
                                {"level A", number(f.levelA)},
                                {"reading A", number(f.readingA)},
                                {"level B", number(f.levelB)},
                                {"reading B", number(f.readingB)},
                                {"gain", std::to_string(f.oldGain)},
                                {"zero", std::to_string(f.oldZero)},
                                {"new gain", std::to_string(f.newGain)},
                                {"new zero", std::to_string(f.newZero)},
                                {"trace", f.trace}});
}

void noteLiveRun(const std::string& start, const std::string& end, unsigned long records,
                 unsigned long outOfStep, const std::string& files) {
    keepNote(kLiveRunNote, {{"start", start},
                            {"end", end},
                            {"records", std::to_string(records)},
                            {"out of step", std::to_string(outOfStep)},
                            {"files", files}});
}
