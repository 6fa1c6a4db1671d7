// How two images differ, value by value, in the order the MEM file holds them: channels, bank
// names, trunk IDs and their tags, ID list tags, trunk settings, trunk types, base
// configurations, active banks, priority channels. Values are compared as text, exactly as held.
#pragma once

#include <string>
#include <vector>

#include "core/image.h"

namespace vex {

struct ImageDifference {
    std::string where;   // e.g. "bank 2 channel 17 tag"
    std::string before;  // the value in the first image
    std::string after;   // the value in the second image
    bool operator==(const ImageDifference&) const = default;
};

// Every value that differs; empty when the images hold the same data. The Dummy bank's channels
// are left out: no file or scanner holds them.
std::vector<ImageDifference> DiffImages(const Image& first, const Image& second);

// One difference as a line: where: "before" -> "after".
std::string DifferenceLine(const ImageDifference& difference);

}  // namespace vex
