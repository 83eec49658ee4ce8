// The steps of one fault campaign cell: how a fault is put on, how the tool is brought to
// the action and the action taken through its button, and how the outcome is judged.
#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "live/live_readout.h"
#include "tests/fault_campaign.h"

namespace fault_campaign {
namespace {

using A = Action;

// Names in the order of the enumerations, for test names and messages.
constexpr const char* kActionNames[] = {
    "Connect",           "KxRead",    "KxSet",    "QvRead",    "QvSet",     "ClockRead",
    "ClockSet",          "StartRead", "StartSet", "LiveStart", "Calibrate", "Calibrate2",
    "DefaultCalibration"};
constexpr const char* kFaultNames[] = {
    "Asleep",         "NoAnswer",        "WrongLetterAtI", "WrongLetterAtR", "WrongLetterAtW",
    "WrongLetterAtD", "WrongLetterAtG",  "RepliesCutTo3",  "RepliesCutTo60", "LowerCaseHex",
    "Garbage",        "NoBlockChecksum", "LineDropped",    "StreamDropped"};
static_assert(std::size(kActionNames) == std::size(kAllActions));
static_assert(std::size(kFaultNames) == std::size(kAllFaults));

// Each wrong letter is the right one in lower case: the letter test is case-sensitive.
const std::map<Fault, std::function<void(sim::Faults&)>> kInstrumentFaults = {
    {Fault::Asleep, [](sim::Faults& f) { f.asleep = true; }},
    {Fault::NoAnswer, [](sim::Faults& f) { f.noAnswer = true; }},
    {Fault::WrongLetterAtI, [](sim::Faults& f) { f.wrongLetterFor = 'i', f.wrongLetter = 'i'; }},
    {Fault::WrongLetterAtR, [](sim::Faults& f) { f.wrongLetterFor = 'r', f.wrongLetter = 'r'; }},
    {Fault::WrongLetterAtW, [](sim::Faults& f) { f.wrongLetterFor = 'w', f.wrongLetter = 'w'; }},
    {Fault::WrongLetterAtD, [](sim::Faults& f) { f.wrongLetterFor = 'D', f.wrongLetter = 'd'; }},
    {Fault::WrongLetterAtG, [](sim::Faults& f) { f.wrongLetterFor = 'g', f.wrongLetter = 'g'; }},
    {Fault::RepliesCutTo3, [](sim::Faults& f) { f.cutRepliesTo = 3; }},
    {Fault::RepliesCutTo60, [](sim::Faults& f) { f.cutRepliesTo = 60; }},
    {Fault::LowerCaseHex, [](sim::Faults& f) { f.lowerCaseHex = true; }},
    {Fault::Garbage, [](sim::Faults& f) { f.garbage = true; }},
    {Fault::NoBlockChecksum, [](sim::Faults& f) { f.omitBlockChecksum = true; }},
    {Fault::StreamDropped, [](sim::Faults& f) { f.dropLineAfter = 0.3; }},
};

struct Entry {
    int control;
    int value;
};

// How an action is reached and taken, where its exchange is cut when the cable goes, what
// the operator enters first and what a read action shows of the arranged block.
struct ActionSteps {
    int panelButton;  // on the main panel; 0 when the action's button is on the main panel
    int button;
    char pullAfterCommand;  // the cable goes soon after the instrument hears this
    std::vector<Entry> inputs;
    std::vector<Entry> shows;
};
const std::map<Action, ActionSteps> kSteps = {
    {A::Connect, {0, MAIN_CONNECT, 's', {}, {}}},  // during the wake-up
    {A::KxRead,
     {MAIN_KX,
      KX_READ,
      'r',
      {},
      {{KX_BYTE7, 0xAB},
       {KX_OPTION6, 1},
       {KX_START_FLAG, 0},
       {KX_SECOND_CHANNEL, 0},
       {KX_RS232, 1},
       {KX_OPTION0, 1}}}},
    {A::KxSet, {MAIN_KX, KX_SET, 'w', {{KX_BYTE7, 77}, {KX_START_FLAG, 1}, {KX_RS232, 1}}, {}}},
    {A::QvRead,
     {MAIN_QV,
      QV_READ,
      'r',
      {},
      {{QV_BYTE7, 0xAB},
       {QV_BYTE8, 0xCD},
       {QV_BYTE9, 0xEF},
       {QV_BYTE10, 0x5A},
       {QV_BYTE23, 12},
       {QV_OPTION0_OFF, 0},
       {QV_RS232, 1}}}},
    {A::QvSet,
     {MAIN_QV,
      QV_SET,
      'w',
      {{QV_BYTE7, 11},
       {QV_BYTE8, 22},
       {QV_BYTE9, 33},
       {QV_BYTE10, 44},
       {QV_BYTE23, 5},
       {QV_RS232, 1},
       {QV_OPTION0_OFF, 1}},
      {}}},
    {A::ClockRead,
     {MAIN_CLOCK,
      CLOCK_READ,
      'r',
      {},
      {{CLOCK_YEAR, 2029}, {CLOCK_MONTH, 4}, {CLOCK_DAY_OF_MONTH, 10}, {CLOCK_DAY_OF_WEEK, 3}}}},
    {A::ClockSet,
     {MAIN_CLOCK,
      CLOCK_SET,
      'w',
      {{CLOCK_YEAR, 2031},
       {CLOCK_MONTH, 8},
       {CLOCK_DAY_OF_MONTH, 15},
       {CLOCK_DAY_OF_WEEK, 3},
       {CLOCK_HOURS, 7},
       {CLOCK_MINUTES, 6},
       {CLOCK_SECONDS, 5}},
      {}}},
    {A::StartRead,
     {MAIN_START,
      START_READ,
      'r',
      {},
      {{START_MINUTE, 30},
       {START_HOUR, 8},
       {START_DAY, 25},
       {START_MONTH, 6},
       {START_YEAR, 2027}}}},
    {A::StartSet,
     {MAIN_START,
      START_SET,
      'w',
      {{START_MINUTE, 45},
       {START_HOUR, 13},
       {START_DAY, 28},
       {START_MONTH, 11},
       {START_YEAR, 2033}},
      {}}},
    {A::LiveStart, {MAIN_LIVE, LIVE_START, 'g', {}, {}}},  // while records stream
    {A::Calibrate, {0, MAIN_CALIBRATE, 's', {}, {}}},
    {A::Calibrate2, {MAIN_CALIBRATE, CAL_CALIBRATE, 'w', {}, {}}},
    {A::DefaultCalibration, {MAIN_CALIBRATE, CAL_DEFAULT, 'w', {}, {}}},
};

// Bytes 11 to 17: 2029-04-10 12:34:20, day of week 2 (shown as 3).
constexpr std::array<uint8_t, 7> kArrangedClock = {0x20, 0x34, 0x12, 0x02, 0x10, 0x04, 0x29};
// Bytes 12 to 17 after the clock write of the entries above (the seconds run on).
constexpr std::array<uint8_t, 6> kWrittenClock = {0x06, 0x07, 0x02, 0x15, 0x08, 0x31};
// Bytes 18 to 22: start fields 1 to 4 and the year 2027.
constexpr std::array<uint8_t, 5> kArrangedStart = {0x30, 0x08, 0x25, 0x06, 0x27};
constexpr double kLiveRun = 5.0;  // from the start press to the stop press
constexpr double kPullDelay = 0.1;

std::array<uint8_t, 7> clockBytes(const Block& block) {
    std::array<uint8_t, 7> bytes;
    std::copy_n(block.begin() + kFirstClockByte, bytes.size(), bytes.begin());
    return bytes;
}

std::string shown(const std::vector<std::string>& lines) {
    std::ostringstream out;
    for (const auto& line : lines) out << "\n  [" << line << "]";
    return out.str();
}

}  // namespace

const char* actionName(Action action) {
    return kActionNames[static_cast<int>(action)];
}
const char* faultName(Fault fault) {
    return kFaultNames[static_cast<int>(fault)];
}
std::string cellName(const ::testing::TestParamInfo<Cell>& info) {
    return std::string(actionName(info.param.action)) + "_" + faultName(info.param.fault);
}
std::ostream& operator<<(std::ostream& out, const Cell& cell) {
    return out << actionName(cell.action) << " with " << faultName(cell.fault);
}

void injectInstrumentFault(sim::Faults& faults, Fault fault) {
    const auto it = kInstrumentFaults.find(fault);
    if (it != kInstrumentFaults.end())
        it->second(faults);
}

void CablePuller::receive(uint8_t byte, double time) {
    instrument_.receive(byte, time);
    if (command_ != 0 && byte == static_cast<uint8_t>(command_)) {
        command_ = 0;
        clock_.schedule(time + after_, [this] { backend_.dropLine(1); });
    }
}

void FaultCampaign::SetUp() {
    ToolFixture::SetUp();
    backend.attach(1, &puller);
    instrument.setDrift(0);
}

// Bytes with hex letters where a decoder could slip; the flag byte 0xC3 (option bits 6
// and 0, the RS232-data flag, bit 7) without the clock-set flag that a write acts on; the
// instrument's own calibration (223, 0, gain 4096, zero 0, 20 tenths).
void FaultCampaign::arrangeBlock() {
    Block& block = instrument.block();
    for (int i = 25; i < 42; ++i) block[i] = static_cast<uint8_t>(i * 29 + 0x1B);
    block[0] = 0x5E;
    block[7] = 0xAB, block[8] = 0xCD, block[9] = 0xEF, block[10] = 0x5A;
    std::copy(kArrangedClock.begin(), kArrangedClock.end(), block.begin() + kFirstClockByte);
    std::copy(kArrangedStart.begin(), kArrangedStart.end(), block.begin() + 18);
    block[23] = 0x0C;
    block[42] = 0xC3;
}

void FaultCampaign::prepare(Action action) {
    arrangeBlock();
    const ActionSteps& steps = kSteps.at(action);
    if (action != A::Connect) {
        connect();
        ASSERT_TRUE(visible(connectedPanel)) << "the healthy connect before the action failed";
        HidePanel(connectedPanel);
    }
    if (steps.panelButton != 0)
        openFromMain(steps.panelButton);
    for (const Entry& entry : steps.inputs)
        EXPECT_TRUE(setValue(currentPanel, entry.control, entry.value)) << entry.control;
    ASSERT_TRUE(messageLines().empty()) << "the way to the action already failed";
    clearWire();
}

void FaultCampaign::injectFault(Action action, Fault fault) {
    before = clockless(instrument.block());
    clockBefore = clockBytes(instrument.block());
    writtenBefore = instrument.blocksWritten();
    if (fault == Fault::LineDropped) {
        // Once the exchange is under way: during the wake-up, while the block comes, once
        // the write has begun, or while records stream.
        const double after = action == A::LiveStart ? 0.3 : kPullDelay;
        puller.arm(kSteps.at(action).pullAfterCommand, after);
    }
    injectInstrumentFault(instrument.faults(), fault);
}

void FaultCampaign::act(Action action) {
    if (action == A::LiveStart) {
        // A pulled cable ends the run, as it does with reconnecting turned off.
        setValue(currentPanel, LIVE_RECONNECT, 0);
        pressAt(clock.now() + kLiveRun, LIVE_STOP);
    }
    // The calibration actions trace to standard output; the campaign does not read it.
    ::testing::internal::CaptureStdout();
    press(kSteps.at(action).button);
    ::testing::internal::GetCapturedStdout();
}

int FaultCampaign::intValue(int control) const {
    int value = -1;
    GetCtrlVal(currentPanel, control, &value);
    return value;
}

// The block (without its clock) that a write of the prepared inputs leaves.
Block FaultCampaign::expectedWrite(Action action) const {
    Block block = before;
    switch (action) {
        case A::KxSet:
            block[7] = 77;
            block[42] = 0x22;  // the start flag and the RS232-data flag; bits 7, 3, 2 cleared
            break;
        case A::QvSet:
            block[7] = 11, block[8] = 22, block[9] = 33, block[10] = 44, block[23] = 5;
            block[42] = 0x82;  // bit 7 kept, the RS232-data flag, option bit 0 off
            break;
        case A::StartSet:
            block[18] = 0x45, block[19] = 0x13, block[20] = 0x28, block[21] = 0x11;
            block[22] = 0x33;
            block[42] = 0xE3;  // the scheduled-start flag added
            break;
        case A::Calibrate2:
            return withCalibration(block, 223, 0, 4066, 12, 20);
        case A::DefaultCalibration:
            return withCalibration(block, 223, 0, 4096, -500, 20);
        default:
            break;  // the clock write keeps every byte but the clock
    }
    return block;
}

void FaultCampaign::expectBlockKeptUnlessWritten() {
    if (instrument.blocksWritten() != writtenBefore)
        return;
    EXPECT_EQ(clockless(instrument.block()), before) << "the block changed without a 'D'";
    // The clock runs on by seconds; a write would have moved its year and month.
    EXPECT_EQ(instrument.block()[17], clockBefore[6]);
    EXPECT_EQ(instrument.block()[16], clockBefore[5]);
}

void FaultCampaign::expectRefused(const Cell& cell) {
    const auto lines = messageLines();
    ASSERT_FALSE(lines.empty()) << "a refusal without a line";
    EXPECT_NE(lines.back().find_first_not_of(' '), std::string::npos)
        << "the report ends in a blank line:" << shown(lines);
    EXPECT_NE(std::find(lines.begin(), lines.end(), cell.line), lines.end())
        << "expected the line [" << cell.line << "] among:" << shown(lines);
    EXPECT_TRUE(visible(messagePanel));
    EXPECT_FALSE(visible(donePanel));
    EXPECT_EQ(instrument.blocksWritten(), writtenBefore);
    EXPECT_EQ(liveRunning, 0);
}

void FaultCampaign::expectRecordsMissed() {
    EXPECT_EQ(liveRunning, 0);
    EXPECT_GT(liveRecordsMissed, 0u);
    EXPECT_EQ(TextBoxLines(currentPanel, LIVE_RECORD), std::vector<std::string>{kNoRecordLine});
    EXPECT_TRUE(messageLines().empty()) << shown(messageLines());
    EXPECT_EQ(wire().substr(wire().size() - 2), "st");
}

void FaultCampaign::expectDone(Action action) {
    const auto lines = messageLines();
    EXPECT_FALSE(visible(messagePanel)) << shown(lines);
    if (action == A::ClockRead) {
        // A running record of the seconds, added without bringing the panel up.
        ASSERT_EQ(lines.size(), 1u) << shown(lines);
        EXPECT_EQ(lines[0].rfind("seconds = ", 0), 0u) << lines[0];
    } else {
        EXPECT_TRUE(lines.empty()) << shown(lines);
    }
    for (const Entry& entry : kSteps.at(action).shows)
        EXPECT_EQ(intValue(entry.control), entry.value) << "control " << entry.control;

    switch (action) {
        case A::Connect:
            EXPECT_TRUE(visible(connectedPanel));
            EXPECT_EQ(connectedLines().front(), "You have successfully connected");
            return;
        case A::Calibrate:
            EXPECT_EQ(PanelResourceId(currentPanel), PANEL_CALIBRATION);
            return;
        case A::LiveStart:
            EXPECT_EQ(liveRunning, 0);
            EXPECT_GT(liveRecordsShown, 100u);
            EXPECT_EQ(liveRecordsMissed, 0u);
            EXPECT_EQ(wire().substr(0, 2), "rg");
            EXPECT_EQ(wire().substr(wire().size() - 2), "st");
            return;
        case A::KxSet:
        case A::QvSet:
        case A::ClockSet:
        case A::StartSet:
        case A::Calibrate2:
        case A::DefaultCalibration:
            break;
        default:
            return;  // the reads: their values are checked above
    }
    EXPECT_EQ(instrument.blocksWritten(), writtenBefore + 1);
    EXPECT_TRUE(visible(donePanel));
    EXPECT_EQ(clockless(instrument.block()), expectedWrite(action));
    if (action == A::ClockSet) {
        const auto written = clockBytes(instrument.block());
        EXPECT_TRUE(std::equal(kWrittenClock.begin(), kWrittenClock.end(), written.begin() + 1));
    }
    if (action == A::DefaultCalibration) {
        EXPECT_EQ(PanelResourceId(currentPanel), PANEL_MAIN);  // back on a fresh main panel
    }
}

}  // namespace fault_campaign
