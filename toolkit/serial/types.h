// The vocabulary shared by the serial interface and its internals: error codes, the
// range of port numbers and the default time-out.
#pragma once

#include <string>

enum Rs232Error {
    kComNoError = 0,
    kComInvalidPort = -2,   // port number outside 1 to 4
    kComNotOpen = -3,       // no OpenComConfig succeeded on this port
    kComCannotOpen = -6,    // the device could not be opened or configured
    kComBadParameter = -7,  // baud rate, parity, data or stop bits not supported
    kComIoError = -10,      // the device failed during a read, write or flush
    kComDeviceLost = -11,   // the device went away (an adapter pulled out)
};

// Why a device could not be opened (kComCannotOpen), as far as the system tells.
enum class ComOpenFailure {
    None,          // the latest open succeeded, or none was tried
    Unknown,       // the system gave no reason we tell apart
    Missing,       // no such device (an adapter not plugged in)
    NoPermission,  // the device exists and the user may not use it
    InUse,         // another program has the device open
    Directory,     // the path names a directory, not a device
    RegularFile,   // the path names a regular file, not a device
    Fifo,          // the path names a FIFO (a named pipe)
    Socket,        // the path names a socket
    NotDevice,     // the path names something else that is no device
};

// Who has a device that another open holds (ComOpenFailure::InUse), as the system tells.
struct ComDeviceHolder {
    std::string program;  // "quorvel (process 4242)"; empty when not told
    bool here = false;    // this very program, through another port number
};

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 4;
inline constexpr double kDefaultComTimeout = 10.0;
