// Which device each port number reaches, with a fake list of the devices present; the
// Ports… dialog that changes it, naming what an unlisted device is; and why a device did
// not open.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "toolkit/ports/ports_dialog.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/device_names.h"
#include "toolkit/serial/error_explanations.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"
#include "toolkit/serial/serial_devices.h"

namespace {

const SerialDeviceInfo kAdapter{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10KZ3P1"};
const SerialDeviceInfo kOnboard{"/dev/ttyS0", "", "", ""};

class PortDevices : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int port = kFirstComPort; port <= kLastComPort; ++port) {
            unsetenv(ComPortVariable(port).c_str());
            ChooseDeviceForComPort(port, "");
        }
        present({kOnboard, kAdapter});
    }
    void TearDown() override {
        SetSerialDeviceLister({});
        unsetenv("QUORVEL_COM2");
        for (int port = kFirstComPort; port <= kLastComPort; ++port)
            ChooseDeviceForComPort(port, "");
    }
    void present(std::vector<SerialDeviceInfo> devices) {
        devices_ = std::move(devices);
        SetSerialDeviceLister([this] { return devices_; });
    }
    std::vector<SerialDeviceInfo> devices_;
};

TEST_F(PortDevices, TheEnvironmentWinsThenTheChoiceThenTheSystemsDevice) {
    EXPECT_EQ(DeviceForComName("COM2"), "/dev/ttyS1");
    EXPECT_EQ(DeviceForComPort(2).source, DeviceSource::System);

    ChooseDeviceForComPort(2, "/dev/ttyUSB0");
    const PortDevice chosen = DeviceForComPort(2);
    EXPECT_EQ(chosen.device, "/dev/ttyUSB0");
    EXPECT_EQ(chosen.source, DeviceSource::Chosen);
    EXPECT_TRUE(chosen.present);
    EXPECT_EQ(DeviceForComName("COM2"), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForComName("COM1"), "/dev/ttyS0");  // the others keep theirs

    setenv("QUORVEL_COM2", "/dev/pts/7", 1);
    EXPECT_EQ(DeviceForComName("COM2"), "/dev/pts/7");
    EXPECT_EQ(DeviceForComPort(2).source, DeviceSource::Environment);
    unsetenv("QUORVEL_COM2");

    ChooseDeviceForComPort(2, "");
    EXPECT_EQ(DeviceForComName("COM2"), "/dev/ttyS1");
}

TEST_F(PortDevices, ARememberedAdapterIsFoundUnderItsNewNameAndAbsentWhenUnplugged) {
    ChooseDeviceForComPort(1, "/dev/ttyUSB0");
    present({kOnboard});
    const PortDevice unplugged = DeviceForComPort(1);
    EXPECT_EQ(unplugged.device, "/dev/ttyUSB0");
    EXPECT_FALSE(unplugged.present);

    // Replugged into another socket: another name, the same serial number.
    SerialDeviceInfo moved = kAdapter;
    moved.device = "/dev/ttyUSB3";
    present({kOnboard, moved});
    EXPECT_EQ(DeviceForComName("COM1"), "/dev/ttyUSB3");
    EXPECT_TRUE(DeviceForComPort(1).present);
}

TEST_F(PortDevices, AChangedListReachesItsListenersOnce) {
    int changes = 0;
    const int id = AddSerialDeviceListener([&] { ++changes; });
    EXPECT_FALSE(RefreshSerialDevices());
    devices_.pop_back();
    EXPECT_TRUE(RefreshSerialDevices());
    EXPECT_FALSE(RefreshSerialDevices());
    RemoveSerialDeviceListener(id);
    EXPECT_EQ(changes, 1);
}

// The operator at the dialog: `act` runs once it is up.
template <typename Act>
bool runDialog(Act act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
    return RunPortsDialog();
}

TEST_F(PortDevices, TheDialogListsTheDevicesAndKeepsTheOperatorsChoice) {
    setenv("QUORVEL_COM2", "/dev/pts/7", 1);
    EXPECT_TRUE(runDialog([](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>("devicesPresent");
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(1)->text(0), "/dev/ttyUSB0");
        EXPECT_EQ(list->topLevelItem(1)->text(3), "A10KZ3P1");
        EXPECT_EQ(dialog.findChild<QLabel*>("reachesCOM2")->text(),
                  "QUORVEL_COM2 gives /dev/pts/7 (the environment wins)");
        EXPECT_FALSE(dialog.findChild<QComboBox*>("deviceForCOM2")->isEnabled());
        auto* com1 = dialog.findChild<QComboBox*>("deviceForCOM1");
        EXPECT_EQ(com1->accessibleName(), "Device for COM1");
        com1->setCurrentIndex(com1->findData("/dev/ttyUSB0"));
        dialog.findChild<QComboBox*>("deviceForCOM3")->setEditText("/tmp/quorvel-sim");
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }));
    EXPECT_EQ(ChosenDeviceForComPort(1), "/dev/ttyUSB0");
    EXPECT_EQ(ChosenDeviceForComPort(2), "");
    EXPECT_EQ(ChosenDeviceForComPort(3), "/tmp/quorvel-sim");
    EXPECT_EQ(DeviceForComPort(3).present, false);

    EXPECT_FALSE(runDialog([](QDialog& dialog) {
        dialog.findChild<QComboBox*>("deviceForCOM1")->setCurrentIndex(0);
        dialog.reject();
    }));
    EXPECT_EQ(ChosenDeviceForComPort(1), "/dev/ttyUSB0");
}

TEST(OpenFailure, AMissingDeviceAndOneInUseAreToldApart) {
    SetSerialBackend(nullptr);
    EXPECT_EQ(OpenComConfig(1, "/dev/quorvel-no-such-port", 9600, 0, 8, 1, 512, 512),
              kComCannotOpen);
    EXPECT_EQ(LastComOpenFailure(1), ComOpenFailure::Missing);
    EXPECT_STREQ(ComErrorExplanation(kComCannotOpen, LastComOpenFailure(1)),
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
