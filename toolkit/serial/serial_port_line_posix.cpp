// A serial line on a QSerialPort, driven by blocking waits on the calling thread.
//
// Waits go in slices of at most kSerialPumpInterval (while a stream runs, its gathering
// time, SetComReadGathering) so windows repaint between them; each slice sleeps in the
// kernel, so a blocked read costs no CPU. Windows are pumped at most once a slice, however
// often the line wakes the reader. A read that has part of its characters sleeps through
// the rest's time on the wire instead of waking per character, and while a stream runs,
// through its gathering time, never longer than the input queue takes to fill.
// Time-outs are measured on the toolkit clock. A device that goes away (ResourceError, or a
// hung-up terminal) makes the line report kComDeviceLost from then on. The port's read
// buffer is the input queue's bound: once full, Qt leaves further bytes in the system.
#include "toolkit/serial/serial_port_line.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <algorithm>
#include <cmath>

#include "toolkit/platform/clock.h"
#include "toolkit/platform/event_pump.h"
#include "toolkit/serial/device_checks.h"
#include "toolkit/serial/device_lock.h"
#include "toolkit/serial/device_names.h"

namespace {

// How often a blocked read or write pumps windows, and so the longest one wait on the
// line lasts: often enough for windows to repaint smoothly while the line is quiet.
constexpr double kSerialPumpInterval = 0.04;

QSerialPort::Parity parityFor(int parity) {
    switch (parity) {
        case 1:
            return QSerialPort::OddParity;
        case 2:
            return QSerialPort::EvenParity;
        case 3:
            return QSerialPort::MarkParity;
        case 4:
            return QSerialPort::SpaceParity;
        default:
            return QSerialPort::NoParity;
    }
}

class QtSerialLine : public SerialLine {
  public:
    QtSerialLine() {
        QObject::connect(&port_, &QSerialPort::errorOccurred,
                         [this](QSerialPort::SerialPortError e) {
                             if (e == QSerialPort::ResourceError)
                                 lost_ = true;
                         });
    }

    // kComNoError, or why the device cannot be used with these settings (and, for one
    // that another program holds, who holds it where the system tells).
    int open(const std::string& device, const LineSettings& s, OpenError& error) {
        ComOpenFailure& reason = error.reason;
        // Qt's own lock file is named after the path it is given: the device's, not a link's.
        const std::string resolved = resolvedDevicePath(device);
        if (!lock_.take(resolved, error))
            return kComCannotOpen;
        port_.setPortName(QString::fromStdString(resolved));
        // The bound holds from the start: nothing received grows past it, idle or not.
        port_.setReadBufferSize(s.inputQueueSize);
        if (!port_.open(QIODevice::ReadWrite)) {
            reason = openFailureOf(device, port_.error());
            if (reason == ComOpenFailure::InUse)
                findDeviceHolder(resolved, error);
            return kComCannotOpen;
        }
        const bool applied =
            port_.setBaudRate(static_cast<qint32>(s.baudRate)) &&
            port_.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)) &&
            port_.setParity(parityFor(s.parity)) &&
            port_.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
            port_.setFlowControl(QSerialPort::NoFlowControl);
        if (!applied && !isPseudoTerminal(device)) {
            reason = ComOpenFailure::Unknown;
            return kComCannotOpen;
        }
        // A start bit, eight data bits and a stop bit is near enough for pacing reads.
        charSeconds_ = s.baudRate > 0 ? 10.0 / static_cast<double>(s.baudRate) : 0.0;
        queueChars_ = s.inputQueueSize;
        port_.clearError();
        // A freshly opened port starts empty, whatever the device held before.
        port_.clear(QSerialPort::AllDirections);
        port_.clearError();
        return kComNoError;
    }

    int flushInput() override { return clearQueue(QSerialPort::Input); }
    int flushOutput() override { return clearQueue(QSerialPort::Output); }
    void setWriteTimeout(double seconds) override { writeTimeout_ = seconds; }
    // A gathering sleep never lets more come than the port's buffer takes at once.
    void setReadGathering(double seconds) override {
        gathering_ = queueChars_ > 0 ? std::min(seconds, queueChars_ * charSeconds_) : seconds;
    }

    int write(const char* data, int count) override {
        if (lost_)
            return kComDeviceLost;
        if (port_.write(data, count) != count)
            return failure(kComIoError);
        ToolkitClock& clock = CurrentClock();
        const double deadline = clock.now() + writeTimeout_;
        while (port_.bytesToWrite() > 0) {
            if (const int f = failure(kComNoError))
                return f;
            const double remaining = deadline - clock.now();
            if (remaining <= 0)
                break;
            // Painting may run the port's own notifiers, which can finish the job.
            PumpWindowEvents();
            if (port_.bytesToWrite() > 0)
                waitSlice(remaining, [this](int ms) { return port_.waitForBytesWritten(ms); });
        }
        if (const int f = failure(kComNoError))
            return f;
        return count - static_cast<int>(port_.bytesToWrite());
    }

    int read(char* buffer, int count, double timeoutSeconds) override {
        if (lost_)
            return kComDeviceLost;
        ToolkitClock& clock = CurrentClock();
        const double deadline = clock.now() + timeoutSeconds;
        int got = 0;
        for (;;) {
            const qint64 n = port_.read(buffer + got, count - got);
            if (n > 0)
                got += static_cast<int>(n);
            if (got == count)
                return got;
            if (const int f = failure(kComNoError))
                return f;
            const double remaining = deadline - clock.now();
            if (remaining <= 0)
                return got;
            pumpWindowsNowAndThen();
            if (port_.bytesAvailable() > 0)
                continue;
            // A hung-up terminal wakes every wait at once and never reports an error.
            if (hasHungUp(port_)) {
                lost_ = true;
                return kComDeviceLost;
            }
            // At a high rate the system holds more than the port's buffer took last time:
            // take it before sleeping on characters that are already here.
            if (gathering_ > 0 && port_.waitForReadyRead(0) && port_.bytesAvailable() > 0)
                continue;
            // All but the last missing character are still on the wire, whether or not the
            // reply has begun: waking for each would cost more than the read. One sleep (no
            // longer than a window pump's interval, or a stream's gathering time) covers
            // them; the wait after it takes the last one.
            const double onTheWire = std::max((count - got - 1) * charSeconds_, gathering_);
            if (onTheWire > 0) {
                const double longest = std::max(kSerialPumpInterval, gathering_);
                sleepFor(std::min({onTheWire, remaining, longest}));
                port_.waitForReadyRead(0);  // takes what came meanwhile, without waiting
            } else
                waitSlice(remaining, [this](int ms) { return port_.waitForReadyRead(ms); });
        }
    }

    int bytesWaiting() override {
        if (lost_)
            return kComDeviceLost;
        port_.waitForReadyRead(0);  // takes what the system holds, without waiting
        if (port_.bytesAvailable() == 0 && hasHungUp(port_)) {
            lost_ = true;
            return kComDeviceLost;
        }
        if (const int f = failure(kComNoError))
            return f;
        return static_cast<int>(port_.bytesAvailable());
    }

  private:
    int clearQueue(QSerialPort::Direction direction) {
        if (lost_)
            return kComDeviceLost;
        if (!port_.clear(direction))
            return failure(kComIoError);
        return kComNoError;
    }

    // Waits at most one slice of `remaining` seconds and moves the toolkit clock on by
    // the real time spent (a no-op on the real clock, which has moved by itself).
    template <typename Wait>
    void waitSlice(double remaining, Wait wait) {
        ToolkitClock& clock = CurrentClock();
        const double before = clock.now();
        QElapsedTimer spent;
        spent.start();
        const int ms = std::max(
            1, static_cast<int>(std::ceil(std::min(remaining, kSerialPumpInterval) * 1000)));
        wait(ms);
        clock.waitUntil(before + static_cast<double>(spent.nsecsElapsed()) * 1e-9);
    }

    // A live loop's own polls pump too: one pump a slice, whoever runs it.
    void pumpWindowsNowAndThen() {
        if (SecondsSinceWindowsPumped() >= kSerialPumpInterval)
            PumpWindowEvents();
    }

    // Sleeps `seconds` without looking at the line (an accessibility client's calls are
    // answered meanwhile), moving the toolkit clock on likewise.
    void sleepFor(double seconds) {
        ToolkitClock& clock = CurrentClock();
        const double before = clock.now();
        QElapsedTimer spent;
        spent.start();
        SleepAnsweringCalls(seconds);
        clock.waitUntil(before + static_cast<double>(spent.nsecsElapsed()) * 1e-9);
    }

    // The code for the port's pending error (clearing it), or `otherwise` when there is none.
    int failure(int otherwise) {
        const QSerialPort::SerialPortError error = port_.error();
        // Clearing announces itself to every listener: only when there is something to clear.
        if (error != QSerialPort::NoError)
            port_.clearError();
        if (lost_)
            return kComDeviceLost;
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
            return otherwise;
        if (error == QSerialPort::ResourceError || hasHungUp(port_)) {
            lost_ = true;
            return kComDeviceLost;
        }
        return kComIoError;
    }

    DeviceLock lock_;  // outlives the port: released only once the port has closed
    QSerialPort port_;
    double writeTimeout_ = kDefaultComTimeout;
    double charSeconds_ = 0.0;  // one character's time on the wire
    double gathering_ = 0.0;    // SetComReadGathering
    int queueChars_ = 0;        // the input queue's size, and the port's read buffer's
    bool lost_ = false;
};

class QtSerialBackend : public SerialBackend {
  public:
    std::unique_ptr<SerialLine> open(int port, const std::string& deviceName,
                                     const LineSettings& settings, OpenError& error) override;
};

}  // namespace

std::unique_ptr<SerialLine> QtSerialBackend::open(int /*port*/, const std::string& deviceName,
                                                  const LineSettings& settings, OpenError& error) {
    const std::string device = DeviceForComName(deviceName);
    auto line = std::make_unique<QtSerialLine>();
    error.code = line->open(device, settings, error);
    if (error.code != kComNoError)
        return nullptr;
    return line;
}

SerialBackend& DefaultSerialBackend() {
    static QtSerialBackend backend;
    return backend;
}
