// Which backend opens the lines of OpenComConfig.
//
// A module of its own, above the port table: installing a backend closes every port, and
// the port table holds lines, so keeping this next to the line interface would make the
// two include each other.
#pragma once

#include "toolkit/serial/serial_line.h"

// Installs a backend (nullptr restores the default) and closes every open port, since
// their lines came from the backend replaced.
void SetSerialBackend(SerialBackend* backend);
// The backend OpenComConfig opens lines through: the one installed, else the default.
SerialBackend& ActiveSerialBackend();
