// The Memory Manager: copy, move or swap single channels, or whole banks with their trunk IDs
// and trunk settings. Pure functions over the image; the window only chooses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"

namespace vex {

enum class TransferOp { Copy, Move, Swap };

// --- Mode caption: set by whoever opens the window, read when it opens ---
inline constexpr std::string_view kChannelModeCaption = "Memory Manager";
inline constexpr std::string_view kBankModeCaption = "Memory Manager1";
std::string MemoryManagerCaption();
void SetMemoryManagerCaption(std::string_view caption);
inline bool MemoryManagerBankMode() {
    return MemoryManagerCaption() == kBankModeCaption;
}
// Bank mode for the lifetime of the scope, channel mode again afterwards.
class BankModeScope {
  public:
    BankModeScope() { SetMemoryManagerCaption(kBankModeCaption); }
    ~BankModeScope() { SetMemoryManagerCaption(kChannelModeCaption); }
    BankModeScope(const BankModeScope&) = delete;
    BankModeScope& operator=(const BankModeScope&) = delete;
};

// --- Channel mode ---
struct ChannelPlace {
    int bank = 0;
    int slot = 1;
    bool operator==(const ChannelPlace&) const = default;
};
// The list position (from 0) as a channel: in "All Banks" bank = position div 50 and
// slot = position mod 50 + 1, otherwise the slot position + 1 of the current bank.
ChannelPlace ChannelAtPosition(int position, bool allBanks, int currentBank);
// "7 : 0155.0000 - TAG" or "7 : Empty"; in "All Banks" every entry starts with "Bank 1 - " to
// "Bank 5 - " or "Dummy - " and the Dummy bank's channels are listed too.
std::vector<std::string> ChannelListEntries(const Image& image, bool allBanks, int currentBank);
// Fields 1 to 6. A move empties the source; a channel moved or swapped onto itself stays.
bool TransferChannel(Image& image, TransferOp op, ChannelPlace from, ChannelPlace to);
// "Copy channel 3 to channel 57", "Swap channels 3 and 57".
std::string ChannelStepName(TransferOp op, ChannelPlace from, ChannelPlace to);

// --- Bank mode ---
struct BankParts {
    bool frequencies = true;
    bool trunkIds = false;
    bool trunkSettings = false;
    bool bankTag = false;  // with the frequencies only
};
struct BankTransferResult {
    bool changed = false;
    // The Dummy bank has no trunk settings: settings to or from it were left where they are.
    bool settingsLeftOut = false;
};
// "1: tag  -  EMPTY" or "1: tag " ... "Dummy: tag ...".
std::vector<std::string> BankListEntries(const Image& image);
// Banks 0 to 5. A bank moved or swapped onto itself stays as it is.
BankTransferResult TransferBank(Image& image, TransferOp op, int from, int to, BankParts parts);
// "Move bank 2 to bank 4", "Swap bank 1 and Dummy bank", with the parts in brackets when not
// all of them take part: "Swap bank 1 and bank 3 (trunk ID's)".
std::string BankStepName(TransferOp op, int from, int to, BankParts parts);

}  // namespace vex
