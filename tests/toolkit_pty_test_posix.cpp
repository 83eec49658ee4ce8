// A real pseudo-terminal through the default QSerialPort backend, on the real clock:
// bytes both ways, a read that ends at a short time-out, flushing, and a hang-up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <chrono>
#include <string>
#include <thread>

#include "toolkit/platform/clock.h"
#include "toolkit/platform/utility.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"

namespace {

class PseudoTerminalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        int slave = -1;
        char name[256] = {};
        ASSERT_EQ(openpty(&master_, &slave, name, nullptr, nullptr), 0);
        ::close(slave);
        termios raw{};
        ASSERT_EQ(tcgetattr(master_, &raw), 0);
        cfmakeraw(&raw);
        ASSERT_EQ(tcsetattr(master_, TCSANOW, &raw), 0);
        slavePath_ = name;
        SetSerialBackend(nullptr);
        SetToolkitClock(nullptr);
    }
    void TearDown() override {
        CloseCom(1);
        closeMaster();
    }

    void closeMaster() {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }
    void sendFromInstrument(const std::string& text) {
        ASSERT_EQ(::write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    // What the tool wrote, as far as it arrives within a short wait.
    std::string receiveAtInstrument(size_t count) {
        std::string text;
        while (text.size() < count) {
            pollfd fd{master_, POLLIN, 0};
            if (::poll(&fd, 1, 500) <= 0)
                break;
            char buffer[256];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                break;
            text.append(buffer, static_cast<size_t>(n));
        }
        return text;
    }
    std::string read(int count, int* status = nullptr) {
        std::string buffer(static_cast<size_t>(count), '\0');
        const int n = ComRd(1, buffer.data(), count);
        if (status)
            *status = n;
        buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return buffer;
    }

    int master_ = -1;
    std::string slavePath_;
};

TEST_F(PseudoTerminalTest, BytesGoBothWaysAndAShortReadEndsAtTheTimeOut) {
    ASSERT_EQ(OpenComConfig(1, slavePath_.c_str(), 9600, 0, 8, 1, 512, 512), 0);
    ASSERT_EQ(SetComTime(1, 0.2), 0);

    EXPECT_EQ(ComWrt(1, "r\r\n", 3), 3);
    EXPECT_EQ(ComWrtByte(1, 0xFF), 1);
    EXPECT_EQ(receiveAtInstrument(4), "r\r\n\xFF");

    sendFromInstrument("xRabc");
    EXPECT_EQ(read(5), "xRabc");

    sendFromInstrument("xy");
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(read(5), "xy");
    EXPECT_GE(elapsed.nsecsElapsed(), 200'000'000);
    std::printf("[ figures  ] short read returned after %.3f s (time-out 0.2 s)\n",
                static_cast<double>(elapsed.nsecsElapsed()) * 1e-9);
}

TEST_F(PseudoTerminalTest, FlushInQDropsBytesAlreadyReceived) {
    qputenv("QUORVEL_COM1", slavePath_.c_str());
    ASSERT_EQ(OpenComConfig(1, "COM1", 9600, 0, 8, 1, 512, 512), 0);
    qunsetenv("QUORVEL_COM1");
    ASSERT_EQ(SetComTime(1, 0.1), 0);
    sendFromInstrument("stale reply");
    Delay(0.05);
    // Some of it already read from the terminal into the port's own buffer.
    EXPECT_EQ(read(3), "sta");
    EXPECT_EQ(FlushInQ(1), 0);
    EXPECT_EQ(FlushOutQ(1), 0);
    sendFromInstrument("ok");
    EXPECT_EQ(read(4), "ok");
}

TEST_F(PseudoTerminalTest, AHangUpIsReportedInsteadOfWaiting) {
    ASSERT_EQ(OpenComConfig(1, slavePath_.c_str(), 9600, 0, 8, 1, 512, 512), 0);
    ASSERT_EQ(SetComTime(1, 0.5), 0);
    closeMaster();
    int status = 0;
    read(5, &status);
    EXPECT_EQ(status, kComDeviceLost);
    EXPECT_EQ(ComWrtByte(1, 'r'), kComDeviceLost);
    EXPECT_EQ(FlushInQ(1), kComDeviceLost);
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Benchmark: the live loop's reads of 5-byte records at 192 records a second.
TEST_F(PseudoTerminalTest, LiveRecordsCostLittleProcessorTime) {
    ASSERT_EQ(OpenComConfig(1, slavePath_.c_str(), 9600, 0, 8, 1, 512, 512), 0);
    ASSERT_EQ(SetComTime(1, 3.0), 0);
    constexpr int kRecords = 96;
    std::thread instrument([this] {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kRecords; ++i) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(1'000'000 * i / 192));
            sendFromInstrument("01234");
        }
    });
    const double cpuBefore = cpuSeconds();
    QElapsedTimer elapsed;
    elapsed.start();
    int complete = 0;
    for (int i = 0; i < kRecords; ++i) complete += read(5) == "01234";
    const double wall = static_cast<double>(elapsed.nsecsElapsed()) * 1e-9;
    const double cpu = cpuSeconds() - cpuBefore;
    instrument.join();
    EXPECT_EQ(complete, kRecords);
    std::printf("[ figures  ] %d records in %.3f s, %.1f ms processor time (%.1f %% of one core)\n",
                kRecords, wall, cpu * 1000, 100 * cpu / wall);
}

TEST(SerialDevice, AMissingDeviceCannotBeOpened) {
    SetSerialBackend(nullptr);
    EXPECT_EQ(OpenComConfig(1, "/dev/quorvel-no-such-port", 9600, 0, 8, 1, 512, 512),
              kComCannotOpen);
    EXPECT_EQ(FlushInQ(1), kComNotOpen);
}

}  // namespace
