#include "cli/ports_command.h"

#include <string>

#include "cli/invocation.h"
#include "cli/output.h"
#include "toolkit/platform/visible_text.h"
#include "toolkit/serial/device_choice.h"
#include "toolkit/serial/serial_devices.h"
#include "toolkit/serial/types.h"

namespace {

std::string sourceWords(int port, DeviceSource source) {
    switch (source) {
        case DeviceSource::Environment:
            return "from " + ComPortVariable(port);
        case DeviceSource::Chosen:
            return "chosen with Ports… in the window";
        case DeviceSource::System:
            break;
    }
    return "the system's own";
}

// A device's words as it gives them: shown safely, "-" when it gives none.
std::string said(const std::string& text) {
    return text.empty() ? std::string("-") : VisibleText(text);
}

}  // namespace

int runPorts(const Invocation&) {
    const auto& devices = PresentSerialDevices();
    printResult("Serial devices (device, description, manufacturer, serial number):");
    if (devices.empty())
        printResult("  none found");
    for (const SerialDeviceInfo& d : devices)
        printResult("  " + said(d.device) + "  " + said(d.description) + "  " +
                    said(d.manufacturer) + "  " + said(d.serialNumber));
    printResult("Ports:");
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        const PortDevice reached = DeviceForComPort(port);
        printResult("  COM" + std::to_string(port) + "  " + said(reached.device) + "  (" +
                    sourceWords(port, reached.source) + (reached.present ? "" : ", absent") + ")");
    }
    return kExitDone;
}
