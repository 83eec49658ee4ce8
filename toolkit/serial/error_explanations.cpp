#include "toolkit/serial/error_explanations.h"

#include "toolkit/serial/rs232.h"
#include "toolkit/serial/system_explanations.h"

namespace {

struct Explanation {
    int code;
    const char* text;
};

// clang-format off
const Explanation kExplanations[] = {
    {kComInvalidPort,  "The port number must be 1 to 4: choose a port on the main panel."},
    {kComNotOpen,      "The port is not open: press Connect on the main panel first."},
    {kComCannotOpen,   kCannotOpenExplanation},
    {kComBadParameter, "The serial device does not take 9600 baud, 8 data bits, no parity and "
                       "1 stop bit: use another adapter."},
    {kComIoError,      "The serial device failed while sending or receiving: check the cable and "
                       "the adapter, then press Connect again."},
    {kComDeviceLost,   "The line was lost: check the cable or the adapter, then press Connect "
                       "again."},
};
// clang-format on

struct OpenExplanation {
    ComOpenFailure reason;
    const char* text;
};

// clang-format off
const OpenExplanation kOpenExplanations[] = {
    {ComOpenFailure::Missing,      kMissingExplanation},
    {ComOpenFailure::NoPermission, kNoPermissionExplanation},
    {ComOpenFailure::InUse,        "The port cannot be opened: its device is in use by another "
                                   "program. Close that program, then press Connect again."},
    {ComOpenFailure::Directory,    "The port cannot be opened: it reaches a directory, not a "
                                   "serial device. Give the port its device with Ports… on the "
                                   "main panel."},
    {ComOpenFailure::RegularFile,  "The port cannot be opened: it reaches a regular file, not a "
                                   "serial device. Give the port its device with Ports… on the "
                                   "main panel."},
    {ComOpenFailure::Fifo,         "The port cannot be opened: it reaches a FIFO (a named pipe), "
                                   "not a serial device. Give the port its device with Ports… on "
                                   "the main panel."},
    {ComOpenFailure::Socket,       "The port cannot be opened: it reaches a socket, not a serial "
                                   "device. Give the port its device with Ports… on the main "
                                   "panel."},
    {ComOpenFailure::NotDevice,    "The port cannot be opened: it reaches something that is not "
                                   "a device. Give the port its serial device with Ports… on the "
                                   "main panel."},
};
// clang-format on

}  // namespace

const char* ComErrorExplanation(int code, ComOpenFailure reason) {
    if (code == kComCannotOpen)
        for (const OpenExplanation& e : kOpenExplanations)
            if (e.reason == reason)
                return e.text;
    for (const Explanation& e : kExplanations)
        if (e.code == code)
            return e.text;
    return "An unexpected serial error: press Connect again, and restart the tool if it "
           "persists.";
}
