// The start button's exchange and the reading loop of a live run.
//
// The loop takes records of a fixed length, chosen at the start from the settings block;
// a read that does not bring a whole record is shown as such and not plotted, and a record
// out of step is counted, skipped and the stream taken up again at its next line end. The
// raw log keeps every character taken off the line all the same, whole record or not. The loop
// looks up currentPanel afresh on every pass. When the run ends, the records already received are
// taken too before the log closes: a stop lands between two reads, and those that came meanwhile
// belong to the run.
//
// With "Reconnect by itself" on, a lost line does not end the run: the run waits, the log
// and its CSV open, until the adapter is back and the same instrument streams again
// (link/line_return.h); the records after the gap go on in the same files, the CSV's in the
// next stretch. While it waits nothing is sent, Stop and leaving the panel included.
#include "live/live_readout.h"

#include <cstring>
#include <optional>
#include <string>

#include "feedback/block_reports.h"
#include "feedback/line_lost_watch.h"
#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "history/visit_notes.h"
#include "link/block_read.h"
#include "link/line_return.h"
#include "link/live_run.h"
#include "live/live_log.h"
#include "live/reconnect_choice.h"
#include "live/stop_watch.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/calendar.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"
#include "ui/vaskinterface_ids.h"

uint16_t liveRunning = 0;
int twoChannelMode = 0;
unsigned long liveRecordsShown = 0;
unsigned long liveRecordsMissed = 0;
unsigned long liveRecordsBroken = 0;

namespace {

// What the running start fixed for the whole run.
struct Run {
    LiveRun line;
    StreamSettings settings;
    std::string serialNumber;  // of the instrument identified before the run
    double start = 0;          // toolkit clock at the 'G'
    unsigned long pieces = 0;  // takes that brought characters, whatever they were
    int stretch = 1;           // one more after each lost line the run went on from
    bool gapBefore = false;    // the next reading is the first after a gap
} run;

// While the run waits for its lost line.
struct LineWait {
    LineReturnWatch watch;
    double lostWallTime;
    double statusShown = -1;
};
std::optional<LineWait> lineWait;

// Between looks at the adapter the window stays with the operator.
constexpr double kWaitStep = 0.1;
constexpr double kWaitStatusEvery = 1.0;

// Reads the settings block and takes from it the record form and the gauge length.
// Returns false, with the reason shown, when no run may start.
bool readRunSettings(StreamSettings& settings) {
    clearMessages();
    BlockRead read;
    if (!readStreamSettings(settings, read)) {
        reportBlockReadFailure(read, MessageBox::Kept);
        return false;
    }
    twoChannelMode = settings.twoValues ? 1 : 0;
    if (!settings.rs232Data) {
        MessagePopup("Configuration Error",
                     "Please go to the configuration window to enable RS232 data");
    }
    return true;
}

// Sends 'g' and at once reads its acknowledgement. A wrong letter is reported with the
// characters that came, or with why none did.
bool streamAcknowledged() {
    AckFrame ack;
    if (startStream(ack))
        return true;
    addAckLine(ack.text, ack.status);
    showMessages();
    return false;
}

// The box holds one line: the record without the line end the instrument puts in it.
// Replacing the whole content is one update (and one repaint) a record, not two.
void showRecordText(const char* text, int length) {
    char line[kTwoValueRecordLength + 1];
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n')) --length;
    std::memcpy(line, text, static_cast<size_t>(length));
    line[length] = '\0';
    ResetTextBox(currentPanel, LIVE_RECORD, line);
}

// A reading in ioBuffer: its values to the panel, its characters to the logs.
void showReading(const LiveRecord& record) {
    ToolkitClock& clock = CurrentClock();
    if (record.hasSecond)
        SetCtrlVal(currentPanel, LIVE_SECOND, static_cast<double>(record.second));
    const StripChartSample sample{record.plotted, record.counts, record.hasSecond, record.second,
                                  run.gapBefore};
    run.gapBefore = false;
    PlotStripChartSample(currentPanel, LIVE_CHART, sample);
    writeCsvRecord(record, clock.now() - run.start, clock.wallTime(), run.stretch);
    showRecordText(ioBuffer, run.line.recordLength);
    ++liveRecordsShown;
}

void beginLineWait();

// One record taken, in ioBuffer: shown or counted; whatever it took off the line goes to
// the raw log as it came, a reading or not.
void handleRecord(LiveTake taken, const LiveRecord& record) {
    const std::string_view characters = takenCharacters(run.line);
    if (!characters.empty()) {
        ++run.pieces;
        writeLogRecord(characters.data(), static_cast<int>(characters.size()));
    }
    switch (taken) {
        case LiveTake::LineLost:
            if (reconnectByItself()) {
                beginLineWait();
                return;
            }
            // The line is gone (an adapter pulled out): the run ends instead of spinning on
            // failed reads, and the operator reads why.
            endLiveRun();
            reportErrorCode(comStatus);
            return;
        case LiveTake::Missed:
            ++liveRecordsMissed;
            ResetTextBox(currentPanel, LIVE_RECORD, kNoRecordLine);
            return;
        case LiveTake::OutOfStep:
            ++liveRecordsBroken;
            return;
        case LiveTake::NotAReading:
            // Counted with the records out of step, but never plotted or written to the
            // CSV as a value.
            ++liveRecordsBroken;
            return;
        case LiveTake::Reading:
            showReading(record);
            return;
    }
}

// One pass: a record into ioBuffer, shown and logged.
void takeRecord() {
    LiveRecord record;
    handleRecord(takeLiveRecord(run.line, ioBuffer, record), record);
}

// The status bar counts the records of the run, and those skipped as out of step, once a
// second as the time taken beside it does: each change repaints the field's text whole.
void showRecordsInStatus(bool now) {
    constexpr double kUpdateEvery = 1.0;
    static double shownAt = -1;
    const double at = CurrentClock().now();
    if (!now && at - shownAt < kUpdateEvery && at >= shownAt)
        return;
    shownAt = at;
    std::string text = std::to_string(liveRecordsShown) + " records";
    if (liveRecordsBroken > 0)
        text += ", " + std::to_string(liveRecordsBroken) + " out of step";
    SetStatusField(StatusField::Records, text.c_str());
}

void showWaitInStatus(bool now) {
    const double at = CurrentClock().now();
    if (!now && at - lineWait->statusShown < kWaitStatusEvery && at >= lineWait->statusShown)
        return;
    lineWait->statusShown = at;
    const std::string text = lineWaitingText(lineWait->watch, portLabel(), lineWait->lostWallTime,
                                             at - lineWait->watch.lostAt());
    SetStatusField(StatusField::Records, text.c_str());
}

void beginLineWait() {
    ToolkitClock& clock = CurrentClock();
    lineWait.emplace(
        LineWait{LineReturnWatch(adapterOfLink(), run.serialNumber, run.settings, clock.now()),
                 clock.wallTime()});
    const std::string line =
        lineLostText(lineWait->watch, portLabel(), lineWait->lostWallTime, liveRecordsShown);
    addMessageLine("%s", line.c_str());
    showMessages();
    showWaitInStatus(true);
}

// The wait over without the run going on: nothing more is sent, the log is closed.
void endRunInWait() {
    liveRunning = 0;
    lineWait.reset();
    closeLog();
}

void lineBack() {
    ToolkitClock& clock = CurrentClock();
    const std::string line =
        lineBackText(clock.wallTime(), clock.now() - lineWait->watch.lostAt(), liveRecordsShown);
    lineWait.reset();
    addMessageLine("%s", line.c_str());
    // What the stream had begun of a record before the line went is gone with it.
    run.line.reader = recordReaderFor(run.line.recordLength);
    ++run.stretch;
    run.gapBefore = true;
}

// One step of the wait: a short pause with the window, then a look at the adapter, and
// once it is back the return exchange.
void waitForLine() {
    Delay(kWaitStep);
    GetUserEvent(0, nullptr, nullptr);
    if (liveRunning != 1 || !lineWait)
        return;
    const ReturnStep step = lineWait->watch.look(CurrentClock().now());
    switch (step) {
        case ReturnStep::Waiting:
            showWaitInStatus(false);
            return;
        case ReturnStep::Resumed:
            lineBack();
            return;
        case ReturnStep::OtherInstrument:
            addMessageLine(
                "%s", otherInstrumentText(lineWait->watch, portLabel(), run.serialNumber).c_str());
            break;
        case ReturnStep::OtherRecords:
            addMessageLine("%s",
                           otherRecordsText(lineWait->watch, portLabel(), run.settings).c_str());
            break;
        case ReturnStep::Refused:
            if (lineWait->watch.read().ok)
                addAckLine(lineWait->watch.ack().text, lineWait->watch.ack().status);
            else
                reportBlockReadFailure(lineWait->watch.read(), MessageBox::Kept);
            break;
    }
    endRunInWait();
    showMessages();
}

}  // namespace

void endLiveRun() {
    if (lineWait) {
        // The line stays lost after the run: the window goes on watching for the adapter.
        noteLineLost(lineWait->lostWallTime);
        endRunInWait();
        return;
    }
    const bool running = liveRunning == 1;
    liveRunning = 0;
    sendStopPair();
    if (running)
        takeLiveRecordsReceived(run.line, ioBuffer, handleRecord);
    closeLog();
    if (running)
        watchStreamEnd(CurrentClock().now() - run.start, run.pieces);
}

void resetReadoutState() {
    lineWait.reset();
    liveRunning = 0;
    twoChannelMode = 0;
    liveRecordsShown = 0;
    liveRecordsMissed = 0;
    liveRecordsBroken = 0;
}

int startgcallback(int panel, int, int event, void*, int, int) {
    // A press queued before the button was dimmed must not start a run inside the run.
    if (event != EVENT_COMMIT || liveRunning == 1)
        return 0;
    StreamSettings settings;
    if (!readRunSettings(settings))
        return 0;
    if (!streamAcknowledged())
        return 0;

    // The form is fixed for the whole run, even if a later start reads another block.
    run = {
        liveRunFor(settings), settings, identifiedSerialNumber, CurrentClock().now(), 0, 1, false};
    const float fullScale = run.line.fullScale;
    ResetTextBox(currentPanel, LIVE_RECORD, "");
    liveRunning = 1;
    liveRecordsShown = 0;
    liveRecordsMissed = 0;
    liveRecordsBroken = 0;
    SetCtrlAttribute(panel, LIVE_START, ATTR_DIMMED, 1);
    SetCtrlAttribute(panel, LIVE_OPEN_RECORDING, ATTR_DIMMED, 1);
    SetAxisRange(currentPanel, LIVE_CHART, VAL_NO_CHANGE, 0.0, 0.0, VAL_MANUAL, 0.0, fullScale);
    StartStripChartRun(currentPanel, LIVE_CHART);
    const std::string startedAt = FormatDateTime(ComputerLocalTime());
    openLogForRun();
    std::string files;
    if (logFileOpen == 1)
        files = logFilePath;
    if (csvFileOpen == 1)
        files += (files.empty() ? "" : ", ") + std::string(csvFilePath);
    while (liveRunning == 1) {
        if (lineWait) {
            waitForLine();
            continue;
        }
        takeRecord();
        showRecordsInStatus(false);
        GetUserEvent(0, nullptr, nullptr);
    }
    showRecordsInStatus(true);
    // The history notes the run for the visit's report; a note that cannot be kept is no
    // reason to trouble the run's own lines.
    noteLiveRun(startedAt, FormatDateTime(ComputerLocalTime()), liveRecordsShown, liveRecordsBroken,
                files);
    if (liveRecordsBroken > 0)
        addMessageLine("records out of step, skipped in this run: %lu", liveRecordsBroken);
    // The panel may be gone by now; the toolkit then refuses the call and nothing happens.
    SetCtrlAttribute(panel, LIVE_START, ATTR_DIMMED, 0);
    SetCtrlAttribute(panel, LIVE_OPEN_RECORDING, ATTR_DIMMED, 0);
    return 0;
}
