#include "cli/live_command.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/console.h"
#include "cli/invocation.h"
#include "cli/live_outputs.h"
#include "cli/live_rotation.h"
#include "cli/output.h"
#include "history/visit_notes.h"
#include "link/line_return.h"
#include "link/live_stop.h"
#include "link/reasons.h"
#include "link/record_csv.h"
#include "toolkit/platform/calendar.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/durations.h"

namespace {

// How often the count of records is redrawn on a terminal.
constexpr double kProgressEvery = 1.0;
// While a lost line is waited for, how soon a stop request is heard.
constexpr double kWaitStep = 0.1;

// What a lost line does to a run.
struct Reconnect {
    bool on = true;
    double within = 0;  // seconds to wait for the line; 0: for as long as it takes
};

// The files a run starts anew at each hour or day: the names given, and the period of the
// files open now.
struct FileRotation {
    LiveRotation every = LiveRotation::None;
    std::string period;
    std::string csv;  // as given; empty when the CSV goes to standard output
    std::string raw;  // as given; empty without --raw
};

struct Counts {
    unsigned long readings = 0;
    unsigned long broken = 0;  // out of step, or not a reading
    unsigned long missed = 0;  // reads that ended at the time-out without a record
    unsigned long pieces = 0;  // takes that brought characters, whatever they were
};

class LiveSession {
  public:
    LiveSession(LiveRun run, StreamSettings settings, Reconnect reconnect, FileRotation rotation,
                LiveOutput* csv, LiveOutput* raw, std::string files)
        : run_(run),
          settings_(settings),
          reconnect_(reconnect),
          rotation_(std::move(rotation)),
          csv_(csv),
          raw_(raw),
          files_(std::move(files)),
          firstFiles_(files_) {}

    // Takes records until the time is up, a stop is requested, the line is lost (and, when
    // waited for, does not come back) or an output fails; then ends the run. Returns the
    // exit status.
    int run(double seconds) {
        ToolkitClock& clock = CurrentClock();
        start_ = clock.now();
        startedAt_ = FormatDateTime(ComputerLocalTime());
        serialNumber_ = identifiedSerialNumber;
        csv_->add(csvHeader(run_.recordLength == kTwoValueRecordLength));
        while (!StopRequested() && (seconds <= 0 || clock.now() - start_ < seconds)) {
            LiveRecord record;
            const LiveTake taken = takeLiveRecord(run_, buffer_, record);
            handle(taken, record);
            if (taken == LiveTake::LineLost) {
                lineStatus_ = comStatus;
                if (!reconnect_.on || !waitForLine(seconds))
                    break;
                lineStatus_ = 0;
            }
            if (!writeOutputs(false) || rotationFailed_)
                break;
            showProgress(false);
        }
        return end();
    }

  private:
    void sayOnTerminalLine(const std::string& line) {
        if (!quiet() && StandardErrorIsTerminal() && progressShown_ > 0)
            std::fputs("\n", stderr);  // below the count of records, not over it
        printProblem(line);
    }

    // The run waits for its lost line; true once the same instrument streams again. False
    // when a stop is requested, the time of the run or of the wait is up, or the return
    // ends the run: nothing is sent then, and the line is not looked at again.
    bool waitForLine(double seconds) {
        ToolkitClock& clock = CurrentClock();
        writeOutputs(true);  // what came before the gap is on disk while the run waits
        LineReturnWatch watch(adapterOfLink(), serialNumber_, settings_, clock.now());
        sayOnTerminalLine(lineLostText(watch, portLabel(), clock.wallTime(), counts_.readings));
        waiting_ = true;
        for (;;) {
            clock.waitUntil(clock.now() + kWaitStep);
            const double waited = clock.now() - watch.lostAt();
            if (StopRequested() || (seconds > 0 && clock.now() - start_ >= seconds)) {
                // Ended as asked: the records before the gap are the run's.
                lineStatus_ = 0;
                printProgress(
                    "The run ended while waiting for the line; the records received are kept");
                return false;
            }
            if (reconnect_.within > 0 && waited >= reconnect_.within) {
                printProblem("the line did not come back within " +
                             DurationWords(reconnect_.within) + "; the run ends");
                return false;
            }
            switch (watch.look(clock.now())) {
                case ReturnStep::Waiting:
                    continue;
                case ReturnStep::Resumed:
                    printProblem(lineBackText(clock.wallTime(), waited, counts_.readings));
                    waiting_ = false;
                    run_.reader = recordReaderFor(run_.recordLength);
                    ++stretch_;
                    return true;
                case ReturnStep::OtherInstrument:
                    printProblem(otherInstrumentText(watch, portLabel(), serialNumber_));
                    break;
                case ReturnStep::OtherRecords:
                    printProblem(otherRecordsText(watch, portLabel(), settings_));
                    break;
                case ReturnStep::Refused:
                    if (watch.read().ok)
                        printAck("the instrument did not start its records again",
                                 ": 'g' was answered with", watch.ack());
                    else
                        sayBlockReadFailure(watch.read(), "the run ends");
                    break;
            }
            lineStatus_ = 0;
            returnRefused_ = true;
            return false;
        }
    }

    // At the first characters of a new hour or day, the files of the period before end whole
    // (a record is never cut between two) and the record goes into new ones; a wait for a
    // lost line that spans the change ends in the new files, once records come again.
    void startFilesOfPeriod(double wallTime) {
        if (rotation_.every == LiveRotation::None)
            return;
        const std::string period = rotationPeriod(rotation_.every, wallTime);
        if (period == rotation_.period)
            return;
        rotation_.period = period;
        if (!writeOutputs(true)) {
            rotationFailed_ = true;
            return;
        }
        struct Rotated {
            LiveOutput* output;
            const std::string& given;
        };
        std::vector<Rotated> rotated;
        std::vector<std::string> given;
        for (const Rotated r : {Rotated{csv_, rotation_.csv}, Rotated{raw_, rotation_.raw}})
            if (r.output && !r.output->failed() && !r.given.empty()) {
                rotated.push_back(r);
                given.push_back(r.given);
            }
        const std::vector<std::string> names = freeRotatedPaths(given, period);
        std::string opened;
        for (size_t i = 0; i < rotated.size(); ++i) {
            std::string problem;
            if (!rotated[i].output->reopen(names[i], problem)) {
                problems_.push_back(problem);
                rotationFailed_ = true;
                continue;
            }
            if (rotated[i].output == csv_)
                csv_->add(csvHeader(run_.recordLength == kTwoValueRecordLength));
            opened += (opened.empty() ? "" : ", ") + names[i];
        }
        if (opened.empty())
            return;
        files_ = opened;
        sayOnTerminalLine(
            std::string(opened.find(", ") == std::string::npos ? "new file at " : "new files at ") +
            LocalTimeOfDay(wallTime) + " after " + recordsWords(counts_.readings) + ": " + opened);
    }

    void handle(LiveTake taken, const LiveRecord& record) {
        const std::string_view characters = takenCharacters(run_);
        ToolkitClock& clock = CurrentClock();
        // One moment for the record: the file it goes into is the one of its time_iso.
        const double elapsed = clock.now() - start_, wallTime = clock.wallTime();
        if (!characters.empty()) {
            startFilesOfPeriod(wallTime);
            ++counts_.pieces;
            if (raw_)
                raw_->addRecord(characters.data(), characters.size());
        }
        switch (taken) {
            case LiveTake::Reading:
                ++counts_.readings;
                csv_->add(csvLine(record, elapsed, wallTime, stretch_));
                break;
            case LiveTake::NotAReading:
            case LiveTake::OutOfStep:
                ++counts_.broken;
                break;
            case LiveTake::Missed:
                ++counts_.missed;
                break;
            case LiveTake::LineLost:
                break;
        }
    }

    // An output that fails is dropped; the other is still written.
    bool writeOutputs(bool now) {
        bool written = true;
        for (LiveOutput* output : {csv_, raw_}) {
            std::string problem;
            if (output && !output->write(now, problem)) {
                problems_.push_back(problem);
                written = false;
            }
        }
        return written;
    }

    void showProgress(bool last) {
        if (quiet() || !StandardErrorIsTerminal())
            return;
        const double at = CurrentClock().now();
        if (!last && at - progressShown_ < kProgressEvery)
            return;
        progressShown_ = at;
        std::fprintf(stderr, "\r%lu records, %lu out of step%s", counts_.readings, counts_.broken,
                     last ? "\n" : "");
    }

    // The stop pair; then the records that still come until the stream has ended, or is
    // found not to end; then the files, closed.
    StreamEnd stopStream() {
        // A run that waited for its line to the end sends nothing: the line is gone, or
        // holds an instrument that is not streaming.
        if (waiting_)
            return StreamEnd::LineLost;
        sendStopPair();
        if (lineStatus_ != 0)
            return StreamEnd::LineLost;
        const double now = CurrentClock().now();
        const StreamEnd end = awaitStreamEnd(
            run_, buffer_, StreamEndWatch(now, now - start_, counts_.pieces),
            [this](LiveTake taken, const LiveRecord& record) { handle(taken, record); });
        if (end == StreamEnd::LineLost)
            lineStatus_ = comStatus;
        return end;
    }

    int end() {
        const StreamEnd stream = stopStream();
        writeOutputs(true);
        csv_->close();
        if (raw_)
            raw_->close();
        showProgress(true);
        // The history notes the run for the visit's report, as the window's runs are.
        noteLiveRun(startedAt_, FormatDateTime(ComputerLocalTime()), counts_.readings,
                    counts_.broken, files_ == firstFiles_ ? files_ : firstFiles_ + " to " + files_);
        printExplanation("live: " + std::to_string(counts_.readings) + " records, " +
                         std::to_string(counts_.broken) + " out of step or not a reading, " +
                         std::to_string(counts_.missed) + " reads without a record");
        for (const std::string& problem : problems_) printProblem(problem + ": the run ended");
        if (lineStatus_ != 0) {
            printErrorCode("the line was lost during the run", lineStatus_);
            return kExitRefused;
        }
        if (returnRefused_)
            return kExitRefused;
        if (stream == StreamEnd::StillSending) {
            printProblem(kStillSendingText);
            printExplanation(
                "quorvel identify sends the stop pair again; if the records go on, reconnect "
                "the instrument's power.");
            return kExitRefused;
        }
        return problems_.empty() ? kExitDone : kExitRefused;
    }

    LiveRun run_;
    StreamSettings settings_;
    Reconnect reconnect_;
    FileRotation rotation_;
    bool rotationFailed_ = false;  // the files of a new period could not be started
    std::string serialNumber_;     // of the instrument the run began with
    int stretch_ = 1;              // one more after each lost line the run went on from
    bool waiting_ = false;         // the run ended while waiting for its line
    bool returnRefused_ = false;
    LiveOutput* csv_;
    LiveOutput* raw_;
    std::string files_;       // written now
    std::string firstFiles_;  // written first
    std::string startedAt_;
    char buffer_[kTwoValueRecordLength + 2] = {};
    Counts counts_;
    double start_ = 0;
    double progressShown_ = 0;
    int lineStatus_ = 0;
    std::vector<std::string> problems_;
};

}  // namespace

int runLive(const Invocation& invocation) {
    const double seconds = invocation.seconds.value_or(0);
    const std::string csvPath = invocation.csv.value_or("-");
    if (const auto problem = rotationProblem(invocation))
        return usageError(*problem);
    if (invocation.raw && sameFile(csvPath, *invocation.raw))
        return usageError("--csv and --raw name one file (" + csvPath + " and " + *invocation.raw +
                          "): each needs its own");
    FileRotation rotation{
        invocation.rotate, {}, invocation.csv.value_or(""), invocation.raw.value_or("")};
    std::string csvName = csvPath, rawName = rotation.raw;
    if (rotation.every != LiveRotation::None) {
        rotation.period = rotationPeriod(rotation.every, CurrentClock().wallTime());
        std::vector<std::string> given;
        for (const std::string* path : {&rotation.csv, &rotation.raw})
            if (!path->empty())
                given.push_back(*path);
        const std::vector<std::string> names = freeRotatedPaths(given, rotation.period);
        if (!rotation.csv.empty())
            csvName = names.front();
        if (!rotation.raw.empty())
            rawName = names.back();
    }
    LiveOutput csv, raw;
    std::string problem;
    if (!csv.open(csvName, LiveOutput::Form::Csv, problem) ||
        (invocation.raw && !raw.open(rawName, LiveOutput::Form::Raw, problem)))
        return usageError(problem);
    if (const int status = connectInstrument(invocation.port); status != kExitDone)
        return status;
    StreamSettings settings;
    BlockRead read;
    if (!readStreamSettings(settings, read)) {
        sayBlockReadFailure(read, "no live run");
        return kExitRefused;
    }
    if (!settings.rs232Data)
        printProblem(
            "RS232 data is off in the instrument's settings: it may send no records "
            "(quorvel set \"RS232 data flag=on\" turns it on)");
    CatchStopRequests();
    AckFrame ack;
    if (!startStream(ack)) {
        printAck("the instrument did not start its records", ": 'g' was answered with", ack);
        return kExitRefused;
    }
    char starting[80];
    std::snprintf(starting, sizeof starting,
                  seconds > 0 ? "Live records for %g s; Ctrl-C ends the run sooner"
                              : "Live records until Ctrl-C",
                  seconds);
    printProgress(starting);
    std::string files = csvName.empty() || csvName == "-" ? std::string() : csvName;
    if (invocation.raw)
        files += (files.empty() ? "" : ", ") + rawName;
    if (rotation.every != LiveRotation::None)
        printProgress(std::string("New files each ") + rotationUnitWords(rotation.every) +
                      " of this computer's clock, the first: " + files);
    const Reconnect reconnect{!invocation.noReconnect, invocation.reconnectFor.value_or(0)};
    LiveSession session(liveRunFor(settings), settings, reconnect, std::move(rotation), &csv,
                        invocation.raw ? &raw : nullptr, files);
    return session.run(seconds);
}
