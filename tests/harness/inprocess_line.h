// An in-process serial backend for tests: each port number can be wired to a peer that
// plays the instrument, in the toolkit clock's time (the virtual clock, in scenarios).
//
// Bytes the program writes reach the peer one character time apart (10 bits at the
// opened baud rate), each after the one before. The peer's bytes carry their arrival
// times and are read once the clock has reached them. A port with no peer behaves like
// a cable with nothing on it: opens succeed and reads end at the time-out.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/instrument.h"
#include "toolkit/serial/serial_line.h"

// The far end of the line. The line calls advanceTo(t) before every receive(b, t), so the
// peer can hand out everything it sent before t first.
class LinePeer {
  public:
    virtual ~LinePeer() = default;
    virtual void receive(uint8_t byte, double time) = 0;
    // Appends the bytes sent up to `time`, each with the time it has fully arrived.
    virtual void advanceTo(double time, std::vector<sim::TimedByte>& out) = 0;
};

// The simulated instrument as a peer.
class InstrumentPeer : public LinePeer {
  public:
    explicit InstrumentPeer(sim::Instrument& instrument) : instrument_(instrument) {}
    void receive(uint8_t byte, double time) override { instrument_.receive(byte, time); }
    void advanceTo(double time, std::vector<sim::TimedByte>& out) override {
        instrument_.advanceTo(time, out);
    }

  private:
    sim::Instrument& instrument_;
};

class InProcessBackend : public SerialBackend {
  public:
    struct OpenRecord {
        int port;
        std::string deviceName;
        LineSettings settings;
    };

    InProcessBackend();
    ~InProcessBackend() override;

    // Wires `port` to `peer` (nullptr: nothing on the cable).
    void attach(int port, LinePeer* peer);
    // Every later open fails with `error` (negative); 0 lets opens succeed again.
    void failOpens(int error);
    // Reads on `port` return `error` (negative) until called again with 0.
    void failReads(int port, int error);
    // The line open on `port` goes away: its every call returns kComDeviceLost.
    // A later open of the port gets a working line again.
    void dropLine(int port);
    // Lines opened afterwards sleep a stream's gathering time (SetComReadGathering) when a
    // read must wait, as the real line does. Off by default: records then arrive one by
    // one, each at its own time.
    void gatherReads(bool on) { gatherReads_ = on; }

    bool isOpen(int port) const;
    // Every open asked for, in order, failed ones included.
    const std::vector<OpenRecord>& opens() const { return opens_; }

    std::unique_ptr<SerialLine> open(int port, const std::string& deviceName,
                                     const LineSettings& settings, OpenError& error) override;

    struct Wire;

  private:
    Wire& wire(int port);

    std::map<int, std::unique_ptr<Wire>> wires_;
    std::vector<OpenRecord> opens_;
    int openError_ = 0;
    bool gatherReads_ = false;
};
