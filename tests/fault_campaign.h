// The fault campaign: every operator action that talks to the instrument, crossed with
// every fault the simulated instrument and its line can show. This header holds the
// vocabulary (actions, faults, the outcome a cell is expected to end in) and the fixture
// that drives one cell through the real widgets and judges what the operator sees and what
// the instrument kept. The steps are in scenario_fault_campaign_steps.cpp, the table of
// expected outcomes in scenario_fault_campaign_test.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/calibration_scenario.h"

namespace fault_campaign {

enum class Action {
    Connect,
    KxRead,
    KxSet,
    QvRead,
    QvSet,
    ClockRead,
    ClockSet,
    StartRead,
    StartSet,
    LiveStart,
    Calibrate,   // calibratecallback from the main panel: wake-up and identify
    Calibrate2,  // the calibrate button of the calibration panel
    DefaultCalibration,
};

enum class Fault {
    Asleep,
    NoAnswer,
    WrongLetterAtI,  // each wrong letter is the right one in lower case
    WrongLetterAtR,
    WrongLetterAtW,
    WrongLetterAtD,
    WrongLetterAtG,
    RepliesCutTo3,
    RepliesCutTo60,
    LowerCaseHex,
    Garbage,          // stray characters before every reply
    NoBlockChecksum,  // 'r' answers 129 characters, not 131
    LineDropped,      // the cable is pulled in the middle of the action's exchange
    StreamDropped,    // the instrument goes silent part way into a live stream
};

inline constexpr Action kAllActions[] = {Action::Connect,
                                         Action::KxRead,
                                         Action::KxSet,
                                         Action::QvRead,
                                         Action::QvSet,
                                         Action::ClockRead,
                                         Action::ClockSet,
                                         Action::StartRead,
                                         Action::StartSet,
                                         Action::LiveStart,
                                         Action::Calibrate,
                                         Action::Calibrate2,
                                         Action::DefaultCalibration};
inline constexpr Fault kAllFaults[] = {
    Fault::Asleep,         Fault::NoAnswer,       Fault::WrongLetterAtI, Fault::WrongLetterAtR,
    Fault::WrongLetterAtW, Fault::WrongLetterAtD, Fault::WrongLetterAtG, Fault::RepliesCutTo3,
    Fault::RepliesCutTo60, Fault::LowerCaseHex,   Fault::Garbage,        Fault::NoBlockChecksum,
    Fault::LineDropped,    Fault::StreamDropped};

enum class Outcome {
    Done,           // as with a healthy instrument: written with 'D', values shown, connected
    Refused,        // a line in the message panel, the panel in front, the block as it was
    RecordsMissed,  // live only: the run goes on, its record box says no record came
};

struct Cell {
    Action action;
    Fault fault;
    Outcome outcome;
    const char* line;  // Refused: a line the message panel must hold
};

const char* actionName(Action action);
const char* faultName(Fault fault);
std::string cellName(const ::testing::TestParamInfo<Cell>& info);
std::ostream& operator<<(std::ostream& out, const Cell& cell);

// Puts every fault but LineDropped on the instrument.
void injectInstrumentFault(sim::Faults& faults, Fault fault);

// The instrument on the line, and a cable that is pulled `after` seconds once the
// instrument has heard `command` (when armed).
class CablePuller : public LinePeer {
  public:
    CablePuller(sim::Instrument& instrument, VirtualClock& clock, InProcessBackend& backend)
        : instrument_(instrument), clock_(clock), backend_(backend) {}
    void arm(char command, double after) {
        command_ = command;
        after_ = after;
    }
    void receive(uint8_t byte, double time) override;
    void advanceTo(double time, std::vector<sim::TimedByte>& out) override {
        instrument_.advanceTo(time, out);
    }

  private:
    sim::Instrument& instrument_;
    VirtualClock& clock_;
    InProcessBackend& backend_;
    char command_ = 0;
    double after_ = 0;
};

// One cell: a healthy instrument with a distinctive block, the tool brought to the panel
// that carries the action (connected first where the action needs the port), the fault
// put on, the action taken through its button, and the outcome judged.
class FaultCampaign : public ToolFixture, public ::testing::WithParamInterface<Cell> {
  protected:
    void SetUp() override;

    void arrangeBlock();
    void prepare(Action action);
    void injectFault(Action action, Fault fault);
    void act(Action action);

    void expectDone(Action action);
    void expectRefused(const Cell& cell);
    void expectRecordsMissed();
    // Whatever the outcome: a block the instrument did not take with 'D' is as it was.
    void expectBlockKeptUnlessWritten();

    int intValue(int control) const;
    Block expectedWrite(Action action) const;

    CablePuller puller{instrument, clock, backend};
    Block before{};  // the block as arranged, without its running clock
    std::array<uint8_t, 7> clockBefore{};
    int writtenBefore = 0;
};

}  // namespace fault_campaign
