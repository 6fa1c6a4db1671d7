// What a send of changes writes: the parts of the image that differ from the image the scanner
// was last known to hold. Only what the scanner stores counts (frequency and flags of a channel,
// a bank's trunk type and settings, trunk IDs); tags and comments live in the file alone.
#pragma once

#include <array>
#include <bitset>

#include "core/image.h"

namespace vex {

struct SendPlan {
    std::bitset<kTotalChannels + 1> channels;                // channels 1..250
    std::array<bool, kScannerBanks> bankSettings{};          // trunk type, settings, band plan
    std::bitset<kScannerBanks * kTrunkIdUsedRows> trunkIds;  // bank * 50 + row

    bool empty() const { return channelCount() == 0 && bankCount() == 0 && trunkIdCount() == 0; }
    int channelCount() const { return static_cast<int>(channels.count()); }
    int bankCount() const;
    int trunkIdCount() const { return static_cast<int>(trunkIds.count()); }
    bool hasTrunkId(int bank, int row) const {
        return trunkIds[static_cast<std::size_t>(bank * kTrunkIdUsedRows + row)];
    }
    bool hasTrunkIdsIn(int bank) const;
    bool operator==(const SendPlan&) const = default;
};

// The parts of `image` that differ from `held`, the scanner's memory as last transferred.
SendPlan PlanChanges(const Image& held, const Image& image);

// "5 channels, the trunk settings of 1 bank and 2 trunk IDs".
std::string DescribePlan(const SendPlan& plan);

}  // namespace vex
