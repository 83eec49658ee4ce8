// The in-process line. Each port has a wire that outlives the lines opened on it, so the
// peer sees one continuous timeline across reopens.
//
// Written bytes are handed to the peer at once, stamped with their arrival times; the
// peer is never asked about a time earlier than one it was already told about. A read
// asks the peer no further than where the read will end, and never past the next
// scheduled clock action, since that action may write and the peer must hear it first.
#include "tests/harness/inprocess_line.h"

#include <algorithm>
#include <deque>

#include "tests/harness/virtual_clock.h"
#include "toolkit/platform/clock.h"

class InProcessLine;

struct InProcessBackend::Wire {
    LinePeer* peer = nullptr;
    double peerTime = 0;                  // the peer has been advanced up to here
    double transmitFreeAt = 0;            // when the PC's last written byte has fully arrived
    std::deque<sim::TimedByte> incoming;  // sent by the peer, not yet read or flushed
    int readError = 0;
    InProcessLine* line = nullptr;

    // Collects what the peer sent up to `time`, keeping the stream in order.
    void advancePeer(double time) {
        if (!peer || time < peerTime)
            return;
        peerTime = time;
        std::vector<sim::TimedByte> sent;
        peer->advanceTo(time, sent);
        for (sim::TimedByte b : sent) {
            if (!incoming.empty())
                b.time = std::max(b.time, incoming.back().time);
            incoming.push_back(b);
        }
    }

    // A read leaves the peer less than a character time ahead of the clock (see
    // whenArrived), so a byte written right after it still arrives in order.
    void transmit(uint8_t byte, double now, double characterTime) {
        const double arrival = std::max(std::max(now, transmitFreeAt) + characterTime, peerTime);
        transmitFreeAt = arrival;
        if (!peer)
            return;
        advancePeer(arrival);
        peer->receive(byte, arrival);
    }

    // Moves up to `count` bytes that have arrived by `now` into `out`.
    int takeArrived(double now, char* out, int count) {
        int taken = 0;
        while (taken < count && !incoming.empty() && incoming.front().time <= now) {
            out[taken++] = static_cast<char>(incoming.front().byte);
            incoming.pop_front();
        }
        return taken;
    }

    // How many bytes have arrived by `now` and wait to be read.
    int countArrived(double now) const {
        int count = 0;
        for (const auto& b : incoming) {
            if (b.time > now)
                break;
            ++count;
        }
        return count;
    }

    // When the `missing`-th byte not yet read has arrived, or `horizon` if that is
    // sooner. The peer is stepped one character time at a time: it cannot be told
    // about the past, so it must not run ahead of where the reading will stop.
    double whenArrived(size_t missing, double now, double horizon, double characterTime) {
        for (int step = 1;; ++step) {
            if (incoming.size() >= missing)
                return std::min(incoming[missing - 1].time, horizon);
            const double probe = std::min(now + step * characterTime, horizon);
            if (!peer || probe <= now)
                return horizon;
            advancePeer(probe);
            if (probe >= horizon && incoming.size() < missing)
                return horizon;
        }
    }

    void dropArrived(double now) {
        while (!incoming.empty() && incoming.front().time <= now) incoming.pop_front();
    }
};

class InProcessLine : public SerialLine {
  public:
    InProcessLine(InProcessBackend::Wire& wire, double characterTime, bool gathers)
        : wire_(&wire), characterTime_(characterTime), gathers_(gathers) {
        wire.line = this;
    }
    ~InProcessLine() override {
        if (wire_ && wire_->line == this)
            wire_->line = nullptr;
    }

    void drop() { dropped_ = true; }
    void detach() { wire_ = nullptr; }

    int flushInput() override {
        if (!usable())
            return kComDeviceLost;
        const double now = CurrentClock().now();
        wire_->advancePeer(now);
        wire_->dropArrived(now);
        return kComNoError;
    }

    // Written bytes are on the wire at once; nothing waits in the program to be dropped.
    int flushOutput() override { return usable() ? kComNoError : kComDeviceLost; }

    int write(const char* data, int count) override {
        if (!usable())
            return kComDeviceLost;
        const double now = CurrentClock().now();
        for (int i = 0; i < count; ++i)
            wire_->transmit(static_cast<uint8_t>(data[i]), now, characterTime_);
        return count;
    }

    int read(char* buffer, int count, double timeoutSeconds) override {
        if (!usable())
            return kComDeviceLost;
        if (wire_->readError < 0)
            return wire_->readError;
        ToolkitClock& clock = CurrentClock();
        auto* virtualClock = dynamic_cast<VirtualClock*>(&clock);
        const double deadline = clock.now() + timeoutSeconds;
        int got = 0;
        for (;;) {
            const double now = clock.now();
            wire_->advancePeer(now);
            got += wire_->takeArrived(now, buffer + got, count - got);
            if (got == count || now >= deadline)
                return got;
            // A scheduled action may write; the peer must hear that before what follows.
            double horizon = deadline;
            if (virtualClock)
                horizon = std::min(horizon, virtualClock->nextActionTime());
            double target =
                wire_->whenArrived(static_cast<size_t>(count - got), now, horizon, characterTime_);
            // While a stream runs, a read that must wait sleeps its gathering time, as the
            // real line does, and a press made meanwhile waits for the sleep's end.
            if (gathering_ > 0)
                target = std::min(deadline, now + gathering_);
            clock.waitUntil(std::max(target, now));
            // A scheduled action may have pulled the cable meanwhile.
            if (!usable())
                return kComDeviceLost;
        }
    }

    int bytesWaiting() override {
        if (!usable())
            return kComDeviceLost;
        const double now = CurrentClock().now();
        wire_->advancePeer(now);
        return wire_->countArrived(now);
    }

    void setReadGathering(double seconds) override { gathering_ = gathers_ ? seconds : 0; }

  private:
    bool usable() const { return wire_ && !dropped_; }

    InProcessBackend::Wire* wire_;
    double characterTime_;
    bool gathers_;
    double gathering_ = 0;
    bool dropped_ = false;
};

InProcessBackend::InProcessBackend() = default;

InProcessBackend::~InProcessBackend() {
    for (auto& [port, w] : wires_)
        if (w->line)
            w->line->detach();
}

InProcessBackend::Wire& InProcessBackend::wire(int port) {
    std::unique_ptr<Wire>& w = wires_[port];
    if (!w)
        w = std::make_unique<Wire>();
    return *w;
}

void InProcessBackend::attach(int port, LinePeer* peer) {
    Wire& w = wire(port);
    w.peer = peer;
    w.peerTime = CurrentClock().now();
}

void InProcessBackend::failOpens(int error) {
    openError_ = error;
}

void InProcessBackend::failReads(int port, int error) {
    wire(port).readError = error;
}

void InProcessBackend::dropLine(int port) {
    if (InProcessLine* line = wire(port).line)
        line->drop();
}

bool InProcessBackend::isOpen(int port) const {
    const auto it = wires_.find(port);
    return it != wires_.end() && it->second->line != nullptr;
}

std::unique_ptr<SerialLine> InProcessBackend::open(int port, const std::string& deviceName,
                                                   const LineSettings& settings, OpenError& error) {
    opens_.push_back({port, deviceName, settings});
    if (openError_ < 0) {
        error.code = openError_;
        return nullptr;
    }
    Wire& w = wire(port);
    if (w.line)
        w.line->drop();
    // What came down the cable while the port was closed is gone.
    const double now = CurrentClock().now();
    w.advancePeer(now);
    w.dropArrived(now);
    return std::make_unique<InProcessLine>(w, 10.0 / static_cast<double>(settings.baudRate),
                                           gatherReads_);
}
