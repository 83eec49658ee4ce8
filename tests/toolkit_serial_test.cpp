// The serial ports through the in-process line on the virtual clock: port numbers,
// open state, time-outs, pacing at the line rate, flushing and a lost device.
#include <gtest/gtest.h>

#include <QByteArray>
#include <cstdlib>
#include <deque>
#include <map>
#include <string>

#include "tests/harness/inprocess_line.h"
#include "tests/harness/virtual_clock.h"
#include "toolkit/platform/clock.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"

namespace {

constexpr double kCharTime = 10.0 / 9600;

// A tiny instrument: answers a command byte with a fixed reply, or echoes everything.
// It also checks that the line keeps its time in order.
class ScriptedPeer : public LinePeer {
  public:
    void receive(uint8_t byte, double time) override {
        if (time > advancedTo_)
            outOfOrder = true;
        received.push_back({time, byte});
        if (echo)
            send(std::string(1, static_cast<char>(byte)), time);
        if (auto it = replies.find(static_cast<char>(byte)); it != replies.end())
            send(it->second, time);
    }

    void advanceTo(double time, std::vector<sim::TimedByte>& out) override {
        if (time < advancedTo_)
            outOfOrder = true;
        advancedTo_ = time;
        while (!queued_.empty() && queued_.front().time <= time) {
            out.push_back(queued_.front());
            queued_.pop_front();
        }
    }

    // Sends `text` right after `time`, one character time apiece.
    void send(const std::string& text, double time) {
        double at = queued_.empty() ? time : std::max(time, queued_.back().time);
        for (char c : text) {
            at += kCharTime;
            queued_.push_back({at, static_cast<uint8_t>(c)});
        }
    }

    std::string receivedText() const {
        std::string text;
        for (const auto& b : received) text += static_cast<char>(b.byte);
        return text;
    }

    bool echo = false;
    std::map<char, std::string> replies;
    std::vector<sim::TimedByte> received;
    bool outOfOrder = false;

  private:
    double advancedTo_ = 0;
    std::deque<sim::TimedByte> queued_;
};

class SerialPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetToolkitClock(&clock);
        SetSerialBackend(&backend);
        backend.attach(1, &peer);
    }
    void TearDown() override {
        EXPECT_FALSE(peer.outOfOrder) << "the peer was told about the past";
        SetSerialBackend(nullptr);
        SetToolkitClock(nullptr);
    }
    int open(int port = 1) { return OpenComConfig(port, "COM1", 9600, 0, 8, 1, 512, 512); }
    std::string read(int count, int* status = nullptr) {
        std::string buffer(static_cast<size_t>(count), '\0');
        const int n = ComRd(1, buffer.data(), count);
        if (status)
            *status = n;
        buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return buffer;
    }

    VirtualClock clock;
    InProcessBackend backend;
    ScriptedPeer peer;
};

TEST_F(SerialPortTest, PortNumbersOutsideOneToFourAreInvalid) {
    char buffer[4];
    for (int port : {0, 5, -1}) {
        EXPECT_EQ(OpenComConfig(port, "COM1", 9600, 0, 8, 1, 512, 512), kComInvalidPort);
        EXPECT_EQ(SetComTime(port, 1.0), kComInvalidPort);
        EXPECT_EQ(ComRd(port, buffer, 4), kComInvalidPort);
        EXPECT_EQ(ComWrtByte(port, 'x'), kComInvalidPort);
    }
    EXPECT_TRUE(backend.opens().empty());
}

TEST_F(SerialPortTest, EveryCallOnAPortThatIsNotOpenSaysSo) {
    char buffer[4] = {'a', 'b', 'c', 'd'};
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(SetComTime(2, 3.0), kComNotOpen);
        EXPECT_EQ(FlushInQ(2), kComNotOpen);
        EXPECT_EQ(FlushOutQ(2), kComNotOpen);
        EXPECT_EQ(ComWrtByte(2, 'r'), kComNotOpen);
        EXPECT_EQ(ComWrt(2, buffer, 4), kComNotOpen);
        EXPECT_EQ(ComRd(2, buffer, 4), kComNotOpen);
        EXPECT_EQ(CloseCom(2), kComNotOpen);
        // Once opened and closed again, the port is as before.
        ASSERT_EQ(open(2), 0);
        ASSERT_EQ(CloseCom(2), 0);
    }
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(clock.now(), 0.0);
}

TEST_F(SerialPortTest, LineParametersAreCheckedBeforeAnyOpen) {
    EXPECT_EQ(OpenComConfig(1, "COM1", 0, 0, 8, 1, 512, 512), kComBadParameter);
    EXPECT_EQ(OpenComConfig(1, "COM1", 9600, 5, 8, 1, 512, 512), kComBadParameter);
    EXPECT_EQ(OpenComConfig(1, "COM1", 9600, 0, 4, 1, 512, 512), kComBadParameter);
    EXPECT_EQ(OpenComConfig(1, "COM1", 9600, 0, 9, 1, 512, 512), kComBadParameter);
    EXPECT_EQ(OpenComConfig(1, "COM1", 9600, 0, 8, 0, 512, 512), kComBadParameter);
    EXPECT_EQ(OpenComConfig(1, "COM1", 9600, 0, 8, 3, 512, 512), kComBadParameter);
    EXPECT_TRUE(backend.opens().empty());

    ASSERT_EQ(OpenComConfig(3, "COM3", 19200, 2, 7, 2, 512, 512), 0);
    ASSERT_EQ(backend.opens().size(), 1u);
    const auto& record = backend.opens()[0];
    EXPECT_EQ(record.port, 3);
    EXPECT_EQ(record.deviceName, "COM3");
    EXPECT_EQ(record.settings.baudRate, 19200);
    EXPECT_EQ(record.settings.parity, 2);
    EXPECT_EQ(record.settings.dataBits, 7);
    EXPECT_EQ(record.settings.stopBits, 2);
}

TEST_F(SerialPortTest, ReopeningClosesThePortFirst) {
    ASSERT_EQ(open(), 0);
    ASSERT_EQ(SetComTime(1, 3.0), 0);
    // A reopen starts with the default time-out again.
    ASSERT_EQ(open(), 0);
    EXPECT_EQ(read(5), "");
    EXPECT_DOUBLE_EQ(clock.now(), kDefaultComTimeout);

    // A reopen that fails leaves the port closed, not the old line open.
    backend.failOpens(kComCannotOpen);
    EXPECT_EQ(open(), kComCannotOpen);
    EXPECT_FALSE(backend.isOpen(1));
    EXPECT_EQ(ComWrtByte(1, 'i'), kComNotOpen);
    backend.failOpens(0);
    EXPECT_EQ(open(), 0);
    EXPECT_EQ(backend.opens().size(), 4u);
}

TEST_F(SerialPortTest, ShortReadReturnsTheCountAfterExactlyTheTimeOut) {
    peer.replies['i'] = "AB";
    ASSERT_EQ(open(), 0);
    ASSERT_EQ(SetComTime(1, 3.0), 0);
    clock.advance(1.5);
    ASSERT_EQ(ComWrtByte(1, 'i'), 1);
    char buffer[6] = "xxxxx";
    EXPECT_EQ(ComRd(1, buffer, 5), 2);
    EXPECT_EQ(std::string(buffer), "ABxxx");  // only what came is written
    EXPECT_EQ(clock.now(), 1.5 + 3.0);
}

TEST_F(SerialPortTest, ReadEndsWhenItsLastByteArrives) {
    peer.replies['i'] = "HELLO";
    ASSERT_EQ(open(), 0);
    ASSERT_EQ(SetComTime(1, 3.0), 0);
    ASSERT_EQ(ComWrtByte(1, 'i'), 1);
    EXPECT_EQ(clock.now(), 0.0);  // a write does not wait for the line
    EXPECT_EQ(read(3), "HEL");
    EXPECT_DOUBLE_EQ(clock.now(), 4 * kCharTime);
    EXPECT_EQ(read(2), "LO");
    EXPECT_DOUBLE_EQ(clock.now(), 6 * kCharTime);
    // A byte written right after a read reaches the instrument one character later.
    ASSERT_EQ(ComWrtByte(1, 's'), 1);
    ASSERT_EQ(peer.received.size(), 2u);
    EXPECT_DOUBLE_EQ(peer.received[1].time, 7 * kCharTime);
}

TEST_F(SerialPortTest, WrittenBytesArriveOneCharacterTimeApart) {
    ASSERT_EQ(open(), 0);
    clock.advance(2.0);
    const std::string block(131, 'A');
    EXPECT_EQ(ComWrt(1, block.data(), 131), 131);
    // Queued behind the block on the same line.
    EXPECT_EQ(ComWrtByte(1, 'w'), 1);
    ASSERT_EQ(peer.received.size(), 132u);
    EXPECT_DOUBLE_EQ(peer.received[0].time, 2.0 + kCharTime);
    EXPECT_NEAR(peer.received[130].time - 2.0, 131 * 10.0 / 9600, 1e-9);
    EXPECT_NEAR(peer.received[131].time - 2.0, 132 * 10.0 / 9600, 1e-9);
    EXPECT_EQ(peer.receivedText(), block + "w");
}

TEST_F(SerialPortTest, FlushInQDropsWhatHasArrivedAndKeepsWhatIsStillComing) {
    peer.replies['i'] = "ABCDEF";
    ASSERT_EQ(open(), 0);
    ASSERT_EQ(SetComTime(1, 3.0), 0);
    ASSERT_EQ(ComWrtByte(1, 'i'), 1);
    clock.advance(4.5 * kCharTime);  // 'A', 'B' and 'C' are in
    EXPECT_EQ(FlushInQ(1), 0);
    EXPECT_EQ(FlushOutQ(1), 0);
    EXPECT_EQ(read(6), "DEF");
    EXPECT_DOUBLE_EQ(clock.now(), 4.5 * kCharTime + 3.0);
}

TEST_F(SerialPortTest, AWriteFromAScheduledActionIsAnsweredWithinTheRead) {
    peer.replies['i'] = "OK";
    ASSERT_EQ(open(), 0);
    ASSERT_EQ(SetComTime(1, 3.0), 0);
    clock.schedule(1.0, [] { ComWrtByte(1, 'i'); });
    EXPECT_EQ(read(2), "OK");
    EXPECT_DOUBLE_EQ(clock.now(), 1.0 + 3 * kCharTime);
    ASSERT_EQ(peer.received.size(), 1u);
    EXPECT_DOUBLE_EQ(peer.received[0].time, 1.0 + kCharTime);
}

TEST_F(SerialPortTest, ACableWithNothingOnItOpensAndTimesOut) {
    ASSERT_EQ(OpenComConfig(2, "COM2", 9600, 0, 8, 1, 512, 512), 0);
    ASSERT_EQ(SetComTime(2, 0.5), 0);
    EXPECT_EQ(ComWrtByte(2, 'i'), 1);
    char buffer[5];
    EXPECT_EQ(ComRd(2, buffer, 5), 0);
    EXPECT_DOUBLE_EQ(clock.now(), 0.5);
    EXPECT_EQ(SetComTime(2, -1.0), kComBadParameter);
}

TEST_F(SerialPortTest, ALostDeviceStaysLostUntilTheNextOpen) {
    peer.echo = true;
    ASSERT_EQ(open(), 0);
    ASSERT_EQ(SetComTime(1, 1.0), 0);
    backend.dropLine(1);
    int status = 0;
    read(1, &status);
    EXPECT_EQ(status, kComDeviceLost);
    EXPECT_EQ(ComWrtByte(1, 'x'), kComDeviceLost);
    EXPECT_EQ(FlushInQ(1), kComDeviceLost);
    EXPECT_EQ(SetComTime(1, 2.0), kComDeviceLost);
    EXPECT_TRUE(peer.received.empty());

    ASSERT_EQ(open(), 0);
    ASSERT_EQ(ComWrtByte(1, 'x'), 1);
    EXPECT_EQ(read(1), "x");
}

TEST_F(SerialPortTest, FailedReadsReturnTheirCode) {
    peer.echo = true;
    ASSERT_EQ(open(), 0);
    backend.failReads(1, kComIoError);
    ASSERT_EQ(ComWrtByte(1, 'x'), 1);
    int status = 0;
    read(1, &status);
    EXPECT_EQ(status, kComIoError);
    backend.failReads(1, 0);
    EXPECT_EQ(read(1), "x");
}

TEST_F(SerialPortTest, ChangingTheBackendClosesEveryPort) {
    ASSERT_EQ(open(1), 0);
    ASSERT_EQ(open(4), 0);
    SetSerialBackend(&backend);
    EXPECT_EQ(FlushInQ(1), kComNotOpen);
    EXPECT_EQ(FlushInQ(4), kComNotOpen);
}

class EnvironmentVariable {
  public:
    EnvironmentVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~EnvironmentVariable() {
        if (old_.empty())
            qunsetenv(name_);
        else
            qputenv(name_, old_.c_str());
    }

  private:
    const char* name_;
    std::string old_;
};

TEST(DeviceForComName, ComNamesMapToTheEnvironmentOrTheSerialDevices) {
    EnvironmentVariable com1("QUORVEL_COM1", nullptr);
    EnvironmentVariable com4("QUORVEL_COM4", "/dev/pts/7");
    EXPECT_EQ(DeviceForComName("COM1"), SystemDeviceForComPort(1));
    EXPECT_EQ(DeviceForComName("COM3"), SystemDeviceForComPort(3));
    EXPECT_EQ(DeviceForComName("COM4"), "/dev/pts/7");
    EXPECT_EQ(DeviceForComName("/dev/ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForComName("ttyACM0"), "ttyACM0");
    {
        EnvironmentVariable empty("QUORVEL_COM1", "");
        EXPECT_EQ(DeviceForComName("COM1"), SystemDeviceForComPort(1));
    }
}

}  // namespace
