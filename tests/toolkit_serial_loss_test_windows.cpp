// A COM port whose USB adapter is pulled out during a live run, on fakes of the system's
// calls: each failure Windows gives for a removed device, from a read, a write or the
// error check every call makes first, leaves the port lost (what the live run's wait for
// the adapter starts on), explained in words, with nothing sent to the device after it.
// The adapter is then known again by its USB serial number under a new COM port name, and
// another adapter is not taken for it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "link/line_return.h"
#include "link/link_state.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/error_explanations.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"
#include "toolkit/serial/serial_calls_windows.h"
#include "toolkit/serial/serial_devices.h"

namespace {

enum class Failing { None, Read, Write, ErrorCheck };

// The device behind the fakes: what it has sent and the line has not read, what reached
// it, and the call that fails from now on with the error it fails with.
struct FakeDevice {
    std::wstring opened;
    std::string input;
    std::string received;
    Failing failing = Failing::None;
    DWORD error = ERROR_SUCCESS;
    DWORD openError = ERROR_SUCCESS;  // what CreateFile fails with; none: it opens
    int calls = 0;                    // of the handle's, since the device was made
    bool closed = false;
};

FakeDevice device;
HANDLE const kHandle = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5e7));

BOOL fail() {
    SetLastError(device.error);
    return FALSE;
}

HANDLE WINAPI fakeCreateFile(LPCWSTR path, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                             HANDLE) {
    device.opened = path;
    if (device.openError != ERROR_SUCCESS) {
        SetLastError(device.openError);
        return INVALID_HANDLE_VALUE;
    }
    return kHandle;
}

BOOL WINAPI fakeCloseHandle(HANDLE h) {
    device.closed = h == kHandle;
    return TRUE;
}

BOOL WINAPI fakeSetupComm(HANDLE, DWORD, DWORD) {
    ++device.calls;
    return TRUE;
}

BOOL WINAPI fakeCommState(HANDLE, LPDCB) {
    ++device.calls;
    return TRUE;
}

BOOL WINAPI fakeSetCommTimeouts(HANDLE, LPCOMMTIMEOUTS) {
    ++device.calls;
    return TRUE;
}

BOOL WINAPI fakePurgeComm(HANDLE, DWORD what) {
    ++device.calls;
    if (what & PURGE_RXCLEAR)
        device.input.clear();
    return TRUE;
}

BOOL WINAPI fakeReadFile(HANDLE, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED) {
    ++device.calls;
    if (device.failing == Failing::Read)
        return fail();
    *read = static_cast<DWORD>(device.input.copy(static_cast<char*>(buffer), count));
    device.input.erase(0, *read);
    return TRUE;
}

BOOL WINAPI fakeWriteFile(HANDLE, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED) {
    ++device.calls;
    if (device.failing == Failing::Write)
        return fail();
    device.received.append(static_cast<const char*>(data), count);
    *written = count;
    return TRUE;
}

BOOL WINAPI fakeClearCommError(HANDLE, LPDWORD errors, LPCOMSTAT status) {
    ++device.calls;
    if (device.failing == Failing::ErrorCheck)
        return fail();
    *errors = 0;
    status->cbInQue = static_cast<DWORD>(device.input.size());
    return TRUE;
}

Win32SerialCalls fakeCalls() {
    Win32SerialCalls calls;
    calls.createFile = fakeCreateFile;
    calls.closeHandle = fakeCloseHandle;
    calls.setupComm = fakeSetupComm;
    calls.getCommState = fakeCommState;
    calls.setCommState = fakeCommState;
    calls.setCommTimeouts = fakeSetCommTimeouts;
    calls.purgeComm = fakePurgeComm;
    calls.readFile = fakeReadFile;
    calls.writeFile = fakeWriteFile;
    calls.clearCommError = fakeClearCommError;
    return calls;
}

constexpr int kPort = 1;
const std::string kRecords = "1234\r 987\r";

class OpenedPort : public ::testing::Test {
  protected:
    void SetUp() override {
        device = FakeDevice{};
        SetSerialBackend(nullptr);
        SetSerialCalls(fakeCalls());
        ASSERT_EQ(OpenComConfig(kPort, "COM1", 9600, 0, 8, 1, 512, 512), kComNoError);
        ASSERT_EQ(SetComTime(kPort, 0.2), kComNoError);
    }
    void TearDown() override {
        CloseCom(kPort);
        SetSerialCalls(Win32SerialCalls{});
    }
};

class PulledAdapter : public OpenedPort,
                      public ::testing::WithParamInterface<std::tuple<Failing, DWORD>> {};

// The first call that meets the failure, as the live run makes them.
int callMeetingTheFailure(Failing failing) {
    char buffer[16];
    switch (failing) {
        case Failing::Read:
            return ComRd(kPort, buffer, 5);
        case Failing::Write:
            return ComWrt(kPort, "g", 1);
        default:
            return GetInQLen(kPort);
    }
}

TEST_P(PulledAdapter, LeavesThePortLostWithNothingSentAfter) {
    const auto [failing, error] = GetParam();
    EXPECT_EQ(device.opened, L"\\\\.\\COM1");
    ASSERT_EQ(ComWrt(kPort, "g", 1), 1);
    device.input = kRecords;
    char buffer[16] = {};
    ASSERT_EQ(GetInQLen(kPort), 10);
    ASSERT_EQ(ComRd(kPort, buffer, 10), 10);
    EXPECT_EQ(std::string(buffer, 10), kRecords);

    device.failing = failing;
    device.error = error;
    device.input = " 555\r";
    EXPECT_EQ(callMeetingTheFailure(failing), kComDeviceLost);
    // The device may be back at the system's level: the port asks it nothing more.
    device.failing = Failing::None;
    const int callsAtTheLoss = device.calls;
    EXPECT_EQ(ComWrt(kPort, "g", 1), kComDeviceLost);
    EXPECT_EQ(ComWrtByte(kPort, 's'), kComDeviceLost);
    EXPECT_EQ(FlushOutQ(kPort), kComDeviceLost);
    EXPECT_EQ(ComRd(kPort, buffer, 5), kComDeviceLost);
    EXPECT_EQ(GetInQLen(kPort), kComDeviceLost);
    EXPECT_EQ(device.calls, callsAtTheLoss);
    EXPECT_EQ(device.received, "g");
    EXPECT_STREQ(ComErrorExplanation(kComDeviceLost, ComOpenFailure::None),
                 "The line was lost: check the cable or the adapter, then press Connect again.");
    EXPECT_EQ(CloseCom(kPort), kComNoError);
    EXPECT_TRUE(device.closed);
}

// What the calls on a removed device's handle fail with: a pulled USB adapter's driver
// mostly access denied or bad command, Wine's COM port whose terminal has gone invalid
// function.
constexpr DWORD kRemovedDeviceErrors[] = {
    ERROR_ACCESS_DENIED,  ERROR_BAD_COMMAND,    ERROR_GEN_FAILURE,          ERROR_OPERATION_ABORTED,
    ERROR_DEVICE_REMOVED, ERROR_INVALID_HANDLE, ERROR_DEVICE_NOT_CONNECTED, ERROR_INVALID_FUNCTION};

INSTANTIATE_TEST_SUITE_P(EveryCallAndError, PulledAdapter,
                         ::testing::Combine(::testing::Values(Failing::Read, Failing::Write,
                                                              Failing::ErrorCheck),
                                            ::testing::ValuesIn(kRemovedDeviceErrors)));

// A failure of the device that is still there fails that call alone.
TEST_F(OpenedPort, AFailingDeviceIsNoLostLine) {
    device.failing = Failing::Read;
    device.error = ERROR_CRC;
    char buffer[5];
    EXPECT_EQ(ComRd(kPort, buffer, 5), kComIoError);
    device.failing = Failing::None;
    ASSERT_EQ(ComWrt(kPort, "g", 1), 1);
    EXPECT_EQ(device.received, "g");
}

// A run on port 3, which reached the adapter on COM3: the system's own COM3, or the
// adapter the operator chose for the port (GetParam()).
class AdapterReturn : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        SetSerialDeviceLister([this] { return listed; });
        if (GetParam())
            ChooseDeviceForComPort(3, "COM3");
        comPort = 3;
        linkDevice.clear();
        std::snprintf(deviceName, sizeof deviceName, "COM3");
        device = FakeDevice{};
        device.openError = ERROR_FILE_NOT_FOUND;
        SetSerialBackend(nullptr);
        SetSerialCalls(fakeCalls());
    }
    void TearDown() override {
        CloseCom(3);
        SetSerialCalls(Win32SerialCalls{});
        comPort = portBefore;
        linkDevice = linkBefore;
        std::snprintf(deviceName, sizeof deviceName, "%s", nameBefore.c_str());
        ChooseDeviceForComPort(3, "");
        SetSerialDeviceLister({});
    }

    std::vector<SerialDeviceInfo> listed = {
        {"COM1", "Communications Port", "(Standard port types)", ""},
        {"COM3", "USB Serial Port", "FTDI", "FT4XK2QZ"}};
    const int portBefore = comPort;
    const std::string nameBefore = deviceName;
    const std::string linkBefore = linkDevice;
};

TEST_P(AdapterReturn, TheSameUsbSerialNumberUnderAnotherComNameIsTheAdapterAndOpenedThere) {
    const LineAdapter adapter = adapterOfLink();
    EXPECT_EQ(adapter.device, "COM3");
    EXPECT_EQ(adapter.serialNumber, "FT4XK2QZ");
    EXPECT_EQ(adapter.name, "USB Serial Port");
    LineReturnWatch watch(adapter, "QV-0001", StreamSettings{}, 0.0);

    listed.pop_back();  // pulled out
    EXPECT_EQ(presentDeviceOf(adapter), "");
    // Another adapter, on the very COM name the run's had, is not it: nothing opens it.
    listed.push_back({"COM3", "USB Serial Port", "FTDI", "A50285BI"});
    EXPECT_EQ(presentDeviceOf(adapter), "");
    EXPECT_EQ(watch.look(0.0), ReturnStep::Waiting);
    EXPECT_EQ(device.opened, L"");

    listed.back() = {"COM5", "USB Serial Port", "FTDI", "FT4XK2QZ"};
    EXPECT_EQ(presentDeviceOf(adapter), "COM5");
    // The return opens the port where the adapter is now (here the fake refuses the open,
    // so the watch keeps waiting).
    EXPECT_EQ(watch.look(1.0), ReturnStep::Waiting);
    EXPECT_EQ(device.opened, L"\\\\.\\COM5");
}

INSTANTIATE_TEST_SUITE_P(SystemsOwnOrChosen, AdapterReturn, ::testing::Bool());

}  // namespace
