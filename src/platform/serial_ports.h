// The serial ports this system has, as the communication setup lists them.
#pragma once

#include <vector>

#include "settings/serial_ports.h"

namespace vex {

// The ports the system reports, their stable /dev/serial/by-id names attached, in natural
// order of the device node, the same on every run.
std::vector<SerialPortEntry> systemSerialPorts();

}  // namespace vex
