#include "toolkit/serial/error_explanations.h"

#include "toolkit/serial/rs232.h"
#include "toolkit/serial/system_explanations.h"

namespace {

struct Explanation {
    int code;
    const char* window;
    const char* commandLine;
};

// clang-format off
const Explanation kExplanations[] = {
    {kComInvalidPort,
     "The port number must be 1 to 4: choose a port on the main panel.",
     "The port number must be 1 to 4: give --port COM1 to COM4, or a device path."},
    {kComNotOpen,
     "The port is not open: press Connect on the main panel first.",
     "The port is not open: run the command again."},
    {kComCannotOpen, kCannotOpenExplanation, kCannotOpenCommandLine},
    {kComBadParameter,
     "The serial device does not take 9600 baud, 8 data bits, no parity and 1 stop bit: use "
     "another adapter.",
     "The serial device does not take 9600 baud, 8 data bits, no parity and 1 stop bit: use "
     "another adapter."},
    {kComIoError,
     "The serial device failed while sending or receiving: check the cable and the adapter, "
     "then press Connect again.",
     "The serial device failed while sending or receiving: check the cable and the adapter, "
     "then run the command again."},
    {kComDeviceLost,
     "The line was lost: check the cable or the adapter, then press Connect again.",
     "The line was lost: check the cable or the adapter, then run the command again."},
};

const Explanation kUnexpected = {
    0,
    "An unexpected serial error: press Connect again, and restart the tool if it persists.",
    "An unexpected serial error: run the command again."};

struct OpenExplanation {
    ComOpenFailure reason;
    const char* window;
    const char* commandLine;
};

const OpenExplanation kOpenExplanations[] = {
    {ComOpenFailure::Missing, kMissingExplanation, kMissingCommandLine},
    {ComOpenFailure::NoPermission, kNoPermissionExplanation, kNoPermissionCommandLine},
    {ComOpenFailure::InUse,
     "The port cannot be opened: its device is in use by another program. Close that "
     "program, then press Connect again.",
     "The port cannot be opened: its device is in use by another program. Wait for that "
     "program to end, or end it, then run the command again."},
    {ComOpenFailure::Directory,
     "The port cannot be opened: it reaches a directory, not a serial device. Give the port "
     "its device with Ports… on the main panel.",
     "The port cannot be opened: it reaches a directory, not a serial device. Give --port "
     "the serial device's path (quorvel ports lists the devices present)."},
    {ComOpenFailure::RegularFile,
     "The port cannot be opened: it reaches a regular file, not a serial device. Give the "
     "port its device with Ports… on the main panel.",
     "The port cannot be opened: it reaches a regular file, not a serial device. Give --port "
     "the serial device's path (quorvel ports lists the devices present)."},
    {ComOpenFailure::Fifo,
     "The port cannot be opened: it reaches a FIFO (a named pipe), not a serial device. Give "
     "the port its device with Ports… on the main panel.",
     "The port cannot be opened: it reaches a FIFO (a named pipe), not a serial device. Give "
     "--port the serial device's path (quorvel ports lists the devices present)."},
    {ComOpenFailure::Socket,
     "The port cannot be opened: it reaches a socket, not a serial device. Give the port its "
     "device with Ports… on the main panel.",
     "The port cannot be opened: it reaches a socket, not a serial device. Give --port the "
     "serial device's path (quorvel ports lists the devices present)."},
    {ComOpenFailure::NotDevice,
     "The port cannot be opened: it reaches something that is not a device. Give the port "
     "its serial device with Ports… on the main panel.",
     "The port cannot be opened: it reaches something that is not a device. Give --port the "
     "serial device's path (quorvel ports lists the devices present)."},
};
// clang-format on

template <typename Entry>
const char* wordsOf(const Entry& entry, ComAdvice advice) {
    return advice == ComAdvice::Window ? entry.window : entry.commandLine;
}

// Another program, or this one through another port number, has the device.
std::string heldBy(const ComDeviceHolder& holder, ComAdvice advice) {
    if (holder.here)
        return advice == ComAdvice::Window
                   ? "The port cannot be opened: this window already has its device open "
                     "through another port number. Choose that port and press Connect."
                   : "The port cannot be opened: this program already has its device open.";
    const std::string inUse =
        "The port cannot be opened: its device is in use by " + holder.program + ". ";
    return inUse + (advice == ComAdvice::Window
                        ? "Close that program, then press Connect again."
                        : "Wait for that program to end, or end it, then run the command "
                          "again.");
}

}  // namespace

const char* ComErrorExplanation(int code, ComOpenFailure reason, ComAdvice advice) {
    if (code == kComCannotOpen)
        for (const OpenExplanation& e : kOpenExplanations)
            if (e.reason == reason)
                return wordsOf(e, advice);
    for (const Explanation& e : kExplanations)
        if (e.code == code)
            return wordsOf(e, advice);
    return wordsOf(kUnexpected, advice);
}

std::string ComPortExplanation(int code, int port, ComAdvice advice) {
    const ComOpenFailure reason = LastComOpenFailure(port);
    const ComDeviceHolder holder = LastComOpenHolder(port);
    if (code == kComCannotOpen && reason == ComOpenFailure::InUse &&
        (holder.here || !holder.program.empty()))
        return heldBy(holder, advice);
    return ComErrorExplanation(code, reason, advice);
}
