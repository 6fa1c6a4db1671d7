#include "settings/serial_ports.h"

#include <algorithm>
#include <filesystem>

#include "core/numeric.h"
#include "core/text.h"

namespace vex {
namespace {

int clampComPort(long long n) {
    return static_cast<int>(std::clamp<long long>(n, 1, kMaxComPort));
}

std::string canonical(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(path, ec);
    return ec ? std::string() : resolved.string();
}

}  // namespace

std::string DevicePathFor(const ComSettings& com, const DeviceExists& exists) {
    if (!com.device.empty()) return com.device;
    const int index = com.port > 0 ? com.port - 1 : 0;
    const std::string usb = "/dev/ttyUSB" + std::to_string(index);
    std::error_code ec;
    if (exists ? exists(usb) : std::filesystem::exists(usb, ec)) return usb;
    return "/dev/ttyS" + std::to_string(index);
}

int listedPortIndex(const std::vector<SerialPortEntry>& ports, const std::string& device) {
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (ports[i].path == device || ports[i].systemPath == device) return static_cast<int>(i);
    // A different name for the same device: another link to it, or the node behind a link.
    const std::string target = canonical(device);
    if (target.empty()) return -1;
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (canonical(ports[i].systemPath) == target) return static_cast<int>(i);
    return -1;
}

ComSettings listedPortChoice(const std::vector<SerialPortEntry>& ports, int index, long baud) {
    ComSettings com;
    com.port = clampComPort(static_cast<long long>(index) + 1);
    com.baud = baud;
    if (index >= 0 && index < static_cast<int>(ports.size()))
        com.device = ports[static_cast<std::size_t>(index)].path;
    return com;
}

ComSettings typedPortChoice(const std::vector<SerialPortEntry>& ports, std::string_view typed,
                            long baud, const DeviceExists& exists) {
    const std::string_view text = TrimBlanks(typed);
    ComSettings com;
    com.baud = baud;
    if (text.empty() || IsDigit(text.front()) || text.front() == '-' || text.front() == '+') {
        com.port = clampComPort(IntegerValue(text));
        com.device = DevicePathFor(ComSettings{com.port, baud, {}}, exists);
        return com;
    }
    const std::string path = text.front() == '/' ? std::string(text) : "/dev/" + std::string(text);
    const int listed = listedPortIndex(ports, path);
    com.port = clampComPort(listed >= 0 ? listed + 1 : static_cast<long long>(ports.size()) + 1);
    com.device = path;
    return com;
}

bool naturalLess(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t ei = i, ej = j;
            while (ei < a.size() && IsDigit(a[ei])) ++ei;
            while (ej < b.size() && IsDigit(b[ej])) ++ej;
            // Compare the numbers without their leading zeros: first by length, then digit by
            // digit.
            std::string_view x = a.substr(i, ei - i), y = b.substr(j, ej - j);
            while (x.size() > 1 && x.front() == '0') x.remove_prefix(1);
            while (y.size() > 1 && y.front() == '0') y.remove_prefix(1);
            if (x.size() != y.size()) return x.size() < y.size();
            if (x != y) return x < y;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace vex
