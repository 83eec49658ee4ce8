// Serial ports by number (1 to 4), with blocking reads that end at the port's time-out.
//
// A port keeps at most `inputQueueSize` received bytes (OpenComConfig); what the device
// sends beyond that waits in the operating system, and is lost there when it overflows.
// A device that hangs up, fails or is removed is reported as kComDeviceLost at once.
//
// ComRd blocks until `count` bytes have arrived or the time-out has passed and returns
// the number read (fewer on a time-out, which is not an error). Writes have left the
// program before the call returns. Every failure is a negative Rs232Error.
// While a call blocks, windows keep repainting but no user input reaches a callback.
//
// The one header of the serial room that the application includes. Tests that put an
// in-process instrument behind a port use the seam in serial_line.h and
// serial_backend.h.
#pragma once

#include "toolkit/serial/device_names.h"
#include "toolkit/serial/types.h"

int OpenComConfig(int port, const char* deviceName, long baudRate, int parity, int dataBits,
                  int stopBits, int inputQueueSize, int outputQueueSize);
int CloseCom(int port);
int SetComTime(int port, double timeoutSeconds);
int FlushInQ(int port);
int FlushOutQ(int port);
int ComWrtByte(int port, int byte);
int ComWrt(int port, const char* buffer, int count);
int ComRd(int port, char* buffer, int count);
// How many received bytes are waiting to be read (at most the input queue's size); a
// negative Rs232Error when the port cannot say.
int GetInQLen(int port);
// While a device streams, a read that must wait may as well sleep `seconds` and take all
// that came meanwhile: the following reads are then served at once, without waking for
// every few characters. 0, the default, ends each read as soon as its characters are in.
int SetComReadGathering(int port, double seconds);
// Why the latest OpenComConfig of `port` returned kComCannotOpen; None after a success.
ComOpenFailure LastComOpenFailure(int port);
// Who has the device, when that open failed with InUse.
ComDeviceHolder LastComOpenHolder(int port);
