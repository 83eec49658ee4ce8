// Gain and zero: decoding from the block text, the two-point computation, and the
// characters the calibration fields put into the text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "link/calibration_fields.h"
#include "link/gain_zero.h"

namespace {

// A read-form block text with every byte 0x00, then the given bytes set.
std::string blockWith(std::initializer_list<std::pair<int, int>> bytes) {
    std::string text;
    for (int i = 0; i < 43; ++i) text += "00,";
    for (auto [index, value] : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", value);
        text[3 * index] = pair[0];
        text[3 * index + 1] = pair[1];
    }
    return text;
}

std::string pairAt(const std::string& text, int byte) {
    return text.substr(3 * byte, 2);
}

TEST(DecodeGainZero, ReadsSignedSixteenBitFields) {
    const GainZero plain =
        decodeGainZero(blockWith({{3, 0x10}, {4, 0x00}, {5, 0x00}, {6, 0x0c}}).c_str());
    EXPECT_EQ(plain.gain, 4096);
    EXPECT_EQ(plain.zero, 12);

    const GainZero negative =
        decodeGainZero(blockWith({{3, 0x80}, {4, 0x00}, {5, 0xfe}, {6, 0x0c}}).c_str());
    EXPECT_EQ(negative.gain, -32768);
    EXPECT_EQ(negative.zero, -500);

    EXPECT_EQ(decodeGainZero("00,00,00,7F,FF,F8,94,").gain, 32767);
    EXPECT_EQ(decodeGainZero("00,00,00,7f,ff,f8,94,").zero, -1900);
}

TEST(ComputeGainZero, WorkedExampleAndItsRepetition) {
    const GainZeroResult first = computeGainZero(2.0f, 200, 1800, 400, 3700, 4096, 0);
    ASSERT_EQ(first.status, GainZeroStatus::Ok);
    EXPECT_EQ(first.newGain, 4066);
    EXPECT_EQ(first.newZero, 12);

    // The correction applies again from what the instrument then holds.
    const GainZeroResult second =
        computeGainZero(2.0f, 200, 1800, 400, 3700, first.newGain, first.newZero);
    EXPECT_EQ(second.newGain, 4036);
    EXPECT_EQ(second.newZero, 24);
}

TEST(ComputeGainZero, TruncatesTowardZero) {
    // levelA 0 and a gain of 4095: the zero shift is exactly -readingA.
    const GainZeroResult down = computeGainZero(1.0f, 0, 1000, 12.9f, 4000, 4095, 0);
    ASSERT_EQ(down.status, GainZeroStatus::Ok);
    EXPECT_EQ(down.newZero, -12);
    const GainZeroResult up = computeGainZero(1.0f, 0, 1000, 12.9f, 4000, 4095, -30);
    EXPECT_EQ(up.newZero, -42);
    // The gain truncates the same way: 4095 x 4095/4095.5 is 4094.5.
    EXPECT_EQ(computeGainZero(1.0f, 0, 1000, 0, 4095.5f, 4095, 0).newGain, 4094);
    EXPECT_EQ(computeGainZero(1.0f, 0, 1000, 0, 4095.5f, -4095, 0).newGain, -4094);
}

TEST(ComputeGainZero, RefusesInputThatDividesByZero) {
    EXPECT_EQ(computeGainZero(2.0f, 900, 900, 400, 3700, 4096, 0).status,
              GainZeroStatus::EqualLevels);
    EXPECT_EQ(computeGainZero(2.0f, 200, 1800, 1000, 1000, 4096, 0).status,
              GainZeroStatus::EqualReadings);
    EXPECT_EQ(computeGainZero(2.0f, 200, 1800, 400, 3700, 0, 0).status,
              GainZeroStatus::ZeroOldGain);
    const GainZeroResult refused = computeGainZero(2.0f, 200, 1800, 400, 3700, 0, 7);
    EXPECT_EQ(refused.newGain, 0);
    EXPECT_EQ(refused.newZero, 0);
}

TEST(ComputeGainZero, RefusesCountsBeyondThirtyTwoBits) {
    // A slope of almost nothing multiplies the gain beyond 2^31.
    EXPECT_EQ(computeGainZero(1.0f, 100, 900, 1000, 1000.0001f, 32767, 0).status,
              GainZeroStatus::BadGain);
    // Levels a hair apart make the zero shift enormous while the gain stays small.
    EXPECT_EQ(computeGainZero(1.0f, 1000, 1000.1f, 0, 3300, 1, 0).status, GainZeroStatus::BadZero);
    for (auto status :
         {GainZeroStatus::EqualLevels, GainZeroStatus::EqualReadings, GainZeroStatus::ZeroOldGain,
          GainZeroStatus::BadGain, GainZeroStatus::BadZero}) {
        ASSERT_NE(gainZeroRefusalText(status), nullptr);
        EXPECT_LT(std::string(gainZeroRefusalText(status)).size(), 150u);
    }
}

TEST(CalibrationFields, WriteGainZeroAndScaleSettings) {
    std::string text = blockWith({{0, 0xaa}, {7, 0x3c}, {23, 0x05}, {25, 0x77}, {42, 0x12}});
    const std::string before = text;
    writeCalibrationFields(text.data(), {223, 8}, 4096, 12, 2.0f);
    EXPECT_EQ(text.substr(0, 21), "aa,df,08,10,00,00,0c,");
    EXPECT_EQ(pairAt(text, 24), "14");
    for (size_t i = 0; i < text.size(); ++i) {
        const bool owned = (i >= 3 && i < 21) || (i >= 72 && i < 75);
        if (!owned) {
            EXPECT_EQ(text[i], before[i]) << "position " << i;
        }
    }
}

TEST(CalibrationFields, KeepTheLowSixteenBitsOfNegativeAndWideCounts) {
    std::string text = blockWith({});
    writeCalibrationFields(text.data(), {0, 0}, 70000, -500, 1.0f);
    EXPECT_EQ(text.substr(9, 12), "11,70,fe,0c,");
    writeCalibrationFields(text.data(), {0, 0}, 12, -1900, 1.0f);
    EXPECT_EQ(text.substr(9, 12), "00,0c,f8,94,");
    writeCalibrationFields(text.data(), {0, 0}, -1, -820, 1.0f);
    EXPECT_EQ(text.substr(9, 12), "ff,ff,fc,cc,");
}

TEST(CalibrationFields, LengthInTenthsIsTruncated) {
    std::string text = blockWith({});
    const std::pair<float, const char*> cases[] = {
        {0.25f, "02"}, {0.5f, "05"}, {1.5f, "0f"}, {2.5f, "19"}, {11.0f, "6e"}};
    for (auto [length, pair] : cases) {
        writeCalibrationFields(text.data(), {0, 0}, 0, 0, length);
        EXPECT_EQ(pairAt(text, 24), pair) << length;
        EXPECT_EQ(text[74], ',');
    }
}

TEST(CalibrationFields, DefaultZeroByGaugeType) {
    EXPECT_EQ(defaultZero(0), -500);
    EXPECT_EQ(defaultZero(1), -1900);
    EXPECT_EQ(defaultZero(2), -820);
    EXPECT_EQ(defaultZero(3), 0);
}

}  // namespace
