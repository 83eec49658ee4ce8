// Each fault switch of the simulated instrument, on its own.
#include <gtest/gtest.h>

#include <string>

#include "sim/model/block.h"
#include "tests/sim_test_line.h"

namespace {

TEST(SimFaults, AsleepAnswersNothingUntilTheButton) {
    SimLine line;
    line.instrument.faults().asleep = true;
    line.send("sti", 0.0);
    EXPECT_EQ(line.take(3.0), "");
    EXPECT_TRUE(line.instrument.isAsleep());
    line.instrument.pressButton();
    EXPECT_FALSE(line.instrument.isAsleep());
    line.send("i", 3.0);
    EXPECT_EQ(line.take(4.0), "<I>OKQV-0000012345 \r");
}

TEST(SimFaults, NoAnswerIgnoresEverythingButHearsIt) {
    SimLine line;
    line.instrument.faults().noAnswer = true;
    line.send("irwg", 0.0);
    EXPECT_EQ(line.take(5.0), "");
    EXPECT_FALSE(line.instrument.isStreaming());
    EXPECT_EQ(line.instrument.receivedText(), "irwg");
}

TEST(SimFaults, WrongLetterRefusesThatCommandAndNothingFollows) {
    for (char command : {'i', 'r', 'w', 'g'}) {
        SimLine line;
        line.instrument.faults().wrongLetterFor = command;
        line.send(std::string(1, command), 0.0);
        EXPECT_EQ(line.take(3.0), "<X>OK") << command;
        EXPECT_FALSE(line.instrument.isStreaming());
        // The other commands are unaffected.
        line.send(command == 'i' ? "r" : "i", 3.0);
        EXPECT_EQ(line.take(4.0).substr(1, 1), command == 'i' ? "R" : "I");
    }
}

TEST(SimFaults, WrongLetterForTheBlockKeepsTheOldBlock) {
    SimLine line;
    line.instrument.faults().wrongLetterFor = 'D';
    line.instrument.faults().wrongLetter = 'd';
    sim::Block block = line.instrument.block();
    block[7] = 0x55;
    line.send("w", 0.0);
    const double at = line.send(sim::blockText(block, true), 0.4);
    EXPECT_EQ(line.take(at + 1.0), "<W>OK<d>OK");
    EXPECT_EQ(line.instrument.block()[7], 0);
    EXPECT_EQ(line.instrument.blocksWritten(), 0);
}

TEST(SimFaults, CutRepliesShortenEveryAckAndBody) {
    SimLine line;
    line.instrument.faults().cutRepliesTo = 3;
    line.send("i", 0.0);
    EXPECT_EQ(line.take(1.0), "<I>QV-");
    line.send("g", 1.0);
    // The first record waits for the ack; then one every record time, whatever is cut.
    EXPECT_EQ(line.take(1.002 + 14 * 10.0 / 9600 + 1e-9), "<G>205205205");
}

TEST(SimFaults, CutRepliesDoNotStopTheInstrumentStoringABlock) {
    SimLine line;
    line.instrument.faults().cutRepliesTo = 0;
    sim::Block block = line.instrument.block();
    block[9] = 0x77;
    line.send("w", 0.0);
    const double at = line.send(sim::blockText(block, true), 0.4);
    EXPECT_EQ(line.take(at + 1.0), "");
    EXPECT_EQ(line.instrument.block()[9], 0x77);
}

TEST(SimFaults, LowerCaseHexInTheBlockText) {
    SimLine line;
    line.instrument.faults().lowerCaseHex = true;
    line.send("r", 0.0);
    const std::string text = line.take(1.0);
    EXPECT_EQ(text.substr(0, 5), "<R>OK");
    EXPECT_EQ(text.substr(5, 6), "00,df,");
    EXPECT_EQ(text.substr(5 + 129), "57");
}

TEST(SimFaults, GarbageBeforeEachReply) {
    SimLine line;
    line.instrument.faults().garbage = true;
    line.send("i", 0.0);
    EXPECT_EQ(line.take(1.0), "~#<I>OK~#QV-0000012345 \r");
}

TEST(SimFaults, OmittedChecksumEndsTheReadAtTheLastComma) {
    SimLine line;
    line.instrument.faults().omitBlockChecksum = true;
    line.send("r", 0.0);
    const std::string text = line.take(1.0);
    ASSERT_EQ(text.size(), 5u + 129);
    EXPECT_EQ(text.back(), ',');
}

TEST(SimFaults, DamagedCharacterChangesOneDigitOnTheWayAndKeepsTheChecksum) {
    SimLine line;
    const std::string sound = line.instrument.blockText(true);
    line.instrument.faults().damageBlockCharacter = 3;  // byte 1, "DF": D becomes 2
    line.send("r", 0.0);
    const std::string text = line.take(1.0).substr(5);
    ASSERT_EQ(text.size(), sound.size());
    EXPECT_EQ(text[3], '2');
    EXPECT_EQ(text.substr(0, 3) + text.substr(4), sound.substr(0, 3) + sound.substr(4));
    EXPECT_EQ(line.instrument.block()[1], 0xDF);  // the block kept is untouched
}

TEST(SimFaults, DroppedLineGoesSilentIntoAStream) {
    SimLine line;
    line.instrument.faults().dropLineAfter = 1.0;
    line.send("g", 0.0);
    const std::string first = line.take(2.0);
    EXPECT_NEAR(line.lastTimes.back(), 1.0, 0.01);
    EXPECT_GT(first.size(), 900u);
    EXPECT_EQ(line.take(5.0), "");
    // The stop pair never arrives either.
    line.send("st", 5.0);
    EXPECT_TRUE(line.instrument.isStreaming());
    EXPECT_EQ(line.instrument.receivedText(), "gst");
    EXPECT_EQ(line.take(10.0), "");
}

}  // namespace
