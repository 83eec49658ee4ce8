// The instrument's protocol state machine and its paced output queue.
//
// Commands are handled when they arrive; replies are queued as characters with the time
// each will have fully arrived at the PC, back to back on one transmitter (lineFree_).
// Live records are made lazily, up to the time the caller advances to, so a stream costs
// nothing until someone looks at the line.
#include "sim/instrument.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "sim/model/gauge.h"

namespace sim {
namespace {

constexpr double kReplyLatency = 0.002;
constexpr double kBlockTimeout = 2.0;
constexpr double kDriftPeriod = 20.0;
constexpr char kGarbage[] = "~#";
constexpr size_t kSerialNumberLength = 14;

std::string ackFrame(char letter, bool refused) {
    return std::string{'<', letter, '>'} + (refused ? "NO" : "OK");
}

ClockBytes clockBytesOf(const Block& block) {
    ClockBytes bytes;
    std::copy_n(block.begin() + kClockByte, bytes.size(), bytes.begin());
    return bytes;
}

void putClockBytes(Block& block, const ClockBytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), block.begin() + kClockByte);
}

// Another hex digit in the digit's place, in its case: 0 becomes 5, A becomes F, F becomes 4.
void damageInTransit(std::string& text, int position) {
    if (position < 0 || position >= kReadFormLength || position % 3 == 2)
        return;
    static constexpr char kUpper[] = "0123456789ABCDEF";
    static constexpr char kLower[] = "0123456789abcdef";
    char& c = text[static_cast<size_t>(position)];
    const bool lower = c >= 'a' && c <= 'f';
    const int value = c <= '9' ? c - '0' : (lower ? c - 'a' : c - 'A') + 10;
    c = (lower ? kLower : kUpper)[(value + 5) % 16];
}

}  // namespace

Instrument::Instrument(Options options) : options_(std::move(options)), block_(defaultBlock()) {
    shownClock_ = clock_.bytesAt(0);
    putClockBytes(block_, shownClock_);
}

void Instrument::setBaud(double baud) {
    if (baud > 0)
        options_.baud = baud;
}

// Brings the clock bytes of the block up to `time`. Bytes that differ from what the clock
// last put there were changed from outside (a test arranging the block) and set the clock.
void Instrument::catchUp(double time) {
    const ClockBytes inBlock = clockBytesOf(block_);
    if (inBlock != shownClock_)
        clock_.set(inBlock, now_);
    now_ = std::max(now_, time);
    shownClock_ = clock_.bytesAt(now_);
    putClockBytes(block_, shownClock_);
}

void Instrument::receive(uint8_t byte, double time) {
    received_.push_back({time, byte});
    produceRecords(time);
    catchUp(time);
    if (faults_.noAnswer || faults_.asleep || lineDroppedAt(time))
        return;

    if (mode_ == Mode::TakingBlock && time > blockDeadline_) {
        mode_ = Mode::Idle;  // the block never came in full: forget it
        incomingBlock_.clear();
    }
    switch (mode_) {
        case Mode::TakingBlock:
            takeBlockCharacter(byte, time);
            break;
        case Mode::Streaming:
            if (byte == 't' && stopHalfSeen_ && !faults_.ignoreStopPair)
                mode_ = Mode::Idle;
            stopHalfSeen_ = byte == 's';
            break;
        case Mode::Idle:
            handleCommand(byte, time);
            break;
    }
}

void Instrument::advanceTo(double time, std::vector<TimedByte>& out) {
    produceRecords(time);
    while (!pending_.empty() && pending_.front().time <= time) {
        const Pending next = pending_.front();
        pending_.pop_front();
        if (lineDroppedAt(next.time))
            continue;
        out.push_back({next.time, next.byte});
        if (next.endsRecord)
            ++recordsSent_;
    }
    catchUp(time);
}

void Instrument::pressButton() {
    faults_.asleep = false;
}

void Instrument::handleCommand(uint8_t byte, double time) {
    const double replyAt = time + kReplyLatency;
    switch (byte) {
        case 'i':
            if (acknowledge('i', 'I', replyAt))
                send(serialNumberField() + '\r', replyAt);
            break;
        case 'r':
            if (acknowledge('r', 'R', replyAt)) {
                Block shown = block_;
                putClockBytes(shown, clock_.bytesAt(replyAt));
                std::string text =
                    sim::blockText(shown, !faults_.omitBlockChecksum, faults_.lowerCaseHex);
                damageInTransit(text, faults_.damageBlockCharacter);
                send(text, replyAt);
            }
            break;
        case 'w':
            if (acknowledge('w', 'W', replyAt)) {
                mode_ = Mode::TakingBlock;
                incomingBlock_.clear();
                blockDeadline_ = time + kBlockTimeout;
            }
            break;
        case 'g':
            if (acknowledge('g', 'G', replyAt))
                startStream(replyAt);
            break;
        default:
            break;  // 's', 't', line ends and noise are harmless
    }
}

void Instrument::takeBlockCharacter(uint8_t byte, double time) {
    incomingBlock_ += static_cast<char>(byte);
    if (incomingBlock_.size() < kWriteFormLength)
        return;
    mode_ = Mode::Idle;
    const auto written = parseWriteForm(incomingBlock_);
    incomingBlock_.clear();
    const double replyAt = time + kReplyLatency;
    if (!written) {
        acknowledge('D', 'E', replyAt);
    } else if (acknowledge('D', 'D', replyAt)) {
        storeBlock(*written, time);
    }
}

void Instrument::storeBlock(const Block& written, double time) {
    block_ = written;
    if (block_[kFlagsByte] & kClockSetFlag) {
        clock_.set(clockBytesOf(block_), time);
        block_[kFlagsByte] &= static_cast<uint8_t>(~kClockSetFlag);
    }
    // Without the flag the clock bytes of a write are not a time to take.
    shownClock_ = clock_.bytesAt(now_);
    putClockBytes(block_, shownClock_);
    ++blocksWritten_;
}

// Sends the acknowledgement for `command`; true when it carries the letter that lets the
// exchange go on.
bool Instrument::acknowledge(char command, char letter, double time) {
    const bool wrong = faults_.wrongLetterFor == command;
    const char sent = wrong ? faults_.wrongLetter : letter;
    send(ackFrame(sent, letter == 'E'), time);
    return !wrong && letter != 'E';
}

void Instrument::send(const std::string& unit, double time, bool isRecord) {
    std::string wire = faults_.garbage ? kGarbage : "";
    const int cut = faults_.cutRepliesTo;
    wire += cut >= 0 && static_cast<size_t>(cut) < unit.size() ? unit.substr(0, cut) : unit;
    double at = std::max(lineFree_, time);
    for (size_t i = 0; i < wire.size(); ++i) {
        at += charTime();
        pending_.push_back({at, static_cast<uint8_t>(wire[i]), isRecord && i + 1 == wire.size()});
    }
    lineFree_ = at;
}

void Instrument::startStream(double time) {
    mode_ = Mode::Streaming;
    stopHalfSeen_ = false;
    streamStart_ = time;
    nextRecordAt_ = time;
    twoValues_ = (block_[kFlagsByte] & kSecondChannelFlag) != 0;
}

void Instrument::produceRecords(double until) {
    const double gap = options_.recordsPerSecond > 0 ? 1.0 / options_.recordsPerSecond : 0.0;
    while (mode_ == Mode::Streaming && nextRecordAt_ <= until) {
        const double madeAt = nextRecordAt_;
        if (lineDroppedAt(madeAt)) {
            nextRecordAt_ = until;  // nobody hears them; no backlog either
            break;
        }
        const double wave = std::sin(2 * std::numbers::pi * (madeAt - streamStart_) / kDriftPeriod);
        const int counts = countsForLevel(level_ + drift_ * wave, block_);
        const int sixteenths = static_cast<int>(std::lround(temperature_ * 16));
        std::string record =
            faults_.streamTexts.empty()
                ? liveRecord(counts, sixteenths, twoValues_)
                : faults_
                      .streamTexts[static_cast<size_t>(recordsMade_) % faults_.streamTexts.size()];
        if (const auto text = faults_.recordTexts.find(recordsMade_ + 1);
            text != faults_.recordTexts.end())
            record = text->second;
        if (++recordsMade_ == faults_.dropCharacterOfRecord)
            record.erase(0, 1);
        send(record, madeAt, true);
        // The instrument paces itself by its own transmitter, whatever a fault cuts away.
        const double ownPace = static_cast<double>(std::max<size_t>(record.size(), 1)) * charTime();
        nextRecordAt_ = std::max(madeAt + std::max(gap, ownPace), lineFree_);
    }
}

bool Instrument::lineDroppedAt(double time) const {
    return faults_.dropLineAfter >= 0 && streamStart_ >= 0 &&
           time >= streamStart_ + faults_.dropLineAfter;
}

std::string Instrument::serialNumberField() const {
    std::string field = options_.serialNumber.substr(0, kSerialNumberLength);
    field.resize(kSerialNumberLength, ' ');
    return field;
}

std::string Instrument::blockText(bool withChecksum) const {
    return sim::blockText(block_, withChecksum);
}

int Instrument::reportedCounts() const {
    return countsForLevel(level_, block_);
}

std::string Instrument::receivedText() const {
    std::string text;
    text.reserve(received_.size());
    for (const auto& b : received_) text += static_cast<char>(b.byte);
    return text;
}

bool Instrument::isAsleep() const {
    return faults_.asleep;
}

bool Instrument::isStreaming() const {
    return mode_ == Mode::Streaming;
}

double Instrument::clockSecondsAt(double t) const {
    return clock_.secondsAt(t);
}

double Instrument::nextOutputTime() const {
    double next = std::numeric_limits<double>::infinity();
    if (!pending_.empty())
        next = pending_.front().time;
    if (mode_ == Mode::Streaming && !lineDroppedAt(nextRecordAt_))
        next = std::min(next, std::max(nextRecordAt_, lineFree_) + charTime());
    return next;
}

}  // namespace sim
