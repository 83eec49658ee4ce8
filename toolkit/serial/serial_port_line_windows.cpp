// A serial line on a Windows COM port, on the system's synchronous calls: CreateFile without
// overlapped I/O, the line's settings by SetCommState, reads bounded by SetCommTimeouts.
//
// The line keeps the blocking shape of the POSIX one. A read takes what the port holds at
// once (a read time-out of "return what is there"); when it must wait, it sleeps through
// the rest's time on the wire (or a stream's gathering time), then waits for the last
// character in slices of at most kSerialPumpInterval, during which the system wakes it as
// soon as a character comes; windows are pumped between slices. Time-outs follow the
// toolkit clock. Every call asks ClearCommError first: it clears a line error (framing,
// overrun) that would otherwise stop the port, and it fails once the device has gone (a USB
// adapter pulled out), which the line then reports as kComDeviceLost from then on.
// The calls go through the table of serial_calls_windows.h, which a test fills with fakes.
#include "toolkit/serial/serial_port_line.h"

#include <windows.h>

#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <cmath>

#include "toolkit/platform/clock.h"
#include "toolkit/platform/event_pump.h"
#include "toolkit/serial/device_lock.h"
#include "toolkit/serial/device_names.h"
#include "toolkit/serial/serial_calls_windows.h"

namespace {

// How often a blocked read pumps windows, and so the longest one wait on the line lasts.
constexpr double kSerialPumpInterval = 0.04;

// What a failed call on an open port means. A removed device fails the handle's calls with
// one of these (a pulled USB adapter mostly with access denied or bad command; Wine's COM
// port on a terminal whose far end has gone with invalid function); any other failure is
// the device's.
int failureOf(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_BAD_COMMAND:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_DEVICE_REMOVED:
        case ERROR_GEN_FAILURE:
        case ERROR_INVALID_FUNCTION:
        case ERROR_INVALID_HANDLE:
        case ERROR_OPERATION_ABORTED:
            return kComDeviceLost;
        default:
            return kComIoError;
    }
}

// Why CreateFile refused a port. Windows opens a COM port for one program at a time, so
// access denied means another program has it.
ComOpenFailure openFailureOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
            return ComOpenFailure::Missing;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return ComOpenFailure::InUse;
        default:
            return ComOpenFailure::Unknown;
    }
}

// "COM1" opens as "\\.\COM1", the form that also reaches COM10 and above; a path is kept.
std::wstring systemPathOf(const std::string& device) {
    const QString name = QString::fromStdString(device);
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')))
        return name.toStdWString();
    return (QStringLiteral("\\\\.\\") + name).toStdWString();
}

DWORD milliseconds(double seconds) {
    return static_cast<DWORD>(std::clamp(std::ceil(seconds * 1000), 0.0, 4.0e9));
}

class WindowsSerialLine : public SerialLine {
  public:
    ~WindowsSerialLine() override {
        if (handle_ != INVALID_HANDLE_VALUE)
            calls_.closeHandle(handle_);
    }

    // kComNoError, or why the device cannot be used with these settings (and, for one
    // that another program holds, who holds it where that program told).
    int open(const std::string& device, const LineSettings& s, OpenError& error) {
        ComOpenFailure& reason = error.reason;
        if (!lock_.take(device, error))
            return kComCannotOpen;
        handle_ = calls_.createFile(systemPathOf(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            reason = openFailureOf(GetLastError());
            if (reason == ComOpenFailure::InUse)
                findDeviceHolder(device, error);
            return kComCannotOpen;
        }
        // The driver's own queues, as the tool's are sized; a driver may round them up.
        if (s.inputQueueSize > 0)
            calls_.setupComm(handle_, static_cast<DWORD>(s.inputQueueSize),
                             static_cast<DWORD>(s.inputQueueSize));
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!calls_.getCommState(handle_, &dcb) ||
            !calls_.setCommState(handle_, &lineState(dcb, s))) {
            reason = ComOpenFailure::Unknown;
            return kComCannotOpen;
        }
        // A start bit, eight data bits and a stop bit is near enough for pacing reads.
        charSeconds_ = s.baudRate > 0 ? 10.0 / static_cast<double>(s.baudRate) : 0.0;
        queueChars_ = s.inputQueueSize;
        // A freshly opened port starts empty, whatever the device held before.
        calls_.purgeComm(handle_, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
        if (lineCheck() != kComNoError) {
            reason = ComOpenFailure::Unknown;
            return kComCannotOpen;
        }
        return kComNoError;
    }

    int flushInput() override { return purge(PURGE_RXCLEAR); }
    int flushOutput() override { return purge(PURGE_TXCLEAR); }
    void setWriteTimeout(double seconds) override { writeTimeout_ = seconds; }
    // A gathering sleep never lets more come than the input queue takes.
    void setReadGathering(double seconds) override {
        gathering_ = queueChars_ > 0 ? std::min(seconds, queueChars_ * charSeconds_) : seconds;
    }

    int write(const char* data, int count) override {
        if (const int f = lineCheck())
            return f;
        if (!setTimeouts(kReturnAtOnce))
            return lost(GetLastError());
        DWORD written = 0;
        const bool ok = timed([&] {
            return calls_.writeFile(handle_, data, static_cast<DWORD>(count), &written, nullptr) !=
                   0;
        });
        if (!ok)
            return lost(GetLastError());
        return static_cast<int>(written);
    }

    int read(char* buffer, int count, double timeoutSeconds) override {
        ToolkitClock& clock = CurrentClock();
        const double deadline = clock.now() + timeoutSeconds;
        int got = 0;
        for (;;) {
            const int n = take(buffer + got, count - got, 0);
            if (n < 0)
                return n;
            got += n;
            if (got == count)
                return got;
            const double remaining = deadline - clock.now();
            if (remaining <= 0)
                return got;
            if (SecondsSinceWindowsPumped() >= kSerialPumpInterval)
                PumpWindowEvents();
            // All but the last missing character are still on the wire: one sleep covers
            // them (or a stream's gathering time, answering an accessibility client's calls
            // meanwhile); the wait after it takes the last one.
            const double onTheWire = std::max((count - got - 1) * charSeconds_, gathering_);
            if (onTheWire > 0) {
                const double longest = std::max(kSerialPumpInterval, gathering_);
                timed([&] {
                    SleepAnsweringCalls(std::min({onTheWire, remaining, longest}));
                    return true;
                });
                continue;
            }
            const int m = take(buffer + got, count - got, std::min(remaining, kSerialPumpInterval));
            if (m < 0)
                return m;
            got += m;
        }
    }

    int bytesWaiting() override {
        COMSTAT status{};
        if (const int f = clearLineErrors(status))
            return f;
        return static_cast<int>(
            std::min<DWORD>(status.cbInQue, queueChars_ > 0 ? queueChars_ : status.cbInQue));
    }

  private:
    // The read time-outs in force: 0 returns what the port holds at once; more waits that
    // many milliseconds for a first character, and returns as soon as one has come.
    static constexpr DWORD kReturnAtOnce = 0;

    static DCB& lineState(DCB& dcb, const LineSettings& s) {
        dcb.BaudRate = static_cast<DWORD>(s.baudRate);
        dcb.ByteSize = static_cast<BYTE>(s.dataBits);
        dcb.Parity = static_cast<BYTE>(s.parity);  // none, odd, even, mark, space: 0 to 4
        dcb.StopBits = s.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = s.parity != 0;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fAbortOnError = FALSE;
        return dcb;
    }

    bool setTimeouts(DWORD waitMs) {
        if (timeoutsSet_ && waitMs == readWaitMs_ && writeTimeout_ == writeTimeoutSet_)
            return true;
        COMMTIMEOUTS t{};
        t.ReadIntervalTimeout = MAXDWORD;
        t.ReadTotalTimeoutMultiplier = waitMs == kReturnAtOnce ? 0 : MAXDWORD;
        t.ReadTotalTimeoutConstant = waitMs;
        t.WriteTotalTimeoutConstant = milliseconds(writeTimeout_);
        if (!calls_.setCommTimeouts(handle_, &t))
            return false;
        timeoutsSet_ = true;
        readWaitMs_ = waitMs;
        writeTimeoutSet_ = writeTimeout_;
        return true;
    }

    // Reads up to `count` characters, waiting at most `waitSeconds` for the first; the count
    // read, or a negative code.
    int take(char* buffer, int count, double waitSeconds) {
        if (const int f = lineCheck())
            return f;
        const DWORD waitMs = waitSeconds > 0 ? std::max<DWORD>(1, milliseconds(waitSeconds)) : 0;
        if (!setTimeouts(waitMs))
            return lost(GetLastError());
        DWORD n = 0;
        const bool ok = timed([&] {
            return calls_.readFile(handle_, buffer, static_cast<DWORD>(count), &n, nullptr) != 0;
        });
        if (!ok)
            return lost(GetLastError());
        return static_cast<int>(n);
    }

    int purge(DWORD what) {
        if (const int f = lineCheck())
            return f;
        if (!calls_.purgeComm(handle_, what))
            return lost(GetLastError());
        return kComNoError;
    }

    // kComNoError while the device is there; clears any line error on the way.
    int lineCheck() {
        COMSTAT status{};
        return clearLineErrors(status);
    }

    // Clears any line error and takes the port's status; kComNoError, or the code for a
    // device that has gone.
    int clearLineErrors(COMSTAT& status) {
        if (lost_)
            return kComDeviceLost;
        DWORD errors = 0;
        if (!calls_.clearCommError(handle_, &errors, &status))
            return lost(GetLastError());
        return kComNoError;
    }

    // The code for a failed call, remembering a device that has gone.
    int lost(DWORD error) {
        const int code = failureOf(error);
        if (code == kComDeviceLost)
            lost_ = true;
        return code;
    }

    // Runs a blocking call and moves the toolkit clock on by the real time it took (a no-op
    // on the real clock, which has moved by itself).
    template <typename Call>
    bool timed(Call call) {
        ToolkitClock& clock = CurrentClock();
        const double before = clock.now();
        QElapsedTimer spent;
        spent.start();
        const bool ok = call();
        // Why the call failed is read after the clock has moved, which may make calls of
        // its own (a virtual clock runs the events due meanwhile).
        const DWORD error = GetLastError();
        clock.waitUntil(before + static_cast<double>(spent.nsecsElapsed()) * 1e-9);
        SetLastError(error);
        return ok;
    }

    const Win32SerialCalls calls_ = SerialCalls();  // the system's, or a test's fakes
    DeviceLock lock_;  // released by the destructor's members, after the handle closed
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    double writeTimeout_ = kDefaultComTimeout;
    double writeTimeoutSet_ = -1;
    DWORD readWaitMs_ = 0;
    bool timeoutsSet_ = false;
    double charSeconds_ = 0.0;  // one character's time on the wire
    double gathering_ = 0.0;    // SetComReadGathering
    int queueChars_ = 0;        // the input queue's size
    bool lost_ = false;
};

class WindowsSerialBackend : public SerialBackend {
  public:
    std::unique_ptr<SerialLine> open(int /*port*/, const std::string& deviceName,
                                     const LineSettings& settings, OpenError& error) override {
        const std::string device = DeviceForComName(deviceName);
        auto line = std::make_unique<WindowsSerialLine>();
        error.code = line->open(device, settings, error);
        if (error.code != kComNoError)
            return nullptr;
        return line;
    }
};

}  // namespace

SerialBackend& DefaultSerialBackend() {
    static WindowsSerialBackend backend;
    return backend;
}
