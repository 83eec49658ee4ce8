// The serial layer on Windows as a machine without the instrument shows it: COMn reaches
// the system's COM port of that number, and one that is not there is told and explained
// in Windows terms.
#include <gtest/gtest.h>

#include <QByteArray>

#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/error_explanations.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"
#include "toolkit/serial/system_explanations.h"

namespace {

TEST(WindowsPorts, APortNumberReachesTheSystemsComPortOfThatNumber) {
    EXPECT_EQ(SystemDeviceForComPort(1), "COM1");
    EXPECT_EQ(SystemDeviceForComPort(12), "COM12");
}

TEST(WindowsPorts, AnAbsentComPortIsMissingAndExplainedWithDeviceManager) {
    SetSerialBackend(nullptr);
    qputenv("QUORVEL_COM4", "COM199");
    EXPECT_EQ(OpenComConfig(4, "COM4", 9600, 0, 8, 1, 512, 512), kComCannotOpen);
    qunsetenv("QUORVEL_COM4");
    EXPECT_EQ(LastComOpenFailure(4), ComOpenFailure::Missing);
    EXPECT_STREQ(ComErrorExplanation(kComCannotOpen, ComOpenFailure::Missing),
                 "The port cannot be opened: its COM port is not there. Plug the adapter in and "
                 "look up its COM port number in Device Manager (Ports (COM & LPT)), or give the "
                 "port another device with Ports… on the main panel.");
    EXPECT_EQ(ComRd(4, nullptr, 0), kComNotOpen);
    EXPECT_STREQ(kFindingPortsHint,
                 "\n\nDevice Manager shows which COM port number Windows gave an adapter, under "
                 "Ports (COM & LPT).");
}

}  // namespace
