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
    Scanner() { Reset(); }

    // Factory state: everything empty, priority channels on each bank's first channel.
    void Reset();

    // Answers one command line (without its terminator). nullopt means the scanner stays
    // silent; otherwise the reply text without its carriage return.
    std::optional<std::string> Handle(std::string_view command);

    // The channel number (1..250) a channel command addresses, or 0 for other commands.
    static int ChannelOf(std::string_view command);

    // True after a command changed the memory; the caller clears it once saved.
    bool dirty() const { return dirty_; }
    void clearDirty() { dirty_ = false; }
    // Counts every change, so a caller can tell whether one command changed anything.
    unsigned long changes() const { return changes_; }

    // The memory as the text of the memory file, and back. Load leaves the scanner unchanged
    // and names the offending line in `error` when the text is not a memory file.
    std::string Save() const;
    bool Load(std::string_view text, std::string& error);

    // Direct access, for inspection and tests.
    Channel& channel(int number) { return channels_[number]; }
    const Channel& channel(int number) const { return channels_[number]; }
    TrunkBank& trunk(int bank) { return trunk_[bank]; }
    const TrunkBank& trunk(int bank) const { return trunk_[bank]; }
    int priority(int bank) const { return priority_[bank]; }
    const std::string& bankName(int bank) const { return bankNames_[bank]; }
    std::string& bankName(int bank) { return bankNames_[bank]; }
    std::string& listTag(int list, int index) { return listTags_[list][index]; }
    std::string& searchName(int range) { return searchNames_[range]; }
    int currentChannel() const { return current_; }
    const PanelMemory& panel() const { return panel_; }
    const std::string& activeBanks() const { return activeBanks_; }
    int shownChannel() const { return shown_; }
    bool holding() const { return hold_; }

    // One step of the scan or search (the display moves on, a reception starts or ends). By
    // default every display poll takes a step; with SetScanByTime the wire calls this instead.
    void Tick();
    void SetScanByTime(bool on) { scanByTime_ = on; }

    static const MenuSetting* Settings(int& count);

  private:
    std::optional<std::string> HandleChannel(std::string_view command);
    std::optional<std::string> HandleTrunk(std::string_view command);
    std::optional<std::string> HandleTags(std::string_view command);
    // panel.cpp: keys, display, mode, squelch and the easy programming commands.
    std::optional<std::string> HandleKey(std::string_view command);
    std::optional<std::string> HandleExtras(std::string_view command);
    std::optional<std::string> PressKey(int key, bool held);
    std::optional<std::string> TypeDigit(char digit);
    std::string Display();
    std::string ModeReply() const;
    std::string SavePanel() const;
    bool LoadPanelLine(const std::vector<std::string_view>& words, std::string_view line);
    // The next programmed channel from `from` in direction `step`; while scanning, locked-out
    // channels and inactive banks are passed over. `from` when there is none.
    int NextChannel(int from, int step, bool scanning) const;
    void Changed() {
        dirty_ = true;
        ++changes_;
    }

    std::array<Channel, kChannels + 1> channels_;  // index 0 unused
    int current_ = 1;                              // channel the flag commands act on
    int trunkBank_ = 0;                            // bank chosen by "TBN"
    std::array<int, kBanks> priority_{};
    std::array<std::string, kBanks> bankNames_;
    std::array<TrunkBank, kBanks> trunk_;
    std::array<std::array<std::string, kListIndexes>, kListLetters> listTags_;
    std::array<std::string, kSearchNames> searchNames_;
    std::string activeBanks_;
    std::array<int, 9> settings_{};  // chosen option index per menu setting
    // Front panel state.
    int shown_ = 1;  // channel on the display
    int polls_ = 0;  // display polls while scanning
    bool receiving_ = false;
    bool hold_ = false;
    bool inMenu_ = false;
    std::string menuPath_;
    PanelMemory panel_;
    bool scanByTime_ = false;
    bool dirty_ = false;
    unsigned long changes_ = 0;
};

}  // namespace bct8sim
