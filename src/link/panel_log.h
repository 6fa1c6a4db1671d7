// The control panel's reception log: a line for every reception the display shows (bank,
// channel, frequency, ID, time, date), for the panel's grid and idlog.txt.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "link/panel_display.h"

namespace vex {

struct Reception {
    std::string bank;       // "1".."5", "-" when the scanner shows no memory channel
    std::string channel;    // "003"
    std::string frequency;  // "162.5500"
    std::string id;         // talk group shown with the reception, or empty
    std::string time;
    std::string date;
    bool operator==(const Reception&) const = default;
};

// "1 , 003 , 162.5500 , 1234 , 12:00:00 , 2026-12-07"
std::string LogLine(const Reception& reception);

// A reception is a display with "FLASH" on and a frequency. A new one begins when the display
// starts receiving, or shows another channel, frequency or ID while it receives.
class ReceptionWatch {
  public:
    // True when the display begins a new reception; `out` then holds it (without time and date).
    bool observe(const PanelDisplay& display, Reception& out);

  private:
    bool d_receiving = false;
    Reception d_last;
};

// Appends the lines (each ended by CR LF) to the file, creating it; false with the reason.
bool AppendLogLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                    std::string& error);

}  // namespace vex
