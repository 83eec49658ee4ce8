#include "calibration/take_reading.h"

#include <algorithm>
#include <cstdio>

#include "feedback/messages.h"
#include "feedback/panel_set.h"
#include "link/block_read.h"
#include "link/link_state.h"
#include "link/record_stream.h"
#include "toolkit/panels/userint.h"
#include "toolkit/platform/clock.h"
#include "ui/vaskinterface_ids.h"

namespace {

// The box is brought up to date this often while the records come.
constexpr double kShowEvery = 0.25;

struct Average {
    long count = 0;
    double sum = 0;
    int lowest = 0, highest = 0;

    void add(int counts) {
        lowest = count == 0 ? counts : std::min(lowest, counts);
        highest = count == 0 ? counts : std::max(highest, counts);
        sum += counts;
        ++count;
    }
    double mean() const { return count > 0 ? sum / static_cast<double>(count) : 0.0; }
};

void showProgress(char letter, const Average& a, bool done) {
    char line[160];
    std::snprintf(line, sizeof line, "%s %c: %.1f counts, mean of %ld records (spread %d to %d)",
                  done ? "Reading" : "Taking reading", letter, a.mean(), a.count, a.lowest,
                  a.highest);
    ResetTextBox(currentPanel, CAL_TAKING, line);
}

void refuse(char letter, const char* why, const char* received = nullptr) {
    ResetTextBox(currentPanel, CAL_TAKING, "");
    clearMessages();
    if (received)
        addMessageLine("reading %c not taken: %s %s", letter, why,
                       *received ? received : "nothing");
    else
        addMessageLine("reading %c not taken: %s", letter, why);
    showMessages();
}

// Records until the time is up or the line falls silent.
Average averageRecords(char letter, int recordLength) {
    Average average;
    RecordReader reader = recordReaderFor(recordLength);
    ToolkitClock& clock = CurrentClock();
    const double end = clock.now() + kReadingSeconds;
    double nextShow = clock.now() + kShowEvery;
    char record[kTwoValueRecordLength + 1];
    while (clock.now() < end) {
        const RecordTaken taken = takeRecordFromLine(reader, record);
        if (taken == RecordTaken::Short || taken == RecordTaken::Failed)
            break;
        RecordValues values;
        if (taken == RecordTaken::Whole && readRecordValues(record, recordLength, values))
            average.add(values.counts);
        if (clock.now() >= nextShow && average.count > 0) {
            showProgress(letter, average, false);
            nextShow = clock.now() + kShowEvery;
        }
    }
    return average;
}

void takeReading(char letter, int field) {
    StreamSettings settings;
    BlockRead read;
    if (!readStreamSettings(settings, read)) {
        if (read.letterRefused)
            refuse(letter, "'r' was answered with", read.ack.text);
        else
            refuse(letter, "the settings did not come whole");
        return;
    }
    AckFrame ack;
    if (!startStream(ack)) {
        refuse(letter, "'g' was answered with", ack.text);
        return;
    }
    const Average average =
        averageRecords(letter, settings.twoValues ? kTwoValueRecordLength : kOneValueRecordLength);
    sendStopPair();
    flushQueues();
    if (average.count == 0) {
        refuse(letter, settings.rs232Data ? "no records came"
                                          : "no records came (RS232 data is off in the settings)");
        return;
    }
    SetCtrlVal(currentPanel, field, static_cast<float>(average.mean()));
    showProgress(letter, average, true);
}

}  // namespace

int takereadingacallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        takeReading('A', CAL_READING_A);
    return 0;
}

int takereadingbcallback(int, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT)
        takeReading('B', CAL_READING_B);
    return 0;
}
