// What the control panel shows of the scanner's front: the indicators, bank marks, channel,
// frequency, the two text lines and the mode, as the "LCD", "MD" and "SQ" replies give them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vex {

// The indicator labels of the display, in drawing order.
inline constexpr std::array<std::string_view, 30> kIndicatorLabels{
    "FLASH", "DATA",   "DLY", "L/O",  "PRI",      "DWN", "SRCH", "UP",  "HOLD",  "MRN",
    "RR",    "AIR",    "CB",  "NEWS", "FIRE/EMS", "WX",  "POL",  "PVT", "HWY",   "TBUSY",
    "BUSY",  "M-LOCK", "RMT", "BANK", "LIST",     "L",   "E",    "M",   "TRUNK", "P"};
inline constexpr int kIndicatorCount = static_cast<int>(kIndicatorLabels.size());
// Index of a label in kIndicatorLabels, or -1.
int IndicatorIndex(std::string_view label);

struct PanelDisplay {
    std::array<bool, kIndicatorCount> indicators{};
    std::string banks = "-----";  // one mark per bank, '*' for a bank that is scanned
    std::string channel = "000";
    std::string frequency;  // "162.5500"; empty when the scanner shows none
    std::string status;     // first text line
    std::string tag;        // second text line
    std::string mode;       // "Private Scan Mode", "Menu mode", ...
    bool squelchOpen = false;
    bool operator==(const PanelDisplay&) const = default;

    bool on(std::string_view label) const;
};

// The mode name of an "MD" code ("11" gives "Trunk - Motorola ID Search"); empty when unknown.
std::string ModeName(std::string_view code);

// Each takes one reply into the display and gives false when the reply is not the answer to
// its command (the display is then unchanged). An indicator the reply does not name keeps
// its state.
bool ApplyDisplayReply(std::string_view reply, PanelDisplay& display);
bool ApplyModeReply(std::string_view reply, PanelDisplay& display);
bool ApplySquelchReply(std::string_view reply, PanelDisplay& display);

}  // namespace vex
