// Every fact of the wire in one place: the command letters and the letters that answer
// them, the pauses between the steps of an exchange, the lengths the tool reads, and the
// layout of the 43-byte settings block (its byte indices, the bits of its flag byte and
// where a byte stands in the block text).
//
// Nothing here talks to the line; link/, settings/, live/ and calibration/ speak in these
// names, so a fact of the instrument is stated once.
#pragma once

// The line.
inline constexpr long kBaudRate = 9600;
inline constexpr int kQueueSize = 512;      // input and output queues of the port
inline constexpr double kComTimeout = 3.0;  // every read and write on the port

// Command letters, PC to instrument.
inline constexpr char kStopCommand = 's';      // first of the stop pair and the wake-up
inline constexpr char kStopSecond = 't';       // second of the pair
inline constexpr char kIdentifyCommand = 'i';  // answered 'I' and the identity reply
inline constexpr char kReadCommand = 'r';      // answered 'R' and the block text
inline constexpr char kWriteCommand = 'w';     // answered 'W'; the text is answered 'D'
inline constexpr char kGoCommand = 'g';        // answered 'G' and live records; also quits
inline constexpr char kCarriageReturn = 13;
inline constexpr char kLineFeed = 10;

// Response letters: byte 1 of an acknowledgement.
inline constexpr char kIdentifyReply = 'I';
inline constexpr char kReadReply = 'R';
inline constexpr char kWriteReply = 'W';
inline constexpr char kWrittenReply = 'D';
inline constexpr char kGoReply = 'G';

// Pauses, in seconds.
inline constexpr double kSettleDelay = 0.5;    // before a block read; after the written text
inline constexpr double kStepDelay = 0.2;      // between a command and its reply, and the rest
inline constexpr double kShowPause = 1.0;      // a settings panel stays dimmed after a read
inline constexpr double kWakeStepDelay = 0.1;  // between 's' and 't' of the wake-up
inline constexpr double kWakeDelay = 2.0;      // the instrument wakes after 't'
inline constexpr double kQuitPause = 0.1;      // after the quit bytes
// How long a write action waits, behind the 129 characters, for the two checksum
// characters an instrument may send: about twenty character times at 9600 baud, room for
// the two and a USB adapter's latency, never the port's time-out.
inline constexpr double kChecksumWait = 0.02;

// Read lengths.
inline constexpr int kAckFrameLength = 5;
inline constexpr int kIdentityReplyLength = 15;
inline constexpr int kSerialNumberLength = 14;  // the identity reply's serial number
inline constexpr int kBlockTextLength = 129;    // 43 groups of two hex digits and a comma
inline constexpr int kBlockWriteLength = 131;   // the text and its two checksum digits
inline constexpr int kBlockReadWithChecksum = 131;
inline constexpr int kChecksumLength = 2;
inline constexpr int kClockReadLength = kAckFrameLength + kBlockTextLength;  // one read

// The settings block.
inline constexpr int kBlockBytes = 43;
inline constexpr int kScaleTrimByte = 1;
inline constexpr int kRangeCodeByte = 2;
inline constexpr int kGainByte = 3;  // high byte of a signed 16-bit pair; low byte 4
inline constexpr int kZeroByte = 5;  // high byte of a signed 16-bit pair; low byte 6
inline constexpr int kSettingByte7 = 7;
inline constexpr int kSettingByte8 = 8;
inline constexpr int kSettingByte9 = 9;
inline constexpr int kSettingByte10 = 10;
inline constexpr int kClockSecondsByte = 11;  // clock bytes 11 (seconds) to 17 (year)
inline constexpr int kClockMinutesByte = 12;
inline constexpr int kClockHoursByte = 13;
inline constexpr int kClockDayOfWeekByte = 14;
inline constexpr int kClockDayOfMonthByte = 15;
inline constexpr int kClockMonthByte = 16;
inline constexpr int kClockYearByte = 17;
inline constexpr int kStartMinuteByte = 18;  // scheduled start bytes 18 to 22 (year)
inline constexpr int kStartHourByte = 19;
inline constexpr int kStartDayByte = 20;
inline constexpr int kStartMonthByte = 21;
inline constexpr int kStartYearByte = 22;
inline constexpr int kSettingByte23 = 23;  // 0 to 15: written with room for one hex digit
inline constexpr int kSettingByte23Max = 15;
inline constexpr int kLengthTenthsByte = 24;
inline constexpr int kFlagByte = 42;

// Bits of the flag byte 42.
inline constexpr int kOptionBit0 = 0x01;
inline constexpr int kRs232DataFlag = 0x02;
inline constexpr int kClockSetFlag = 0x08;
inline constexpr int kSecondChannelFlag = 0x10;
inline constexpr int kScheduledStartFlag = 0x20;
inline constexpr int kOptionBit6 = 0x40;
// What the qv write keeps of the byte it read: bits 7, 3 (clock set) and 2.
inline constexpr int kQvKeptFlagBits = 0x8C;

// Where byte `index` stands in the block text: two hex digits, then a comma.
constexpr int blockTextPosition(int index) {
    return 3 * index;
}
constexpr int blockCommaPosition(int index) {
    return 3 * index + 2;
}
inline constexpr int kChecksumPosition = kBlockTextLength;  // 129 and 130 of the write form
