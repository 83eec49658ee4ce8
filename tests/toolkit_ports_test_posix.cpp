// Why a device did not open, on POSIX systems: one that another program holds, the
// permission the system asks for, a path that is no device at all; the device each port
// number reaches by default; and what the Ports… dialog calls a device that is not listed.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <fstream>

#include "tests/ports_fixture.h"
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

TEST(OpenFailure, ADirectoryOrARegularFileIsNamedForWhatItIs) {
    SetSerialBackend(nullptr);
    QTemporaryDir dir;
    EXPECT_EQ(OpenComConfig(1, dir.path().toStdString().c_str(), 9600, 0, 8, 1, 512, 512),
              kComCannotOpen);
    EXPECT_EQ(LastComOpenFailure(1), ComOpenFailure::Directory);
    EXPECT_STREQ(ComErrorExplanation(kComCannotOpen, LastComOpenFailure(1)),
                 "The port cannot be opened: it reaches a directory, not a serial device. Give "
                 "the port its device with Ports… on the main panel.");
    const std::string file = dir.filePath("plain").toStdString();
    std::ofstream(file) << "not a device";
    EXPECT_EQ(OpenComConfig(1, file.c_str(), 9600, 0, 8, 1, 512, 512), kComCannotOpen);
    EXPECT_EQ(LastComOpenFailure(1), ComOpenFailure::RegularFile);
    EXPECT_STREQ(ComErrorExplanation(kComCannotOpen, LastComOpenFailure(1)),
                 "The port cannot be opened: it reaches a regular file, not a serial device. "
                 "Give the port its device with Ports… on the main panel.");
}

TEST_F(PortDevices, TheDialogSaysWhatAnUnlistedDeviceIs) {
    QTemporaryDir dir;
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    const QString link = dir.filePath("sim");
    ASSERT_TRUE(QFile::link(QString::fromUtf8(name), link));
    ChooseDeviceForComPort(3, "/dev/zero");
    ChooseDeviceForComPort(4, link.toStdString());
    runDialog([name](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>("devicesPresent");
        ASSERT_EQ(list->topLevelItemCount(), 4);
        EXPECT_EQ(list->topLevelItem(2)->text(0), "/dev/zero");
        EXPECT_EQ(list->topLevelItem(2)->text(1), "character device");
        EXPECT_EQ(list->topLevelItem(3)->text(1), "pseudo-terminal (through a link)");
        dialog.reject();
    });
    ::close(slave);
    ::close(master);
}

}  // namespace
