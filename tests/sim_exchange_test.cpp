// The simulated instrument's answers to 'i', 'r' and 'w', byte for byte and on time.
#include <gtest/gtest.h>

#include <string>

#include "sim/model/block.h"
#include "tests/sim_test_line.h"

namespace {

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// The fresh instrument's block at 2026-12-07 12:00:00 (a Monday), checksum 0x57.
const std::string kFreshBlockText = "00,DF,00,10,00,00,00,00,00,00,00," +
                                    std::string("00,00,12,01,07,12,26,") + "00,00,00,00,00,00,14," +
                                    repeat("00,", 17) + "02,";

// A write form of `block`, checksum included.
std::string writeForm(const sim::Block& block) {
    return sim::blockText(block, true);
}

TEST(SimExchange, IdentifyAnswersAckThenSerialNumberOnTime) {
    SimLine line;
    line.send("i", 1.0);
    EXPECT_EQ(line.take(2.0), "<I>OK" + std::string("QV-0000012345 \r"));
    ASSERT_EQ(line.lastTimes.size(), 20u);
    EXPECT_NEAR(line.lastTimes.front(), 1.002 + 10.0 / 9600, 1e-9);
    EXPECT_NEAR(line.lastTimes.back(), 1.002 + 20 * 10.0 / 9600, 1e-9);
}

TEST(SimExchange, SerialNumberIsCutToFourteenCharacters) {
    SimLine line(sim::Options{.serialNumber = "ABCDEFGHIJKLMNOPQ"});
    line.send("i", 0.0);
    EXPECT_EQ(line.take(1.0), "<I>OKABCDEFGHIJKLMN\r");
}

TEST(SimExchange, ReadSendsBlockTextWithChecksumPacedAtTheWireRate) {
    SimLine line;
    line.send("r", 0.5);
    EXPECT_EQ(line.take(0.9), "<R>OK" + kFreshBlockText + "57");
    EXPECT_NEAR(line.lastTimes.back(), 0.502 + 136 * 10.0 / 9600, 1e-9);
    EXPECT_EQ(line.instrument.blockText(false), kFreshBlockText);
}

TEST(SimExchange, FasterLineShortensTheReply) {
    SimLine line;
    line.instrument.setBaud(115200);
    line.send("r", 0.0);
    EXPECT_EQ(line.take(1.0).size(), 136u);
    EXPECT_NEAR(line.lastTimes.back(), 0.002 + 136 * 10.0 / 115200, 1e-9);
}

TEST(SimExchange, RepliesQueueBackToBack) {
    SimLine line;
    line.send("ii", 0.0);
    EXPECT_EQ(line.take(1.0), "<I>OKQV-0000012345 \r<I>OKQV-0000012345 \r");
    for (size_t k = 1; k < line.lastTimes.size(); ++k)
        EXPECT_NEAR(line.lastTimes[k] - line.lastTimes[k - 1], 10.0 / 9600, 1e-9);
}

TEST(SimExchange, WakeUpBytesLineEndsAndNoiseAreIgnored) {
    SimLine line;
    line.send("st\r\nxyz!", 0.0);
    EXPECT_EQ(line.take(5.0), "");
    EXPECT_FALSE(line.instrument.isStreaming());
    EXPECT_EQ(line.instrument.receivedText(), "st\r\nxyz!");
    ASSERT_EQ(line.instrument.received().size(), 8u);
    EXPECT_NEAR(line.instrument.received()[1].time, 10.0 / 9600, 1e-12);
}

TEST(SimExchange, WriteStoresAStrictBlockAndReadShowsIt) {
    SimLine line;
    sim::Block block = line.instrument.block();
    block[7] = 0x3C;
    block[42] = 0x12;
    double at = line.send("w", 0.0);
    EXPECT_EQ(line.take(0.4), "<W>OK");
    at = line.send(writeForm(block), 0.4);
    EXPECT_EQ(line.take(at + 0.5), "<D>OK");
    EXPECT_EQ(line.instrument.blocksWritten(), 1);
    EXPECT_EQ(line.instrument.block()[7], 0x3C);
    EXPECT_EQ(line.instrument.block()[42], 0x12);

    line.send("r", 2.0);
    const std::string reply = line.take(3.0);
    EXPECT_EQ(reply.substr(5 + 21, 2), "3C");
    EXPECT_EQ(reply.substr(5 + 126, 2), "12");
}

// Each broken write form is refused with "<E>NO" and leaves the old block in place.
TEST(SimExchange, WriteRefusesAnythingButTheStrictForm) {
    const sim::Block original = SimLine().instrument.block();
    sim::Block changed = original;
    changed[7] = 0xAB;
    const std::string good = writeForm(changed);
    std::string lowerCase = good;
    lowerCase[21] = 'a';
    std::string badComma = good;
    badComma[23] = ';';
    std::string badChecksum = good;
    badChecksum[130] = badChecksum[130] == '0' ? '1' : '0';
    std::string notHex = good;
    notHex[0] = 'G';

    for (const std::string& text : {lowerCase, badComma, badChecksum, notHex}) {
        SimLine line;
        line.send("w", 0.0);
        line.take(0.4);
        const double at = line.send(text, 0.4);
        EXPECT_EQ(line.take(at + 0.5), "<E>NO") << text;
        EXPECT_EQ(line.instrument.block()[7], 0) << text;
        EXPECT_EQ(line.instrument.blocksWritten(), 0) << text;
    }
}

TEST(SimExchange, ShortWriteTimesOutSilentlyAndKeepsTheOldBlock) {
    SimLine line;
    sim::Block changed = line.instrument.block();
    changed[7] = 0xAB;
    line.send("w", 0.0);
    line.take(0.4);
    const double at = line.send(writeForm(changed).substr(0, 130), 0.4);
    EXPECT_EQ(line.take(at + 3.0), "");
    EXPECT_EQ(line.instrument.block()[7], 0);
    // After the time-out the next byte is a command again.
    line.send("i", 3.0);
    EXPECT_EQ(line.take(4.0).substr(0, 5), "<I>OK");
}

TEST(SimExchange, WriteWithTheClockFlagSetsTheClockAndClearsTheFlag) {
    SimLine line;
    sim::Block block = line.instrument.block();
    // 2026-12-31 23:59:58, Thursday (4), clock-set flag on.
    const uint8_t clock[] = {0x58, 0x59, 0x23, 0x04, 0x31, 0x12, 0x26};
    std::copy(std::begin(clock), std::end(clock), block.begin() + 11);
    block[42] = 0x0A;
    line.send("w", 10.0);
    const double at = line.send(writeForm(block), 10.4);
    EXPECT_EQ(line.take(at + 0.1), "<W>OK<D>OK");
    EXPECT_EQ(line.instrument.block()[42], 0x02);

    // Three seconds later it is the new year, a Friday.
    line.send("r", at + 3.0);
    const std::string text = line.take(at + 4.0).substr(5);
    EXPECT_EQ(text.substr(33, 21), "01,00,00,05,01,01,27,");
    EXPECT_EQ(text.substr(126, 3), "02,");
}

TEST(SimExchange, WriteWithoutTheClockFlagLeavesTheClockRunning) {
    SimLine line;
    sim::Block block = line.instrument.block();
    block[11] = 0x33;  // a stale time the tool sends back unchanged
    block[17] = 0x99;
    line.send("w", 0.0);
    const double at = line.send(writeForm(block), 0.4);
    line.take(at + 0.1);
    EXPECT_EQ(line.instrument.blocksWritten(), 1);
    EXPECT_NEAR(line.instrument.clockSecondsAt(100.0) - line.instrument.clockSecondsAt(0.0), 100.0,
                1e-9);
    line.send("r", 61.0);
    EXPECT_EQ(line.take(62.0).substr(5 + 33, 21), "01,01,12,01,07,12,26,");
}

TEST(SimExchange, InvalidClockTimeIsStoredWithoutMovingTheClock) {
    SimLine line;
    sim::Block block = line.instrument.block();
    block[16] = 0x13;  // month 13
    block[42] |= 0x08;
    line.send("w", 0.0);
    const double at = line.send(writeForm(block), 0.4);
    EXPECT_EQ(line.take(at + 0.1), "<W>OK<D>OK");
    EXPECT_EQ(line.instrument.block()[16], 0x12);
    EXPECT_EQ(line.instrument.block()[42] & 0x08, 0);
}

TEST(SimExchange, ClockRunsFromItsFixedStartAndFollowsADirectEdit) {
    SimLine line;
    // 2026-12-07 12:00:00 is 9837 days and 12 hours after 2000-01-01.
    EXPECT_DOUBLE_EQ(line.instrument.clockSecondsAt(0), 9837 * 86400.0 + 12 * 3600);
    line.take(3725.0);
    EXPECT_EQ(line.instrument.block()[11], 0x05);
    EXPECT_EQ(line.instrument.block()[12], 0x02);
    EXPECT_EQ(line.instrument.block()[13], 0x13);

    line.instrument.block()[13] = 0x08;  // arranged by a test: the clock now reads 08:02:05
    line.take(3735.0);
    EXPECT_EQ(line.instrument.block()[11], 0x15);
    EXPECT_EQ(line.instrument.block()[13], 0x08);
}

TEST(SimExchange, ScheduledStartBytesAreStoredAsWritten) {
    SimLine line;
    sim::Block block = line.instrument.block();
    const uint8_t start[] = {0x30, 0x14, 0x25, 0x03, 0x27};
    std::copy(std::begin(start), std::end(start), block.begin() + 18);
    block[42] |= 0x20;
    line.send("w", 0.0);
    const double at = line.send(writeForm(block), 0.4);
    line.take(at + 100.0);
    EXPECT_EQ(line.instrument.blockText(false).substr(54, 15), "30,14,25,03,27,");
    EXPECT_EQ(line.instrument.block()[42], 0x22);
}

}  // namespace
