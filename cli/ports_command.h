// ports: the serial devices present, and the device each of COM1 to COM4 reaches, found
// as the window finds it (the environment, the choice made with Ports…, the system's own).
#pragma once

struct Invocation;

int runPorts(const Invocation& invocation);
