// The front panel of the simulated scanner: what its keys change (scan, hold, search, manual
// entry, bank keys, lockout, priority, delay) and the per-channel extras of the easy programming
// commands. The Scanner owns one of these; its display, mode and squelch replies follow it.
#pragma once

#include <array>
#include <string>

namespace bct8sim {

// Settings of a channel that only the scanner-side dialogs reach.
struct ChannelExtras {
    bool record = false;      // "ARN"
    bool beepAlert = false;   // "BAN C nnn"
    bool attenuator = false;  // "ATN"
    std::string delayLength;  // "+2", "-5", ... from "DLN +2"; empty = plain delay flag
    bool operator==(const ChannelExtras&) const = default;
};

// What the panel is doing; the numbers are the mode codes of the "MD" reply (hold adds one).
enum class PanelMode {
    kPrivateScan = 0,
    kBandSearch = 2,
    kServiceSearch = 4,
    kHighwayScan = 6,
    kMotorolaScan = 13,
    kEdacsScan = 17,
    kLtrScan = 21,
    kManual = 23,
};

struct PanelMemory {
    PanelMode mode = PanelMode::kPrivateScan;
    bool priority = false;        // PRI on: the priority channels are checked while scanning
    bool scanDown = false;        // direction of the scan (UP / DWN)
    std::string entry;            // digits typed while held, until ENTER
    std::string manualFrequency;  // wire form, in manual mode
    int searchStep = 0;           // position of a search in its range
    std::array<ChannelExtras, 251> extras{};  // index 0 unused
    bool operator==(const PanelMemory&) const = default;
};

}  // namespace bct8sim
