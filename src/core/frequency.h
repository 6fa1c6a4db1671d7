// Frequency texts: the canonical "0162.5500" form, the form without leading zeros, band clamps.
#pragma once

#include <string>
#include <string_view>

namespace vex {

// Canonical text: four integer digits, a point, four decimals; extra decimals are cut, never
// rounded. "" and "0" give "0000.0000".
std::string FormatFrequency(std::string_view text, int lastIndex = 8, int pointPos = 5);

// "0162.55" gives "162.5500"; four or more decimals are kept as they are.
std::string FormatFrequencyNoLeadingZeros(std::string_view text, int decimals = 4);

// The scanner's bands on whole megahertz: 25..512, 806..956, 1240..1300. Returns the bare
// band-edge text ("25", "512", "956", "1300") for an integer part outside them, or an empty
// string when the integer part lies inside a band.
std::string BandEdgeFor(int wholeMegahertz);

}  // namespace vex
