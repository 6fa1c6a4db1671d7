// The simulated BCT8: its memory and how it answers each remote command. No I/O here; the
// wire (timing, faults, the pseudo-terminal) lives in wire.h.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panel.h"

namespace bct8sim {

inline constexpr int kBanks = 5;
inline constexpr int kChannels = 250;
inline constexpr int kChannelsPerBank = 50;
inline constexpr int kIdsPerBank = 50;
inline constexpr int kFleetBlocks = 8;
inline constexpr int kBaseLines = 3;
inline constexpr int kListLetters = 10;  // "TA L A 0" .. "TA L J 9"
inline constexpr int kListIndexes = 10;
inline constexpr int kSearchNames = 9;  // "TA S A" .. "TA S I"

struct Channel {
    std::string frequency = "00000000";  // wire form, 8 digits
    bool trunk = false;
    bool delay = false;
    bool lockout = false;
    bool operator==(const Channel&) const = default;
};

struct TrunkBank {
    std::string typeName;  // as the "TB" reply names it; empty = conventional
    int controlPlan = 0;   // 0 = off ("TCF"), 1..4 = "TCN P1".."P4"
    bool statusBit = false;
    bool endCode = false;
    bool idFormat = false;                         // "AFN" when true
    std::array<std::string, kBaseLines> baseLine;  // "04160000 0125 381" or empty
    std::array<std::string, 2> customPlan;         // the two "CP" lines after the letter
    std::array<int, kFleetBlocks> fleet{};         // size codes 0..14
    std::array<std::string, kIdsPerBank> ids;      // empty = free
    bool operator==(const TrunkBank&) const = default;
};

// One general setting reached through the scanner's menu ("KEY11" then the menu digits).
struct MenuSetting {
    const char* path;        // digits typed after "KEY11"
    const char* options[3];  // display texts, nullptr-terminated
    bool readOnly;
};

class Scanner {
  public:
    Scanner() { reset(); }

    // Factory state: everything empty, priority channels on each bank's first channel.
    void reset();

    // Answers one command line (without its terminator). nullopt means the scanner stays
    // silent; otherwise the reply text without its carriage return.
    std::optional<std::string> handle(std::string_view command);

    // The channel number (1..250) a channel command addresses, or 0 for other commands.
    static int channelOf(std::string_view command);

    // True after a command changed the memory; the caller clears it once saved.
    bool dirty() const { return d_dirty; }
    void clearDirty() { d_dirty = false; }
    // Counts every change, so a caller can tell whether one command changed anything.
    unsigned long changes() const { return d_changes; }

    // The memory as the text of the memory file, and back. Load leaves the scanner unchanged
    // and names the offending line in `error` when the text is not a memory file.
    std::string save() const;
    bool load(std::string_view text, std::string& error);

    // Direct access, for inspection and tests.
    Channel& channel(int number) { return d_channels[number]; }
    const Channel& channel(int number) const { return d_channels[number]; }
    TrunkBank& trunk(int bank) { return d_trunk[bank]; }
    const TrunkBank& trunk(int bank) const { return d_trunk[bank]; }
    int priority(int bank) const { return d_priority[bank]; }
    const std::string& bankName(int bank) const { return d_bankNames[bank]; }
    std::string& bankName(int bank) { return d_bankNames[bank]; }
    std::string& listTag(int list, int index) { return d_listTags[list][index]; }
    std::string& searchName(int range) { return d_searchNames[range]; }
    int currentChannel() const { return d_current; }
    const PanelMemory& panel() const { return d_panel; }
    const std::string& activeBanks() const { return d_activeBanks; }
    int shownChannel() const { return d_shown; }
    bool holding() const { return d_hold; }

    // One step of the scan or search (the display moves on, a reception starts or ends). By
    // default every display poll takes a step; with SetScanByTime the wire calls this instead.
    void tick();
    void setScanByTime(bool on) { d_scanByTime = on; }

    static const MenuSetting* settings(int& count);

  private:
    std::optional<std::string> handleChannel(std::string_view command);
    std::optional<std::string> handleTrunk(std::string_view command);
    std::optional<std::string> handleTags(std::string_view command);
    // panel.cpp: keys, display, mode, squelch and the easy programming commands.
    std::optional<std::string> handleKey(std::string_view command);
    std::optional<std::string> handleExtras(std::string_view command);
    std::optional<std::string> pressKey(int key, bool held);
    std::optional<std::string> typeDigit(char digit);
    std::string display();
    std::string modeReply() const;
    std::string savePanel() const;
    bool loadPanelLine(const std::vector<std::string_view>& words, std::string_view line);
    // The next programmed channel from `from` in direction `step`; while scanning, locked-out
    // channels and inactive banks are passed over. `from` when there is none.
    int nextChannel(int from, int step, bool scanning) const;
    void changed() {
        d_dirty = true;
        ++d_changes;
    }

    std::array<Channel, kChannels + 1> d_channels;  // index 0 unused
    int d_current = 1;                              // channel the flag commands act on
    int d_trunkBank = 0;                            // bank chosen by "TBN"
    std::array<int, kBanks> d_priority{};
    std::array<std::string, kBanks> d_bankNames;
    std::array<TrunkBank, kBanks> d_trunk;
    std::array<std::array<std::string, kListIndexes>, kListLetters> d_listTags;
    std::array<std::string, kSearchNames> d_searchNames;
    std::string d_activeBanks;
    std::array<int, 9> d_settings{};  // chosen option index per menu setting
    // Front panel state.
    int d_shown = 1;  // channel on the display
    int d_polls = 0;  // display polls while scanning
    bool d_receiving = false;
    bool d_hold = false;
    bool d_inMenu = false;
    std::string d_menuPath;
    PanelMemory d_panel;
    bool d_scanByTime = false;
    bool d_dirty = false;
    unsigned long d_changes = 0;
};

}  // namespace bct8sim
