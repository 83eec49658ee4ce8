// The fault campaign's table: for every action and every fault, what the operator is to
// see. Each cell runs the action through its button against a faulty instrument or line and
// checks that the tool neither crashes nor hangs, that a refusal leaves a line in the
// message panel with the panel in front, and that the instrument's block only changes when
// the instrument took it with 'D'.
#include <algorithm>

#include "tests/fault_campaign.h"

namespace fault_campaign {
namespace {

using A = Action;
using F = Fault;
constexpr Outcome Done = Outcome::Done;
constexpr Outcome Refused = Outcome::Refused;

// The lines an operator reads when something went wrong.
constexpr const char* kNothingCame = "settings not read: 0 of 129 characters came";
constexpr const char* kOneCame = "settings not read: 1 of 129 characters came";
constexpr const char* kSixtyCame = "settings not read: 60 of 129 characters came";
constexpr const char* kStrayFirst = "settings not read: unexpected character at position 0";
constexpr const char* kLineLost = "error code = -11";
constexpr const char* kNoReply = "no reply from the instrument";
constexpr const char* kConnectionFailed = "Connection failed, please try ";

// Every cell that applies. Short replies (cut to 3) still carry the letter: the letter test
// passes and the block read then comes short. A cut identity reply is shown as it came.
const Cell kCells[] = {
    {A::Connect, F::Asleep, Refused, kConnectionFailed},
    {A::Connect, F::NoAnswer, Refused, kConnectionFailed},
    {A::Connect, F::WrongLetterAtI, Refused, "<i>OK"},
    {A::Connect, F::RepliesCutTo3, Done, nullptr},
    {A::Connect, F::RepliesCutTo60, Done, nullptr},
    {A::Connect, F::Garbage, Refused, "~#<I>"},
    {A::Connect, F::LineDropped, Refused, kConnectionFailed},

    {A::KxRead, F::Asleep, Refused, kNothingCame},
    {A::KxRead, F::NoAnswer, Refused, kNothingCame},
    {A::KxRead, F::WrongLetterAtR, Refused, kNothingCame},
    {A::KxRead, F::RepliesCutTo3, Refused, kOneCame},
    {A::KxRead, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::KxRead, F::LowerCaseHex, Done, nullptr},
    {A::KxRead, F::Garbage, Refused, kStrayFirst},
    {A::KxRead, F::NoBlockChecksum, Done, nullptr},
    {A::KxRead, F::LineDropped, Refused, kLineLost},

    {A::KxSet, F::Asleep, Refused, kNothingCame},
    {A::KxSet, F::NoAnswer, Refused, kNothingCame},
    {A::KxSet, F::WrongLetterAtR, Refused, kNothingCame},
    {A::KxSet, F::WrongLetterAtW, Refused, "<w>OK"},
    {A::KxSet, F::WrongLetterAtD, Refused, "<d>OK"},
    {A::KxSet, F::RepliesCutTo3, Refused, kOneCame},
    {A::KxSet, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::KxSet, F::LowerCaseHex, Done, nullptr},
    {A::KxSet, F::Garbage, Refused, kStrayFirst},
    {A::KxSet, F::NoBlockChecksum, Done, nullptr},
    {A::KxSet, F::LineDropped, Refused, kLineLost},

    {A::QvRead, F::Asleep, Refused, kNothingCame},
    {A::QvRead, F::NoAnswer, Refused, kNothingCame},
    {A::QvRead, F::WrongLetterAtR, Refused, kNothingCame},
    {A::QvRead, F::RepliesCutTo3, Refused, kOneCame},
    {A::QvRead, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::QvRead, F::LowerCaseHex, Done, nullptr},
    {A::QvRead, F::Garbage, Refused, kStrayFirst},
    {A::QvRead, F::NoBlockChecksum, Done, nullptr},
    {A::QvRead, F::LineDropped, Refused, kLineLost},

    {A::QvSet, F::Asleep, Refused, kNothingCame},
    {A::QvSet, F::NoAnswer, Refused, kNothingCame},
    {A::QvSet, F::WrongLetterAtR, Refused, kNothingCame},
    {A::QvSet, F::WrongLetterAtW, Refused, "<w>OK"},
    {A::QvSet, F::WrongLetterAtD, Refused, "<d>OK"},
    {A::QvSet, F::RepliesCutTo3, Refused, kOneCame},
    {A::QvSet, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::QvSet, F::LowerCaseHex, Done, nullptr},
    {A::QvSet, F::Garbage, Refused, kStrayFirst},
    {A::QvSet, F::NoBlockChecksum, Done, nullptr},
    {A::QvSet, F::LineDropped, Refused, kLineLost},

    // The clock read takes the acknowledgement and the text in one read of 134.
    {A::ClockRead, F::Asleep, Refused, kNothingCame},
    {A::ClockRead, F::NoAnswer, Refused, kNothingCame},
    {A::ClockRead, F::WrongLetterAtR, Refused, kNothingCame},
    {A::ClockRead, F::RepliesCutTo3, Refused, kOneCame},
    {A::ClockRead, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::ClockRead, F::LowerCaseHex, Done, nullptr},
    {A::ClockRead, F::Garbage, Refused, kStrayFirst},
    {A::ClockRead, F::NoBlockChecksum, Done, nullptr},
    {A::ClockRead, F::LineDropped, Refused, kLineLost},

    {A::ClockSet, F::Asleep, Refused, kNothingCame},
    {A::ClockSet, F::NoAnswer, Refused, kNothingCame},
    {A::ClockSet, F::WrongLetterAtR, Refused, kNothingCame},
    {A::ClockSet, F::WrongLetterAtW, Refused, "<w>OK"},
    {A::ClockSet, F::WrongLetterAtD, Refused, "<d>OK"},
    {A::ClockSet, F::RepliesCutTo3, Refused, kOneCame},
    {A::ClockSet, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::ClockSet, F::LowerCaseHex, Done, nullptr},
    {A::ClockSet, F::Garbage, Refused, kStrayFirst},
    {A::ClockSet, F::NoBlockChecksum, Done, nullptr},
    {A::ClockSet, F::LineDropped, Refused, kLineLost},

    {A::StartRead, F::Asleep, Refused, kNothingCame},
    {A::StartRead, F::NoAnswer, Refused, kNothingCame},
    {A::StartRead, F::WrongLetterAtR, Refused, kNothingCame},
    {A::StartRead, F::RepliesCutTo3, Refused, kOneCame},
    {A::StartRead, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::StartRead, F::LowerCaseHex, Done, nullptr},
    {A::StartRead, F::Garbage, Refused, kStrayFirst},
    {A::StartRead, F::NoBlockChecksum, Done, nullptr},
    {A::StartRead, F::LineDropped, Refused, kLineLost},

    {A::StartSet, F::Asleep, Refused, kNothingCame},
    {A::StartSet, F::NoAnswer, Refused, kNothingCame},
    {A::StartSet, F::WrongLetterAtR, Refused, kNothingCame},
    {A::StartSet, F::WrongLetterAtW, Refused, "<w>OK"},
    {A::StartSet, F::WrongLetterAtD, Refused, "<d>OK"},
    {A::StartSet, F::RepliesCutTo3, Refused, kOneCame},
    {A::StartSet, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::StartSet, F::LowerCaseHex, Done, nullptr},
    {A::StartSet, F::Garbage, Refused, kStrayFirst},
    {A::StartSet, F::NoBlockChecksum, Done, nullptr},
    {A::StartSet, F::LineDropped, Refused, kLineLost},

    // The live start tests the letters of 'r' and 'g'; a lost cable ends a running run.
    {A::LiveStart, F::Asleep, Refused, kNoReply},
    {A::LiveStart, F::NoAnswer, Refused, kNoReply},
    {A::LiveStart, F::WrongLetterAtR, Refused, "<r>OK"},
    {A::LiveStart, F::WrongLetterAtG, Refused, "<g>OK"},
    {A::LiveStart, F::RepliesCutTo3, Refused, kOneCame},
    {A::LiveStart, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::LiveStart, F::LowerCaseHex, Done, nullptr},
    {A::LiveStart, F::Garbage, Refused, "~#<R>"},
    {A::LiveStart, F::NoBlockChecksum, Done, nullptr},
    {A::LiveStart, F::LineDropped, Refused, kLineLost},
    {A::LiveStart, F::StreamDropped, Outcome::RecordsMissed, nullptr},

    {A::Calibrate, F::Asleep, Refused, kConnectionFailed},
    {A::Calibrate, F::NoAnswer, Refused, kConnectionFailed},
    {A::Calibrate, F::WrongLetterAtI, Refused, "<i>OK"},
    {A::Calibrate, F::RepliesCutTo3, Done, nullptr},
    {A::Calibrate, F::RepliesCutTo60, Done, nullptr},
    {A::Calibrate, F::Garbage, Refused, "~#<I>"},
    {A::Calibrate, F::LineDropped, Refused, kConnectionFailed},

    {A::Calibrate2, F::Asleep, Refused, kNoReply},
    {A::Calibrate2, F::NoAnswer, Refused, kNoReply},
    {A::Calibrate2, F::WrongLetterAtR, Refused, "<r>OK"},
    {A::Calibrate2, F::WrongLetterAtW, Refused, "<w>OK"},
    {A::Calibrate2, F::WrongLetterAtD, Refused, "<d>OK"},
    {A::Calibrate2, F::RepliesCutTo3, Refused, kOneCame},
    {A::Calibrate2, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::Calibrate2, F::LowerCaseHex, Done, nullptr},
    {A::Calibrate2, F::Garbage, Refused, "~#<R>"},
    {A::Calibrate2, F::NoBlockChecksum, Done, nullptr},
    {A::Calibrate2, F::LineDropped, Refused, kLineLost},

    {A::DefaultCalibration, F::Asleep, Refused, kNoReply},
    {A::DefaultCalibration, F::NoAnswer, Refused, kNoReply},
    {A::DefaultCalibration, F::WrongLetterAtR, Refused, "<r>OK"},
    {A::DefaultCalibration, F::WrongLetterAtW, Refused, "<w>OK"},
    {A::DefaultCalibration, F::WrongLetterAtD, Refused, "<d>OK"},
    {A::DefaultCalibration, F::RepliesCutTo3, Refused, kOneCame},
    {A::DefaultCalibration, F::RepliesCutTo60, Refused, kSixtyCame},
    {A::DefaultCalibration, F::LowerCaseHex, Done, nullptr},
    {A::DefaultCalibration, F::Garbage, Refused, "~#<R>"},
    {A::DefaultCalibration, F::NoBlockChecksum, Done, nullptr},
    {A::DefaultCalibration, F::LineDropped, Refused, kLineLost},
};

// The cells left out: the fault never reaches the action's exchange (a letter of a command
// it does not send, block text it does not read, a stream it does not start).
struct NotApplicable {
    Action action;
    std::vector<Fault> faults;
};
const std::vector<Fault> kNoBlockNoStream = {
    F::WrongLetterAtR, F::WrongLetterAtW,  F::WrongLetterAtD, F::WrongLetterAtG,
    F::LowerCaseHex,   F::NoBlockChecksum, F::StreamDropped,
};
const std::vector<Fault> kReadOnly = {F::WrongLetterAtI, F::WrongLetterAtW, F::WrongLetterAtD,
                                      F::WrongLetterAtG, F::StreamDropped};
const std::vector<Fault> kWrites = {F::WrongLetterAtI, F::WrongLetterAtG, F::StreamDropped};
const NotApplicable kNotApplicable[] = {
    {A::Connect, kNoBlockNoStream},
    {A::KxRead, kReadOnly},
    {A::KxSet, kWrites},
    {A::QvRead, kReadOnly},
    {A::QvSet, kWrites},
    {A::ClockRead, kReadOnly},
    {A::ClockSet, kWrites},
    {A::StartRead, kReadOnly},
    {A::StartSet, kWrites},
    {A::LiveStart, {F::WrongLetterAtI, F::WrongLetterAtW, F::WrongLetterAtD}},
    {A::Calibrate, kNoBlockNoStream},
    {A::Calibrate2, kWrites},
    {A::DefaultCalibration, kWrites},
};

TEST_P(FaultCampaign, OperatorSeesTheOutcomeAndTheBlockIsSafe) {
    const Cell& cell = GetParam();
    prepare(cell.action);
    ASSERT_FALSE(HasFatalFailure());
    injectFault(cell.action, cell.fault);
    const double start = clock.now();
    act(cell.action);
    // Nothing waits for ever: at worst a few serial time-outs, or the live run's length.
    EXPECT_LT(clock.now() - start, 15.0);

    switch (cell.outcome) {
        case Outcome::Done:
            expectDone(cell.action);
            break;
        case Outcome::Refused:
            expectRefused(cell);
            break;
        case Outcome::RecordsMissed:
            expectRecordsMissed();
            break;
    }
    expectBlockKeptUnlessWritten();
    // Whatever happened, the operator can go on from the panel in front.
    EXPECT_FALSE(isDimmed(currentPanel));
    if (cell.action == A::LiveStart) {
        EXPECT_FALSE(isControlDimmed(currentPanel, LIVE_START));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryActionEveryFault, FaultCampaign, ::testing::ValuesIn(kCells),
                         cellName);

TEST(FaultCampaignTable, HoldsEveryActionAndFaultExactlyOnce) {
    constexpr size_t kActions = std::size(kAllActions), kFaults = std::size(kAllFaults);
    for (Action action : kAllActions) {
        for (Fault fault : kAllFaults) {
            size_t entries = 0;
            for (const Cell& cell : kCells) entries += cell.action == action && cell.fault == fault;
            for (const NotApplicable& na : kNotApplicable)
                if (na.action == action)
                    entries += std::count(na.faults.begin(), na.faults.end(), fault);
            EXPECT_EQ(entries, 1u) << actionName(action) << " x " << faultName(fault);
        }
    }
    size_t notApplicable = 0;
    for (const NotApplicable& na : kNotApplicable) notApplicable += na.faults.size();
    EXPECT_EQ(std::size(kCells) + notApplicable, kActions * kFaults);
}

}  // namespace
}  // namespace fault_campaign
