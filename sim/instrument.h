// The simulated Quorvel: the instrument's side of the serial line, byte for byte.
//
// A model in time: bytes from the PC arrive through receive() at their times, in order
// of time; the bytes the instrument sends come out of advanceTo() with the time at
// which each has fully arrived at the PC (9600 baud 8N1 costs 10/9600 s a character).
// Callers must call advanceTo(t) before receive(b, t), so that everything the
// instrument sent before t is known first. The model owns no clock and no device:
// the in-process line of the tests and the quorvel-sim program drive it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace sim {

struct TimedByte {
    double time;
    uint8_t byte;
};

// Each switch on its own; all off is a healthy, awake instrument.
struct Faults {
    bool asleep = false;             // answers nothing until pressButton()
    bool noAnswer = false;           // answers nothing at all
    char wrongLetterFor = 0;         // command ('i','r','w','g', or 'D' for the block) whose ack carries a wrong letter
    char wrongLetter = 'X';          // the letter it carries then
    int cutRepliesTo = -1;           // every reply (ack or body) cut to this many characters
    bool lowerCaseHex = false;       // block text with lower-case hex letters
    bool garbage = false;            // stray characters before each reply
    double dropLineAfter = -1;       // seconds into a stream after which the line goes silent
    bool omitBlockChecksum = false;  // 'r' answers the 129 characters without the 2 checksum ones
};

struct Options {
    double baud = 9600;             // wire rate; a faster line costs less per character
    double recordsPerSecond = 0;    // 0: as fast as the line carries
    std::string serialNumber = "QV-0000012345";  // padded/cut to 14 characters
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

    // The block as the instrument keeps it (43 bytes).
    std::array<uint8_t, 43>& block() { return block_; }
    const std::array<uint8_t, 43>& block() const { return block_; }
    std::string blockText(bool withChecksum) const;  // read form, upper-case hex

    // The simulated level, as a fraction 0..1 of the gauge.
    void setLevel(double fraction) { level_ = fraction; }
    double level() const { return level_; }
    // Counts the instrument reports for its present level through gain, zero and length.
    int reportedCounts() const;

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

private:
    // implementation state is the model's own
    Options options_;
    Faults faults_;
    std::array<uint8_t, 43> block_{};
    std::vector<TimedByte> received_;
    double level_ = 0.5;
    int recordsSent_ = 0;
    int blocksWritten_ = 0;
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace sim
