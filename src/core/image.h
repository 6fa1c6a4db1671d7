// The scanner's whole memory as the editor holds it: five banks of channels, the editor-only
// Dummy bank, bank tags, priority channels, active flags and each bank's trunk tables.
// Every value is text, in the same form the MEM file stores it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vex {

inline constexpr int kScannerBanks = 5;     // banks 0..4, shown as 1..5
inline constexpr int kDummyBank = 5;        // editor-only, never saved or sent
inline constexpr int kBankCount = 6;        // scanner banks plus the Dummy bank
inline constexpr int ChannelsPerBank = 50;  // slots 1..50
inline constexpr int kFieldsPerChannel = 7;
inline constexpr int kTotalChannels = kScannerBanks * ChannelsPerBank;  // 250

// Field indices of a channel record.
enum ChannelField : int {
    kFieldNumber = 0,     // absolute channel number (set when loaded from a MEM file)
    kFieldFrequency = 1,  // "0162.5500"; numeric value 0 marks an empty channel
    kFieldTag = 2,        // at most 16 characters after normalisation
    kFieldTrunk = 3,      // "1"/"0"
    kFieldDelay = 4,      // "1"/"0"
    kFieldLockout = 5,    // "1"/"0"
    kFieldComment = 6,    // file-only text
};

// Trunk table dimensions. TrunkId keeps room for rows 50..60 because the ID window's working
// copy and the bank copy commands move whole 61-row tables.
inline constexpr int kTrunkTypeCount = 10;  // ttype.dat remembers banks 0..9
inline constexpr int kTrunkSettingFields = 10;
inline constexpr int kTrunkBaseRows = 3;
inline constexpr int kTrunkBaseFields = 8;
inline constexpr int kTrunkIdBanks = 6;
inline constexpr int kTrunkIdRows = 61;
inline constexpr int kTrunkIdUsedRows = 50;
inline constexpr int kTrunkIdFields = 4;
inline constexpr int kScanListTagRows = 10;
inline constexpr int kScanListTagCols = 10;

using Channel = std::array<std::string, kFieldsPerChannel>;
// Index 0 is unused so that slots keep their 1-based numbers.
using Bank = std::array<Channel, ChannelsPerBank + 1>;
using TrunkIdRow = std::array<std::string, kTrunkIdFields>;

struct Image {
    std::array<Bank, kBankCount> ChannelTable;
    std::array<std::string, kBankCount> BankTag;
    std::array<std::int16_t, kScannerBanks> PriorityChannel{};
    std::array<std::int16_t, kScannerBanks> ActiveBank{};

    std::array<std::string, kTrunkTypeCount> TrunkType;
    std::array<std::array<std::string, kTrunkSettingFields>, kScannerBanks> TrunkSetting;
    std::array<std::array<std::array<std::string, kTrunkBaseFields>, kTrunkBaseRows>, kScannerBanks>
        TrunkBase;
    std::array<std::array<TrunkIdRow, kTrunkIdRows>, kTrunkIdBanks> TrunkId;
    std::array<std::array<std::string, kScanListTagCols>, kScanListTagRows> ScanListTag;
    std::array<std::array<std::string, 10>, 10> SearchEdgeTable;

    Channel& channel(int bank, int slot) { return ChannelTable[bank][slot]; }
    const Channel& channel(int bank, int slot) const { return ChannelTable[bank][slot]; }

    bool operator==(const Image&) const = default;
};

// Absolute channel number 1..250 of a scanner bank's slot.
constexpr int AbsoluteChannel(int bank, int slot) {
    return bank * ChannelsPerBank + slot;
}

// The three cleared forms of the channel table (every bank including the Dummy bank, slot 0 too).
// Start-up: field 0 empty, frequency "0000.0000", tag nine spaces, fields 3 to 6 "0".
void ClearForStartup(Image& image);
// File New: field 0 empty, frequency "0", fields 2 to 6 " "; also empties TrunkSetting,
// TrunkBase, TrunkId, ScanListTag and SearchEdgeTable, sets every ActiveBank to 0 and every
// PriorityChannel to the first channel of its bank. TrunkType and the bank tags are kept
// (the caller applies SetNewFileBankTags when `cleartag` is 1).
void ClearForFileNew(Image& image);
// Start of reading a MEM file: field 0 empty, frequency "0", fields 2 to 6 empty. Channel table
// only.
void ClearForFileRead(Image& image);

// Empties TrunkSetting, TrunkBase, TrunkId and ScanListTag (TrunkType is kept), as File New does.
void ClearTrunkTables(Image& image);

// The bank tags a fresh program starts with ("Bank: 1" ... "Dummy") and those File New
// restores when asked to ("Bank 1" ... "Dummy").
void SetStartupBankTags(Image& image);
void SetNewFileBankTags(Image& image);

// Tab caption of a bank: its number, ": " and the tag ("1: Bank: 1").
std::string BankTabCaption(const Image& image, int bank);
// The View menu's entry for a bank: the tag with leading spaces removed.
std::string BankMenuCaption(const Image& image, int bank);

// True when the numeric value of the channel's frequency is 0.
bool IsEmptyChannel(const Image& image, int bank, int slot);
bool IsEmptyChannel(const Channel& channel);
// The form an emptied channel takes: frequency "0000.0000", tag and comment empty, flags "0".
// Field 0 (the slot's absolute number) is left as it is.
void EmptyChannel(Channel& channel);

// "1"/"0" flag texts of the table; anything but "1" reads as off.
inline bool FlagOn(std::string_view text) {
    return text == "1";
}
inline const char* FlagText(bool on) {
    return on ? "1" : "0";
}

}  // namespace vex
