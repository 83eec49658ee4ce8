// Each port's row: a label with its mnemonic, an editable choice of the devices present (a
// path can be typed, such as a simulator's link) and what the port reaches now. A port that
// QUORVEL_COMn names is shown, not offered: the environment wins.
#include "toolkit/ports/ports_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <vector>

#include "toolkit/platform/file_system.h"
#include "toolkit/serial/device_checks.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/serial_devices.h"
#include "toolkit/serial/types.h"
#include "toolkit/widgets/labelled_combo_box.h"

namespace {

constexpr int kPorts = kLastComPort - kFirstComPort + 1;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// What a path the system does not list as a serial device is: "pseudo-terminal",
// "character device (through a link)", "regular file", ...
std::string kindOf(const std::string& device) {
    std::string kind = "pseudo-terminal";
    if (!isPseudoTerminal(device)) {
        kind = PathKindWords(GetPathKind(device.c_str()));
        if (kind.rfind("a ", 0) == 0)
            kind.erase(0, 2);
    }
    if (QFileInfo(text(device)).isSymLink())
        kind += " (through a link)";
    return kind;
}

// The devices present, and those the ports reach that exist without being listed (a
// pseudo-terminal, a link to one), described by what they are.
std::vector<SerialDeviceInfo> devicesToShow() {
    std::vector<SerialDeviceInfo> devices = PresentSerialDevices();
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        const PortDevice reached = DeviceForComPort(port);
        const bool listed = std::any_of(devices.begin(), devices.end(),
                                        [&](const auto& d) { return d.device == reached.device; });
        if (reached.present && !listed && reached.source != DeviceSource::System)
            devices.push_back({reached.device, kindOf(reached.device), "", ""});
    }
    return devices;
}

QString reachText(int port) {
    const PortDevice reached = DeviceForComPort(port);
    if (reached.source == DeviceSource::Environment)
        return QStringLiteral("%1 gives %2 (the environment wins)")
            .arg(text(ComPortVariable(port)), text(reached.device));
    if (!reached.present)
        return QStringLiteral("reaches %1, which is absent").arg(text(reached.device));
    return QStringLiteral("reaches %1").arg(text(reached.device));
}

class PortsDialog : public QDialog {
  public:
    explicit PortsDialog(QWidget* parent) : QDialog(parent) {
        setWindowTitle(QStringLiteral("Ports"));
        setAccessibleName(QStringLiteral("Ports"));
        auto* column = new QVBoxLayout(this);
        auto* intro = new QLabel(
            QStringLiteral("Give each port the device it reaches: a USB serial adapter, for "
                           "example. The choice is remembered; an adapter with a serial number "
                           "is found again in any socket."),
            this);
        intro->setWordWrap(true);
        column->addWidget(intro);

        auto* grid = new QGridLayout;
        for (int i = 0; i < kPorts; ++i) {
            const int port = kFirstComPort + i;
            const QString name = QStringLiteral("COM%1").arg(port);
            auto* label = new QLabel(QStringLiteral("COM&%1").arg(port), this);
            auto* choice = new LabelledComboBox(this);
            choice->setEditable(true);
            choice->setObjectName(QStringLiteral("deviceFor") + name);
            choice->setAccessibleName(QStringLiteral("Device for ") + name);
            choice->setMinimumContentsLength(36);
            choice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            label->setBuddy(choice);
            auto* reach = new QLabel(this);
            reach->setObjectName(QStringLiteral("reaches") + name);
            reach->setAccessibleName(name + QStringLiteral(" reaches"));
            reach->setTextInteractionFlags(Qt::TextSelectableByKeyboard |
                                           Qt::TextSelectableByMouse);
            grid->addWidget(label, i, 0);
            grid->addWidget(choice, i, 1);
            grid->addWidget(reach, i, 2);
            choices_[i] = choice;
            reaches_[i] = reach;
        }
        column->addLayout(grid);

        auto* listLabel = new QLabel(QStringLiteral("&Devices present:"), this);
        list_ = new QTreeWidget(this);
        list_->setObjectName(QStringLiteral("devicesPresent"));
        list_->setAccessibleName(QStringLiteral("Serial devices present"));
        list_->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("Description"),
                                QStringLiteral("Manufacturer"), QStringLiteral("Serial number")});
        list_->setRootIsDecorated(false);
        list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        listLabel->setBuddy(list_);
        column->addWidget(listLabel);
        column->addWidget(list_, 1);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
        buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
        connect(buttons, &QDialogButtonBox::accepted, this, &PortsDialog::keep);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        column->addWidget(buttons);

        for (int i = 0; i < kPorts; ++i) {
            const int port = kFirstComPort + i;
            const std::string chosen = ChosenDeviceForComPort(port);
            // A remembered adapter under a new name is shown by the name it has now.
            const PortDevice reached = DeviceForComPort(port);
            picked_[i] = reached.source == DeviceSource::Chosen ? reached.device : chosen;
        }
        fill();
        listener_ = AddSerialDeviceListener([this] {
            for (int i = 0; i < kPorts; ++i) picked_[i] = pickedDevice(i);
            fill();
        });
        resize(760, sizeHint().height());
    }
    ~PortsDialog() override { RemoveSerialDeviceListener(listener_); }

  private:
    void fill() {
        const std::vector<SerialDeviceInfo> devices = devicesToShow();
        list_->clear();
        for (const SerialDeviceInfo& d : devices)
            list_->addTopLevelItem(new QTreeWidgetItem(
                {text(d.device), text(d.description), text(d.manufacturer), text(d.serialNumber)}));
        for (int i = 0; i < kPorts; ++i) {
            const int port = kFirstComPort + i;
            QComboBox* choice = choices_[i];
            const QSignalBlocker quiet(choice);
            choice->clear();
            choice->addItem(
                QStringLiteral("System default (%1)").arg(text(SystemDeviceForComPort(port))),
                QString());
            for (const SerialDeviceInfo& d : devices) {
                const QString label =
                    d.description.empty()
                        ? text(d.device)
                        : text(d.device) + QStringLiteral(" — ") + text(d.description);
                choice->addItem(label, text(d.device));
            }
            const int at = choice->findData(text(picked_[i]));
            if (at >= 0)
                choice->setCurrentIndex(at);
            else
                choice->setEditText(text(picked_[i]));
            choice->lineEdit()->setCursorPosition(0);  // the device first, however long
            const bool fromEnvironment = DeviceForComPort(port).source == DeviceSource::Environment;
            choice->setEnabled(!fromEnvironment);
            reaches_[i]->setText(reachText(port));
        }
    }

    // The device the row's choice names: an item's device, or a path as typed.
    std::string pickedDevice(int i) const {
        const QComboBox* choice = choices_[i];
        const int at = choice->currentIndex();
        if (at >= 0 && choice->itemText(at) == choice->currentText())
            return choice->itemData(at).toString().toStdString();
        return choice->currentText().trimmed().toStdString();
    }

    void keep() {
        for (int i = 0; i < kPorts; ++i) {
            const int port = kFirstComPort + i;
            if (DeviceForComPort(port).source != DeviceSource::Environment)
                ChooseDeviceForComPort(port, pickedDevice(i));
        }
        accept();
    }

    std::array<QComboBox*, kPorts> choices_{};
    std::array<QLabel*, kPorts> reaches_{};
    std::array<std::string, kPorts> picked_;
    QTreeWidget* list_ = nullptr;
    int listener_ = 0;
};

}  // namespace

bool RunPortsDialog() {
    WatchSerialDevices();
    PortsDialog dialog(QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}
