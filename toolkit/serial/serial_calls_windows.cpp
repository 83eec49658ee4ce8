#include "toolkit/serial/serial_calls_windows.h"

namespace {

Win32SerialCalls& calls() {
    static Win32SerialCalls inForce;
    return inForce;
}

}  // namespace

const Win32SerialCalls& SerialCalls() {
    return calls();
}

void SetSerialCalls(const Win32SerialCalls& table) {
    calls() = table;
}
