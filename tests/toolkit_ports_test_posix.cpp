// Why a device did not open, on POSIX systems: one that another program holds, and the
// permission the system asks for; and the device each port number reaches by default.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/error_explanations.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"

namespace {

TEST(OpenFailure, ADeviceInUseIsToldFromAMissingOneAndEachExplainedInLinuxTerms) {
    SetSerialBackend(nullptr);
    EXPECT_STREQ(ComErrorExplanation(kComCannotOpen, ComOpenFailure::Missing),
                 "The port cannot be opened: its device is not there. Plug the adapter in, or "
                 "give the port another device with Ports… on the main panel.");
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::close(slave);
    ASSERT_EQ(OpenComConfig(1, name, 9600, 0, 8, 1, 512, 512), 0);
    EXPECT_EQ(LastComOpenFailure(1), ComOpenFailure::None);
    EXPECT_EQ(OpenComConfig(2, name, 9600, 0, 8, 1, 512, 512), kComCannotOpen);
    EXPECT_EQ(LastComOpenFailure(2), ComOpenFailure::InUse);
    EXPECT_STREQ(ComErrorExplanation(kComCannotOpen, ComOpenFailure::NoPermission),
                 "The port cannot be opened: you lack permission to use its device. On Linux, "
                 "join the dialout group (sudo usermod -aG dialout $USER), then log out and log "
                 "in again.");
    CloseCom(1);
    ::close(master);
}

TEST(SystemDevices, TheNthPortNumberReachesTheNthSerialDevice) {
    EXPECT_EQ(SystemDeviceForComPort(1), "/dev/ttyS0");
    EXPECT_EQ(SystemDeviceForComPort(4), "/dev/ttyS3");
}

}  // namespace
