// The image cut into small units (one channel, one trunk ID row, one bank tag ...) so that a
// change can be kept as just the units it touched, each packed into one string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"

namespace vex {

enum class UnitKind : std::uint8_t {
    Channel,         // ChannelTable[bank][index], index = slot 0..50
    BankTag,         // BankTag[bank]
    Priority,        // the whole PriorityChannel list
    Active,          // the whole ActiveBank list
    TrunkType,       // TrunkType[index]
    TrunkSetting,    // TrunkSetting[bank]
    TrunkBaseRow,    // TrunkBase[bank][index]
    TrunkIdRow,      // TrunkId[bank][index]
    ScanListTagRow,  // ScanListTag[index]
    SearchEdgeRow,   // SearchEdgeTable[index]
};

struct ImageUnit {
    UnitKind kind = UnitKind::Channel;
    std::uint8_t bank = 0;
    std::uint8_t index = 0;
    bool operator==(const ImageUnit&) const = default;
};

// Every unit in which the two images differ.
std::vector<ImageUnit> Differences(const Image& a, const Image& b);
// The same over the channels of one bank only.
std::vector<ImageUnit> ChannelDifferences(const Image& a, const Image& b, int bank);

// The unit's values in one string, and back.
std::string PackUnit(const Image& image, ImageUnit unit);
void UnpackUnit(std::string_view packed, Image& image, ImageUnit unit);
// Copies one unit from `from` into `to`.
void CopyUnit(const Image& from, Image& to, ImageUnit unit);

}  // namespace vex
