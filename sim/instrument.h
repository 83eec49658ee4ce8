// The simulated Quorvel: the instrument's side of the serial line, byte for byte.
//
// A model in time: bytes from the PC arrive through receive() at their times, in order
// of time; the bytes the instrument sends come out of advanceTo() with the time at
// which each has fully arrived at the PC (9600 baud 8N1 costs 10/9600 s a character).
// Callers must call advanceTo(t) before receive(b, t), so that everything the
// instrument sent before t is known first. The model owns no clock and no device:
// the in-process line of the tests and the quorvel-sim program drive it.
//
// Behaviour, as the tool relies on it:
// - Asleep (faults().asleep) it answers nothing until pressButton(). Awake and idle it
//   answers 'i', 'r', 'w' and 'g' and ignores every other byte ('s', 't', CR, LF, ...).
// - Every answered command gets a 5-character acknowledgement "<L>OK" (L: the response
//   letter), or "<E>NO" for a block it refuses; replies start 2 ms after the command and
//   follow each other back to back at the wire rate.
// - 'i': "<I>OK", then the 14-character serial number and CR.
// - 'r': "<R>OK", then the block text with its clock bytes showing the present time, and
//   the two checksum characters (a damaged character, when that fault is on, is damaged on
//   the way only: the block kept is untouched).
// - 'w': "<W>OK", then it takes 131 characters within 2 s of the 'w' and stores them
//   ("<D>OK") only when they are upper-case hex groups with every comma and the right
//   checksum; otherwise "<E>NO" and the old block stays. Too few characters in time: it
//   gives up silently. A stored block with the clock-set flag sets the clock from its bytes
//   11..17; the instrument then clears the flag, so that a later write that merely keeps
//   the bit (as the qv write does) cannot set the clock back to a stale time.
// - 'g': "<G>OK", then live records (see sim/model/gauge.h) until 's' followed by 't'
//   (never, with the ignoreStopPair fault). While streaming nothing else is heard.
// - A wrong-letter fault answers its command with the wrong letter and then does nothing
//   more for it: no body, no stream, no stored block.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "sim/model/block.h"
#include "sim/model/rtc.h"

namespace sim {

struct TimedByte {
    double time;
    uint8_t byte;
};

// Each switch on its own; all off is a healthy, awake instrument.
struct Faults {
    bool asleep = false;    // answers nothing until pressButton()
    bool noAnswer = false;  // answers nothing at all
    char wrongLetterFor =
        0;  // command ('i','r','w','g', or 'D' for the block) whose ack carries a wrong letter
    char wrongLetter = 'X';     // the letter it carries then
    int cutRepliesTo = -1;      // every reply (ack, body, live record) cut to this many characters
    bool lowerCaseHex = false;  // block text with lower-case hex letters
    bool garbage = false;       // stray characters ("~#") before each reply and record
    double dropLineAfter = -1;  // seconds into a stream after which the line goes silent
    bool omitBlockChecksum = false;  // 'r' answers the 129 characters without the 2 checksum ones
    // 'r' answers with the hex digit at this position (0..128) of its block text changed to
    // another valid one, as a line without parity may; the checksum stays as computed from
    // the block kept, so it no longer matches the text. -1: off. A comma is left alone.
    int damageBlockCharacter = -1;
    bool ignoreStopPair = false;     // a stream goes on after 's' 't', as if never heard
    int dropCharacterOfRecord = -1;  // the record (from 1, counted over the instrument's life)
                                     // whose first character is lost on the line
    // Records (from 1, counted over the instrument's life) sent as the text given instead
    // of a reading, as a faulty instrument might: "12a4\r", "9999\r".
    std::map<int, std::string> recordTexts;
    // When not empty, the stream's records are these texts in turn instead of readings
    // (recordTexts still take the place of theirs): any bytes, of any length.
    std::vector<std::string> streamTexts;
};

struct Options {
    double baud = 9600;           // wire rate; a faster line costs less per character
    double recordsPerSecond = 0;  // 0: as fast as the line carries
    std::string serialNumber = "QV-0000012345";  // padded with blanks/cut to 14 characters
};

class Instrument {
  public:
    explicit Instrument(Options options = {});

    void receive(uint8_t byte, double time);
    void advanceTo(double time, std::vector<TimedByte>& out);
    void pressButton();  // wakes an asleep instrument

    Faults& faults() { return faults_; }
    const Options& options() const { return options_; }
    void setBaud(double baud);

    // The block as the instrument keeps it (43 bytes). Its clock bytes show the time of the
    // latest advanceTo/receive; changing them here sets the clock, as a write would.
    std::array<uint8_t, 43>& block() { return block_; }
    const std::array<uint8_t, 43>& block() const { return block_; }
    std::string blockText(bool withChecksum) const;  // read form, upper-case hex

    // The simulated level, as a fraction 0..1 of the gauge.
    void setLevel(double fraction) { level_ = fraction; }
    double level() const { return level_; }
    // Counts the instrument reports for its present level through gain, zero and length.
    int reportedCounts() const;
    // While streaming the level wanders by this much around setLevel's (a 20 s sine wave
    // from the start of the stream), so a chart moves; 0 keeps records steady. Default 0.05.
    void setDrift(double amplitude) { drift_ = amplitude; }
    // The second value of two-value records, in degrees (sent in 1/16ths). Default 20.5.
    void setTemperature(double celsius) { temperature_ = celsius; }

    // Everything received, with the time of each byte.
    const std::vector<TimedByte>& received() const { return received_; }
    std::string receivedText() const;
    void clearReceived() { received_.clear(); }

    bool isAsleep() const;
    bool isStreaming() const;
    int recordsSent() const { return recordsSent_; }
    int blocksWritten() const { return blocksWritten_; }
    // The clock's seconds since 2000-01-01 00:00:00 at model time `t`.
    double clockSecondsAt(double t) const;
    // When the next byte will have arrived at the PC, if nothing more is received
    // (infinity when the instrument has nothing to send).
    double nextOutputTime() const;

  private:
    enum class Mode { Idle, TakingBlock, Streaming };
    struct Pending {
        double time;
        uint8_t byte;
        bool endsRecord;
    };

    double charTime() const { return 10.0 / options_.baud; }
    void catchUp(double time);
    void handleCommand(uint8_t byte, double time);
    void takeBlockCharacter(uint8_t byte, double time);
    void storeBlock(const Block& written, double time);
    bool acknowledge(char command, char letter, double time);
    void send(const std::string& unit, double time, bool isRecord = false);
    void startStream(double time);
    void produceRecords(double until);
    bool lineDroppedAt(double time) const;
    std::string serialNumberField() const;

    Options options_;
    Faults faults_;
    std::array<uint8_t, 43> block_{};
    std::vector<TimedByte> received_;
    double level_ = 0.5;
    int recordsSent_ = 0;
    int recordsMade_ = 0;
    int blocksWritten_ = 0;

    Mode mode_ = Mode::Idle;
    double now_ = 0;
    double lineFree_ = 0;  // when the last queued character has gone out
    std::deque<Pending> pending_;
    std::string incomingBlock_;
    double blockDeadline_ = 0;
    double streamStart_ = -1;  // start of the latest stream; -1 before the first
    double nextRecordAt_ = 0;
    bool twoValues_ = false;
    bool stopHalfSeen_ = false;
    double drift_ = 0.05;
    double temperature_ = 20.5;
    RealTimeClock clock_;
    ClockBytes shownClock_{};  // what the clock bytes of block_ were last set to
};

}  // namespace sim
