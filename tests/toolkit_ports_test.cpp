// Which device each port number reaches, with a fake list of the devices present; the
// Ports… dialog that changes it, naming what an unlisted device is; and why a device did
// not open.
#include <gtest/gtest.h>

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

#include "tests/ports_fixture.h"
#include "toolkit/ports/ports_dialog.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/device_names.h"
#include "toolkit/serial/error_explanations.h"
#include "toolkit/serial/rs232.h"
#include "toolkit/serial/serial_backend.h"
#include "toolkit/serial/serial_devices.h"

namespace {

TEST_F(PortDevices, TheEnvironmentWinsThenTheChoiceThenTheSystemsDevice) {
    EXPECT_EQ(DeviceForComName("COM2"), SystemDeviceForComPort(2));
    EXPECT_EQ(DeviceForComPort(2).source, DeviceSource::System);

    ChooseDeviceForComPort(2, "/dev/ttyUSB0");
    const PortDevice chosen = DeviceForComPort(2);
    EXPECT_EQ(chosen.device, "/dev/ttyUSB0");
    EXPECT_EQ(chosen.source, DeviceSource::Chosen);
    EXPECT_TRUE(chosen.present);
    EXPECT_EQ(DeviceForComName("COM2"), "/dev/ttyUSB0");
    EXPECT_EQ(DeviceForComName("COM1"), SystemDeviceForComPort(1));  // the others keep theirs

    qputenv("QUORVEL_COM2", "/dev/pts/7");
    EXPECT_EQ(DeviceForComName("COM2"), "/dev/pts/7");
    EXPECT_EQ(DeviceForComPort(2).source, DeviceSource::Environment);
    qunsetenv("QUORVEL_COM2");

    ChooseDeviceForComPort(2, "");
    EXPECT_EQ(DeviceForComName("COM2"), SystemDeviceForComPort(2));
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

TEST_F(PortDevices, TheDialogListsTheDevicesAndKeepsTheOperatorsChoice) {
    qputenv("QUORVEL_COM2", "/dev/pts/7");
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

TEST(OpenFailure, AMissingDeviceIsToldAsMissing) {
    SetSerialBackend(nullptr);
    EXPECT_EQ(OpenComConfig(1, "/dev/quorvel-no-such-port", 9600, 0, 8, 1, 512, 512),
              kComCannotOpen);
    EXPECT_EQ(LastComOpenFailure(1), ComOpenFailure::Missing);
}

}  // namespace
