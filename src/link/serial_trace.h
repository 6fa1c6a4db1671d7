// A serial trace to attach to a bug report: every line of the link's trace (">> " bytes sent,
// "<< " bytes received, "-- " time-outs, retries and port faults) with the milliseconds since
// the trace began, taken from the link's own clock. It holds nothing but the conversation with
// the scanner: no port names, paths or user names, so it can be handed on as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/atomic_file.h"
#include "link/scheduler.h"

namespace vex {

class SerialTrace {
  public:
    // Keeps at most `maxLines` lines; the oldest give way (and are counted) beyond that.
    explicit SerialTrace(const Scheduler& clock, std::size_t maxLines = kDefaultMaxLines);

    // The first line of the file: what made the trace and at which speed.
    void setHeading(std::string heading) { d_heading = std::move(heading); }
    // Adds one line of the link's trace and gives it as stored ("   12.345 >> SI<CR><LF>").
    const std::string& record(std::string_view line);
    void clear();

    const std::deque<std::string>& lines() const { return d_lines; }
    std::size_t dropped() const { return d_dropped; }
    // The whole trace as a file holds it: the heading, a note of dropped lines, then the lines,
    // each ended by CR LF.
    std::string text() const;

    static constexpr std::size_t kDefaultMaxLines = 200000;

  private:
    const Scheduler& d_clock;
    std::size_t d_maxLines;
    std::int64_t d_start = -1;  // clock at the first line
    std::string d_heading;
    std::deque<std::string> d_lines;
    std::size_t d_dropped = 0;
};

// Writes the trace to `path` in one piece (the file is replaced only once it is all on disk).
WriteResult WriteSerialTrace(const SerialTrace& trace, const std::filesystem::path& path);

}  // namespace vex
