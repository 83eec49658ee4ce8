// Live records of the simulated instrument, and the readings its calibration model gives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/sim_test_line.h"

namespace {

constexpr double kChar = 10.0 / 9600;

TEST(SimStream, OneValueRecordsFollowTheAckBackToBack) {
    SimLine line;
    line.send("g", 0.0);
    const std::string text = line.take(0.002 + 25 * kChar + 1e-9);
    EXPECT_EQ(text, "<G>OK2050\r2050\r2050\r2050\r");
    EXPECT_TRUE(line.instrument.isStreaming());
    EXPECT_EQ(line.instrument.recordsSent(), 4);
    EXPECT_EQ(std::atoi("2050\r"), line.instrument.reportedCounts());
}

TEST(SimStream, TwoValueRecordsCarryTheSecondValueAtCharacterSix) {
    SimLine line;
    line.instrument.block()[42] |= 0x10;
    line.instrument.setLevel(0.1);
    line.send("g", 0.0);
    const std::string text = line.take(0.002 + 27 * kChar + 1e-9);
    ASSERT_EQ(text, "<G>OK 400,  328\r 400,  328\r");
    const std::string record = text.substr(5, 11);
    EXPECT_EQ(std::atoi(record.c_str()), 400);
    EXPECT_EQ(std::atoi(record.c_str() + 6), 328);

    // The record already under way keeps its value; the next one shows the change.
    line.instrument.setTemperature(-3.25);
    EXPECT_EQ(line.take(0.002 + 49 * kChar + 1e-9), " 400,  328\r 400,  -52\r");
}

TEST(SimStream, StopPairEndsTheStreamAfterTheRecordInProgress) {
    SimLine line;
    line.send("g", 0.0);
    const std::string head = line.take(0.1);
    const double stopped = line.send("st", 0.1);
    EXPECT_FALSE(line.instrument.isStreaming());
    // Records begun before the 't' arrived are finished, no more.
    const std::string tail = line.take(5.0);
    EXPECT_EQ((head.size() - 5 + tail.size()) % 5, 0u);
    EXPECT_LE(line.lastTimes.back(), stopped + 5 * kChar);
    EXPECT_EQ(line.take(10.0), "");
    // Idle again: commands are answered.
    line.send("i", 10.0);
    EXPECT_EQ(line.take(11.0).substr(0, 5), "<I>OK");
}

TEST(SimStream, OnlyTheExactPairStopsIt) {
    SimLine line;
    line.send("g", 0.0);
    line.send("s", 0.1);
    line.send("xt", 0.2);
    line.send("ts", 0.3);
    line.send("r", 0.4);
    EXPECT_TRUE(line.instrument.isStreaming());
    line.take(1.0);
    EXPECT_GT(line.take(2.0).size(), 900u);
}

TEST(SimStream, QuitBytesStartAStreamThatNobodyReads) {
    SimLine line;
    line.send("g\r\n", 0.0);
    EXPECT_TRUE(line.instrument.isStreaming());
    EXPECT_EQ(line.take(0.002 + 10 * kChar + 1e-9), "<G>OK2050\r");
}

TEST(SimStream, RecordRateLimitSpacesTheRecords) {
    SimLine line(sim::Options{.recordsPerSecond = 10});
    line.send("g", 0.0);
    const std::string text = line.take(1.0);
    EXPECT_EQ(text.size(), 5u + 10 * 5);
    // The first record waits for the ack; the next ones start 0.1 s apart.
    EXPECT_NEAR(line.lastTimes[5], 0.002 + 6 * kChar, 1e-9);
    EXPECT_NEAR(line.lastTimes[15] - line.lastTimes[10], 0.1, 1e-9);
    EXPECT_NEAR(line.lastTimes[20] - line.lastTimes[15], 0.1, 1e-9);
}

TEST(SimStream, LevelDriftsWhileStreaming) {
    SimLine line(sim::Options{.recordsPerSecond = 2});
    line.instrument.setDrift(0.05);
    line.send("g", 0.0);
    const std::string text = line.take(10.0).substr(5);
    int low = 4095, high = 0;
    for (size_t at = 0; at + 5 <= text.size(); at += 5) {
        const int v = std::atoi(text.c_str() + at);
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_GT(high - low, 200);
    EXPECT_LT(high - low, 420);
}

TEST(SimStream, CalibrationFieldsShapeTheReadings) {
    SimLine line;
    auto& block = line.instrument.block();
    line.instrument.setLevel(0.1);
    EXPECT_EQ(line.instrument.reportedCounts(), 400);
    line.instrument.setLevel(0.9);
    EXPECT_EQ(line.instrument.reportedCounts(), 3700);

    // What the tool's two-point calibration makes of those readings: gain 4066, zero 12.
    block[3] = 0x0F, block[4] = 0xE2, block[5] = 0x00, block[6] = 0x0C;
    line.instrument.setLevel(0.0);
    EXPECT_EQ(line.instrument.reportedCounts(), 0);
    line.instrument.setLevel(1.0);
    EXPECT_EQ(line.instrument.reportedCounts(), 4094);
    line.instrument.setLevel(0.5);
    EXPECT_EQ(line.instrument.reportedCounts(), 2047);

    // A gauge length of 4.0 spreads the scale over twice the length: half the counts.
    block[3] = 0x10, block[4] = 0x00, block[5] = 0x00, block[6] = 0x00;
    block[24] = 40;
    line.instrument.setLevel(1.0);
    EXPECT_EQ(line.instrument.reportedCounts(), 2050);

    // Default calibration of a type 0 gauge (zero -500) clips the low end at 0.
    block[24] = 20;
    block[5] = 0xFE, block[6] = 0x0C;
    line.instrument.setLevel(0.1);
    EXPECT_EQ(line.instrument.reportedCounts(), 0);
    line.instrument.setLevel(1.0);
    EXPECT_EQ(line.instrument.reportedCounts(), 3613);
}

// Two-point calibration from the instrument's own readings, as the tool computes it,
// brings any reference pair to ~0 at the bottom and ~4095 at the full length.
TEST(SimStream, CalibratingFromItsOwnReadingsReachesTheFullScale) {
    SimLine line;
    auto& block = line.instrument.block();
    block[24] = 30;  // a 3.0 gauge: the span is off by more than the default one
    for (int pass = 0; pass < 2; ++pass) {
        const double fractionA = 0.25, fractionB = 0.75;
        line.instrument.setLevel(fractionA);
        const double readingA = line.instrument.reportedCounts();
        line.instrument.setLevel(fractionB);
        const double readingB = line.instrument.reportedCounts();
        const double oldGain = static_cast<int16_t>(block[3] << 8 | block[4]);
        const double oldZero = static_cast<int16_t>(block[5] << 8 | block[6]);
        const double slope = (readingB - readingA) / (fractionB - fractionA);
        const auto gain = static_cast<int>(oldGain * (4095 / slope));
        const auto zero =
            static_cast<int>(oldZero + (fractionA * slope - readingA) * 4095 / oldGain);
        block[3] = static_cast<uint8_t>(gain >> 8), block[4] = static_cast<uint8_t>(gain);
        block[5] = static_cast<uint8_t>(zero >> 8), block[6] = static_cast<uint8_t>(zero);

        line.instrument.setLevel(0.0);
        EXPECT_LE(line.instrument.reportedCounts(), 2) << pass;
        line.instrument.setLevel(1.0);
        EXPECT_NEAR(line.instrument.reportedCounts(), 4095, 3) << pass;
    }
}

}  // namespace
