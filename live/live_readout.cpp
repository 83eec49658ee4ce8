// The start button's exchange and the reading loop of a live run.
//
// The loop takes records of a fixed length, chosen at the start from the settings block;
// a read that does not bring a whole record is shown as such and neither plotted nor
// logged. The loop looks up currentPanel afresh on every pass.
#include "live/live_readout.h"

#include <cstring>
#include <string>

#include "link/block_read.h"
#include "link/messages.h"
#include "link/panel_set.h"
#include "link/parameter_block.h"
#include "live/live_log.h"
#include "live/live_record.h"
#include "toolkit/panels/shell.h"
#include "toolkit/panels/userint.h"
#include "ui/vaskinterface_ids.h"

uint16_t liveRunning = 0;
int twoChannelMode = 0;
unsigned long liveRecordsShown = 0;
unsigned long liveRecordsMissed = 0;

namespace {

// Reads the settings block and takes from it the record form and the gauge length.
// Returns false, with the reason shown, when no run may start.
bool readRunSettings(float& fullScale) {
    clearMessages();
    const BlockRead read = readBlock(kLiveStartRead);
    if (!read.ok) {
        reportBlockReadFailure(kLiveStartRead, read);
        return false;
    }
    const int flags = getBlockByte(kFlagByte);
    twoChannelMode = (flags & kSecondChannelFlag) ? 1 : 0;
    const int lengthTenths = getBlockByte(kLengthTenthsByte);
    if ((flags & kRs232DataFlag) == 0) {
        MessagePopup("Configuration Error",
                     "Please go to the configuration window to enable RS232 data");
    }
    fullScale = static_cast<float>(lengthTenths * 0.1);
    return true;
}

// Sends 'g' and at once reads its acknowledgement. A wrong letter is reported with the
// characters that came, or with why none did.
bool streamAcknowledged() {
    sendCommand(kGoCommand);
    AckFrame ack;
    readAck(ack);
    if (ack.letter() == kGoReply)
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

// One pass: a record into ioBuffer, its values to the panel, its characters to the log.
void takeRecord(int recordLength, float fullScale) {
    const int count = readReply(ioBuffer, recordLength);
    if (count < 0) {
        // The line is gone (an adapter pulled out): the run ends instead of spinning on
        // failed reads, and the operator reads why.
        endLiveRun();
        reportErrorCode(count);
        return;
    }
    if (count != recordLength) {
        ++liveRecordsMissed;
        ResetTextBox(currentPanel, LIVE_RECORD, kNoRecordLine);
        return;
    }
    LiveRecord record;
    parseLiveRecord(ioBuffer, recordLength, fullScale, record);
    if (record.hasSecond)
        SetCtrlVal(currentPanel, LIVE_SECOND, static_cast<double>(record.second));
    PlotStripChartPoint(currentPanel, LIVE_CHART, record.plotted);
    ioBuffer[recordLength] = '\n';
    writeLogRecord(ioBuffer, recordLength + 1);
    showRecordText(ioBuffer, recordLength);
    ++liveRecordsShown;
}

// The status bar counts the records of the run; a few updates a second are plenty.
void showRecordsInStatus(bool now) {
    constexpr unsigned long kRecordsPerUpdate = 32;
    if (!now && liveRecordsShown % kRecordsPerUpdate != 0)
        return;
    const std::string text = std::to_string(liveRecordsShown) + " records";
    SetStatusField(StatusField::Records, text.c_str());
}

}  // namespace

void endLiveRun() {
    liveRunning = 0;
    sendStopPair();
    closeLog();
}

void resetReadoutState() {
    liveRunning = 0;
    twoChannelMode = 0;
    liveRecordsShown = 0;
    liveRecordsMissed = 0;
}

int startgcallback(int panel, int, int event, void*, int, int) {
    // A press queued before the button was dimmed must not start a run inside the run.
    if (event != EVENT_COMMIT || liveRunning == 1)
        return 0;
    float fullScale = 0.0f;
    if (!readRunSettings(fullScale))
        return 0;
    // The form is fixed for the whole run, even if a later start reads another block.
    const int recordLength = twoChannelMode == 1 ? kTwoValueRecordLength : kOneValueRecordLength;

    flushQueues();
    if (!streamAcknowledged())
        return 0;

    ResetTextBox(currentPanel, LIVE_RECORD, "");
    liveRunning = 1;
    liveRecordsShown = 0;
    liveRecordsMissed = 0;
    SetCtrlAttribute(panel, LIVE_START, ATTR_DIMMED, 1);
    SetAxisRange(currentPanel, LIVE_CHART, VAL_NO_CHANGE, 0.0, 0.0, VAL_MANUAL, 0.0, fullScale);
    while (liveRunning == 1) {
        takeRecord(recordLength, fullScale);
        showRecordsInStatus(false);
        GetUserEvent(0, nullptr, nullptr);
    }
    showRecordsInStatus(true);
    // The panel may be gone by now; the toolkit then refuses the call and nothing happens.
    SetCtrlAttribute(panel, LIVE_START, ATTR_DIMMED, 0);
    return 0;
}
