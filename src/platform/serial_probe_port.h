#pragma once
// Direct probe access to one serial port for the device scan: termios on POSIX systems, the
// Win32 communications API on Windows. Each opens the port exclusively at 115200 8N1 with DTR
// and RTS asserted and both queues purged, and reads return at once with what has arrived.
#include <memory>
#include <string>

#include "discovery/probe_port.h"

namespace somatrix {

// `name` is a device name ("ttyUSB0", "COM7") or, on POSIX systems, a path ("/dev/pts/3").
// Null when the port is missing, busy or not a serial port; `busy`, when given, tells whether it
// was null because another program holds the port.
std::unique_ptr<CProbePort> OpenSerialProbePort(const std::string& name, bool* busy = nullptr);

#ifndef _WIN32
// Takes the advisory lock by which Somatrix programs tell one another that a port is in use;
// false when another process holds it. Released when the descriptor closes.
bool LockPort(int fd);
#endif

}  // namespace somatrix
