// A virtual-time line to the simulated instrument for the sim tests: the PC's side sends
// characters at chosen times (at the wire rate) and collects what came back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/instrument.h"

class SimLine {
  public:
    explicit SimLine(sim::Options options = {}) : instrument(std::move(options)) {
        instrument.setDrift(0);
    }

    // Sends `text` starting at `at`, one character per wire time; returns when the last
    // character arrived.
    double send(std::string_view text, double at) {
        for (char c : text) {
            instrument.advanceTo(at, got);
            instrument.receive(static_cast<uint8_t>(c), at);
            at += charTime();
        }
        return at;
    }

    // Everything that has arrived up to `until` and not been taken yet.
    std::string take(double until) {
        instrument.advanceTo(until, got);
        std::string text;
        for (const auto& b : got) text += static_cast<char>(b.byte);
        lastTimes.clear();
        for (const auto& b : got) lastTimes.push_back(b.time);
        got.clear();
        return text;
    }

    double charTime() const { return 10.0 / instrument.options().baud; }

    sim::Instrument instrument;
    std::vector<double> lastTimes;  // arrival times of the characters of the last take()

  private:
    std::vector<sim::TimedByte> got;
};
