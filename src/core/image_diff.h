// How two images differ, value by value, in the order the MEM file holds them: channels, bank
// names, trunk IDs and their tags, ID list tags, trunk settings, trunk types, base
// configurations, active banks, priority channels. Values are compared as text, exactly as held.
#pragma once

#include <string>
#include <vector>

#include "core/image.h"

namespace vex {

// The part of the image a difference lives in, for a window that jumps to it.
enum class ImageArea {
    Channel,
    BankName,
    TrunkId,
    IdListTag,
    TrunkSetting,
    TrunkType,
    BaseConfiguration,
    ActiveBank,
    PriorityChannel
};

struct ImagePlace {
    ImageArea area = ImageArea::Channel;
    int bank = 0;   // bank index (the ID list's row for ID list tags)
    int index = 0;  // channel slot 1..50, trunk ID row 0..49, ID list 0..9; else 0
    bool operator==(const ImagePlace&) const = default;
};

struct ImageDifference {
    std::string where;   // e.g. "bank 2 channel 17 tag"
    std::string before;  // the value in the first image
    std::string after;   // the value in the second image
    ImagePlace place;
    bool operator==(const ImageDifference&) const = default;
};

// Every value that differs; empty when the images hold the same data. The Dummy bank's channels
// are left out: no file or scanner holds them.
std::vector<ImageDifference> DiffImages(const Image& first, const Image& second);

// One difference as a line: where: "before" -> "after".
std::string DifferenceLine(const ImageDifference& difference);

}  // namespace vex
