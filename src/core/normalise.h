// Bringing the channel table into canonical form: the only repair the table ever gets. Run by
// "Check Data In Table" and before every save.
#pragma once

#include <string_view>

#include "core/image.h"
#include "core/image_options.h"

namespace vex {

// For banks 0..5 (the Dummy bank too) and slots 1..50: an empty channel gets "0000.0000" and is
// otherwise left alone; any other frequency becomes canonical and is clamped to the band edges
// (stored canonically, e.g. "0512.0000", so that the scanner link never meets a bare number);
// flags other than "0"/"1" become "0"; tags are cut to 16 characters; unless option5 is 1 the
// trunk flag is cleared where the bank's trunk type allows no trunking at that frequency.
void NormaliseTable(Image& image, const ImageOptions& options);

// One channel, as NormaliseTable treats it; trunkType is the bank's TrunkType text.
void NormaliseChannel(Channel& channel, std::string_view trunkType, const ImageOptions& options);

// Whether a trunk type (compared as text, "1".."7") allows trunking at a whole-megahertz
// frequency. Types without a range ("", "0", "8" ...) allow every frequency.
bool TrunkAllowedAt(std::string_view trunkType, int wholeMegahertz);

inline constexpr std::size_t kMaxTagLength = 16;

}  // namespace vex
