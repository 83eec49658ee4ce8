// The vocabulary shared by the serial interface and its internals: error codes, the
// range of port numbers and the default time-out.
#pragma once

enum Rs232Error {
    kComNoError = 0,
    kComInvalidPort = -2,   // port number outside 1 to 4
    kComNotOpen = -3,       // no OpenComConfig succeeded on this port
    kComCannotOpen = -6,    // the device could not be opened or configured
    kComBadParameter = -7,  // baud rate, parity, data or stop bits not supported
    kComIoError = -10,      // the device failed during a read, write or flush
    kComDeviceLost = -11,   // the device went away (an adapter pulled out)
};

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 4;
inline constexpr double kDefaultComTimeout = 10.0;
