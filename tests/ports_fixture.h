// What the tests of the port choice and the Ports… dialog share: a fake list of the devices
// present, ports without a choice or an environment variable, and the operator at the
// dialog.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <vector>

#include "toolkit/ports/ports_dialog.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/device_names.h"
#include "toolkit/serial/serial_devices.h"
#include "toolkit/serial/types.h"

inline const SerialDeviceInfo kAdapter{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10KZ3P1"};
inline const SerialDeviceInfo kOnboard{"/dev/ttyS0", "", "", ""};

class PortDevices : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int port = kFirstComPort; port <= kLastComPort; ++port) {
            qunsetenv(ComPortVariable(port).c_str());
            ChooseDeviceForComPort(port, "");
        }
        present({kOnboard, kAdapter});
    }
    void TearDown() override {
        SetSerialDeviceLister({});
        qunsetenv("QUORVEL_COM2");
        for (int port = kFirstComPort; port <= kLastComPort; ++port)
            ChooseDeviceForComPort(port, "");
    }
    void present(std::vector<SerialDeviceInfo> devices) {
        devices_ = std::move(devices);
        SetSerialDeviceLister([this] { return devices_; });
    }
    std::vector<SerialDeviceInfo> devices_;
};

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
