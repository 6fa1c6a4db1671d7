#include "link/serial_trace.h"

#include <cstdio>

namespace vex {

SerialTrace::SerialTrace(const Scheduler& clock, std::size_t maxLines)
    : d_clock(clock), d_maxLines(maxLines == 0 ? 1 : maxLines) {}

const std::string& SerialTrace::record(std::string_view line) {
    const std::int64_t now = d_clock.now();
    if (d_start < 0) d_start = now;
    const std::int64_t ms = now - d_start;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%6lld.%03lld ", static_cast<long long>(ms / 1000),
                  static_cast<long long>(ms % 1000));
    if (d_lines.size() >= d_maxLines) {
        d_lines.pop_front();
        ++d_dropped;
    }
    d_lines.push_back(stamp + std::string(line));
    return d_lines.back();
}

void SerialTrace::clear() {
    d_lines.clear();
    d_dropped = 0;
    d_start = -1;
}

std::string SerialTrace::text() const {
    std::string text;
    if (!d_heading.empty()) text += d_heading + "\r\n";
    if (d_dropped > 0)
        text += "(" + std::to_string(d_dropped) + " earlier lines were not kept)\r\n";
    for (const std::string& line : d_lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

WriteResult WriteSerialTrace(const SerialTrace& trace, const std::filesystem::path& path) {
    return WriteFileAtomically(path, trace.text());
}

}  // namespace vex
