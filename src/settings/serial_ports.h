// How a serial port is named and numbered in com250.ini. The number stays within 1..19 so that
// older copies of the program, and the start-up check, accept the file; the device path beside
// it is what this program opens.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/options.h"

namespace vex {

// One serial port of this system.
struct SerialPortEntry {
    std::string path;         // what is stored: the stable /dev/serial/by-id name when there is one
    std::string systemPath;   // the device node, e.g. /dev/ttyUSB0
    std::string description;  // the adapter's own description, empty when the system has none
    bool permitted = true;    // the user may read and write the device node
};

inline constexpr int kMaxComPort = 19;

// Whether a device node is present; the real file system unless a test says otherwise.
using DeviceExists = std::function<bool(const std::string& path)>;

// The device of the configured port: the remembered device path when there is one, otherwise
// port number n as the n-th USB serial adapter ("/dev/ttyUSB<n-1>") when that exists, else as
// the n-th built-in port ("/dev/ttyS<n-1>").
std::string DevicePathFor(const ComSettings& com, const DeviceExists& exists = {});

// The position of `device` in `ports` (by stored name, device node, or the file both lead to);
// -1 when it is not listed.
int listedPortIndex(const std::vector<SerialPortEntry>& ports, const std::string& device);

// A listed port is stored by its path with its 1-based position as the number (the 20th and
// later share 19).
ComSettings listedPortChoice(const std::vector<SerialPortEntry>& ports, int index, long baud);

// Text typed as "other": a number means what a bare port number means everywhere else (see
// DevicePathFor) and is forced into 1..19; a path ("/dev/" added to a bare name) keeps its list
// position when it is listed, otherwise it is numbered after the listed ports.
ComSettings typedPortChoice(const std::vector<SerialPortEntry>& ports, std::string_view typed,
                            long baud, const DeviceExists& exists = {});

// Names in the order a person expects: "ttyS2" before "ttyS10".
bool naturalLess(std::string_view a, std::string_view b);

}  // namespace vex
