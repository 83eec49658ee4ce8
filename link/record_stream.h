// Taking the instrument's fixed-length live records off the line, in step.
//
// A record is "%4d\r" (one value) or "%4d, %4d\r" (two values). When the records of a
// stream carry a line end, a whole-length record that does not end with one is out of
// step (a character was lost on the line): the characters up to the next line end are
// skipped and the reader starts the following record behind it, so one lost character
// costs one record. Records without a line end are judged by their value alone.
//
// Whatever a take skips is still kept: each take leaves in its reader the piece of the
// stream it took off the line, so that the pieces of a run, one after another, are every
// character received, in order, whole records or not.
#pragma once

#include "link/protocol.h"

inline constexpr int kOneValueRecordLength = 5;
inline constexpr int kTwoValueRecordLength = 11;
inline constexpr int kSecondValueOffset = 6;
// A record that has lost its line end is skipped up to the next one; the line is not read
// for ever when none comes.
inline constexpr int kLongestResync = 4 * kTwoValueRecordLength;
inline constexpr int kLongestPiece = kTwoValueRecordLength + kLongestResync;

enum class RecordTaken {
    Whole,   // the record's characters are at the start of the buffer
    Short,   // the read ended at the time-out with fewer characters (or, for
             // takeReceivedRecord, the record has not all arrived)
    Broken,  // out of step or not a number: never shown as a reading
    Failed,  // the line reported an error; its status is in comStatus
};

struct RecordReader {
    int length = kOneValueRecordLength;
    int lineEnd = -1;  // the line end the stream's records carry; -1 while none was seen
    int carried = 0;   // characters of the next record already taken off the line
    char carry[kTwoValueRecordLength] = {};
    bool onlyReceived = false;  // takeReceivedRecord: never wait for a character
    // The characters the latest take took off the line, in the order they came: the
    // record; for one out of step, up to the line end where the stream was taken up again;
    // for one cut short, what came of it. Empty when the take took nothing.
    char piece[kLongestPiece] = {};
    int pieceLength = 0;
};

// A reader for a stream of `length`-character records, nothing seen yet.
RecordReader recordReaderFor(int length);
// Reads the next record into `buffer` (room for the record's length and a terminator).
RecordTaken takeRecordFromLine(RecordReader& reader, char* buffer);
// The same for a record whose characters have all been received: nothing waits for the
// line, and a record not yet all there is Short, its characters left on the line. A
// record out of step is skipped only as far as its characters have come.
RecordTaken takeReceivedRecord(RecordReader& reader, char* buffer);
// Once the stream has ended: the characters received of a record that never came whole,
// taken off the line as a piece of their own (Short; Short with an empty piece when
// there are none).
RecordTaken takeReceivedRemainder(RecordReader& reader);

// A whole record is a reading only when each of its values is one: blanks before it
// aside, a decimal count from 0 to 4095 (the instrument's scale), followed in a two-value
// record by the separator (commas and blanks) up to character 6, and at the record's end
// by nothing but its line end. "12a4", "9999", "-001" and "+123" are not readings.
inline constexpr int kHighestCount = 4095;
struct RecordValues {
    int counts = 0;
    bool hasSecond = false;
    int counts2 = 0;
};
// True, with the values, when the `length` characters at `record` (one of the two record
// lengths) are a reading; false, leaving `values` as they were, otherwise.
bool readRecordValues(const char* record, int length, RecordValues& values);

// The start exchange of a stream: the settings block is read ('r'), the record form and
// gauge length taken from it, both queues flushed and 'g' sent. What a start learns:
struct StreamSettings {
    bool twoValues = false;
    bool rs232Data = false;  // the instrument is set to send records at all
    int lengthTenths = 0;
};
// Reads the block; false, with ioBuffer holding the refusal, when it did not come whole.
bool readStreamSettings(StreamSettings& settings, struct BlockRead& read);
// Flushes both queues, sends 'g' and reads its acknowledgement into `ack`; true on 'G'.
bool startStream(struct AckFrame& ack);
