#include "cli/live_command.h"

#include <cstdio>
#include <string>

#include "cli/console.h"
#include "cli/invocation.h"
#include "cli/output.h"
#include "link/live_run.h"
#include "link/reasons.h"
#include "link/record_csv.h"
#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"

namespace {

// Lines go out when this much has gathered or this long has passed, as in the window's log.
constexpr size_t kBatchBytes = 4096;
constexpr double kBatchSeconds = 0.1;
// How often the count of records is redrawn on a terminal.
constexpr double kProgressEvery = 1.0;
// After the stop pair, the record the instrument was sending when it heard it comes whole
// within a few character times; the run waits that long before it takes what came.
constexpr double kStopSettle = 0.05;

// Where the lines of one kind go: standard output, or a file written as the window writes
// its logs (each line feed stored as CR LF).
class Output {
  public:
    // Empty path or "-": standard output.
    bool open(const std::string& path, std::string& problem) {
        path_ = path;
        if (path.empty() || path == "-")
            return true;
        const PathKind kind = GetPathKind(path.c_str());
        if (kind != PathKind::Absent && kind != PathKind::Regular) {
            problem = path + " is " + PathKindWords(kind) + ", not a regular file";
            return false;
        }
        handle_ = CVI_OpenFile(path.c_str(), VAL_WRITE_ONLY, VAL_TRUNCATE, VAL_ASCII);
        if (handle_ < 0) {
            problem = path + " cannot be opened (" + GetFileErrorText() + ")";
            return false;
        }
        return true;
    }
    void add(const char* text, size_t count) { pending_.append(text, count); }
    void add(const std::string& text) { pending_ += text; }
    // Writes what gathered, once a batch has (or at once); false, with why, when it failed.
    bool write(bool now, std::string& problem) {
        const double at = CurrentClock().now();
        if (pending_.empty() ||
            (!now && pending_.size() < kBatchBytes && at - written_ < kBatchSeconds))
            return true;
        written_ = at;
        const int size = static_cast<int>(pending_.size());
        bool ok = true;
        if (handle_ < 0)
            ok = std::fwrite(pending_.data(), 1, pending_.size(), stdout) == pending_.size() &&
                 std::fflush(stdout) == 0;
        else
            ok = CVI_WriteFile(handle_, pending_.data(), size) == size;
        pending_.clear();
        if (!ok)
            problem = (handle_ < 0 ? std::string("standard output") : path_) + " not written" +
                      (handle_ < 0 ? "" : std::string(" (") + GetFileErrorText() + ")");
        return ok;
    }
    void close() {
        if (handle_ >= 0)
            CVI_CloseFile(handle_);
        handle_ = -1;
    }

  private:
    std::string path_;
    int handle_ = -1;
    std::string pending_;
    double written_ = 0;
};

struct Counts {
    unsigned long readings = 0;
    unsigned long broken = 0;  // out of step, or not a reading
    unsigned long missed = 0;  // reads that ended at the time-out without a record
};

class LiveSession {
  public:
    LiveSession(LiveRun run, Output* csv, Output* raw) : run_(run), csv_(csv), raw_(raw) {}

    // Takes records until the time is up, a stop is requested, the line is lost or an
    // output fails; then ends the run. Returns the exit status.
    int run(double seconds) {
        ToolkitClock& clock = CurrentClock();
        start_ = clock.now();
        csv_->add(csvHeader(run_.recordLength == kTwoValueRecordLength));
        while (!StopRequested() && (seconds <= 0 || clock.now() - start_ < seconds)) {
            LiveRecord record;
            const LiveTake taken = takeLiveRecord(run_, buffer_, record);
            if (taken == LiveTake::LineLost) {
                lineStatus_ = comStatus;
                break;
            }
            handle(taken, record);
            if (!writeOutputs(false))
                break;
            showProgress(false);
        }
        return end();
    }

  private:
    void handle(LiveTake taken, const LiveRecord& record) {
        const int length = run_.recordLength;
        switch (taken) {
            case LiveTake::Reading: {
                ToolkitClock& clock = CurrentClock();
                ++counts_.readings;
                csv_->add(csvLine(record, clock.now() - start_, clock.wallTime()));
                break;
            }
            case LiveTake::NotAReading:
                ++counts_.broken;
                break;
            case LiveTake::OutOfStep:
                ++counts_.broken;
                return;
            case LiveTake::Missed:
                ++counts_.missed;
                return;
            case LiveTake::LineLost:
                return;
        }
        if (raw_) {
            raw_->add(buffer_, static_cast<size_t>(length));
            raw_->add("\n", 1);
        }
    }

    bool writeOutputs(bool now) {
        for (Output* output : {csv_, raw_}) {
            if (output && !output->write(now, outputProblem_))
                return false;
        }
        return true;
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

    // The stop pair; then the records already received; then the files, closed.
    int end() {
        sendStopPair();
        if (lineStatus_ == 0)
            Delay(kStopSettle);
        if (lineStatus_ == 0)
            takeLiveRecordsReceived(
                run_, buffer_,
                [this](LiveTake taken, const LiveRecord& record) { handle(taken, record); });
        const bool written = outputProblem_.empty() && writeOutputs(true);
        csv_->close();
        if (raw_)
            raw_->close();
        showProgress(true);
        printExplanation("live: " + std::to_string(counts_.readings) + " records, " +
                         std::to_string(counts_.broken) + " out of step or not a reading, " +
                         std::to_string(counts_.missed) + " reads without a record");
        if (lineStatus_ != 0) {
            printErrorCode("the line was lost during the run", lineStatus_);
            return kExitRefused;
        }
        if (!written) {
            printProblem(outputProblem_ + ": the run ended");
            return kExitRefused;
        }
        return kExitDone;
    }

    LiveRun run_;
    Output* csv_;
    Output* raw_;
    char buffer_[kTwoValueRecordLength + 2] = {};
    Counts counts_;
    double start_ = 0;
    double progressShown_ = 0;
    int lineStatus_ = 0;
    std::string outputProblem_;
};

}  // namespace

int runLive(const Invocation& invocation) {
    const double seconds = invocation.seconds.value_or(0);
    Output csv, raw;
    std::string problem;
    if (!csv.open(invocation.csv.value_or("-"), problem) ||
        (invocation.raw && !raw.open(*invocation.raw, problem)))
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
    LiveSession session(liveRunFor(settings), &csv, invocation.raw ? &raw : nullptr);
    return session.run(seconds);
}
