// What every import hands to the image: the channels and trunk ID rows to write, plus the
// notes to tell the user. Readers and planners build a plan; ApplyImport is the one place that
// writes one into the image, so every import changes the image the same way (and, in the
// windows, as one undo step).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"

namespace vex {

// A note about one line of the source (line 0: about the whole source).
struct Diagnostic {
    int line = 0;
    std::string text;
};

struct ChannelPut {
    int bank = 0;  // 0..4, or kDummyBank
    int slot = 1;  // 1..50
    Channel value;
    bool frequencyOnly = false;  // only field 1 is written (the simple import)
};

struct TrunkIdPut {
    int bank = 0;  // 0..4
    int row = 0;   // 0..49
    TrunkIdRow value;
};

struct ImportPlan {
    std::vector<ChannelPut> channels;
    std::vector<TrunkIdPut> trunkIds;
    std::vector<std::string> notes;  // told after the import (what was left out, and why)
    bool empty() const { return channels.empty() && trunkIds.empty(); }
};

// Writes the plan into the image (fields 1..6 of a channel; field 0 is left alone). Puts that
// name a bank or slot the image does not have are ignored. True when anything changed.
bool ApplyImport(Image& image, const ImportPlan& plan);

// Whether a bank holds a channel / a trunk ID row with any text (the dialogs' red banks).
bool BankHasChannels(const Image& image, int bank);
bool BankHasTrunkIds(const Image& image, int bank);

// Destination banks the plan writes that already hold data, in bank order (channels and trunk
// IDs judged separately).
std::vector<int> FilledDestinations(const Image& image, const ImportPlan& plan);

// The override question of the dialogs, and its title.
inline constexpr std::string_view kMsgBankNotEmpty = "Bank is not empty!";
inline constexpr std::string_view kMsgOverride = "Do you want to override the data in this bank?";
inline constexpr std::string_view kOverrideTitle = "Override?";
inline constexpr std::string_view kMsgSelectDestination = "Select destination bank.";

// Bank names as the dialogs and the command line show them: "Bank 1".."Bank 5", "Dummy".
std::string DestinationName(int bank);
// "1".."5" or "D" (any case) to a bank index; -1 when it is neither.
int ParseDestination(std::string_view text);

// Whether a frequency text lies in the scanner's bands (25..512, 806..956, 1240..1300 MHz on
// whole megahertz). An import leaves a channel outside them empty and says so, rather than let
// the band clamp turn it into a band-edge channel.
bool InScannerBand(std::string_view frequency);

// A text value from outside made fit for a channel tag: control characters dropped, a double
// quote made ', cut to 16 characters.
std::string CleanTag(std::string_view text);

}  // namespace vex
