// Frequency texts: the canonical "0162.5500" form, the form without leading zeros, band clamps.
#pragma once

#include <string>
#include <string_view>

namespace vex {

// Canonical text: four integer digits, a point, four decimals; extra decimals are cut, never
// rounded. "" and "0" give "0000.0000". Works on the text as it is: leading zeros and blanks
// are dropped, zeros padded, the result cut to lastIndex + 1 characters. Text that is not a plain
// number (junk after the digits, a sign, five integer digits) does not come out canonical; use
// CanonicalFrequency for stored values.
std::string FormatFrequency(std::string_view text, int lastIndex = 8, int pointPos = 5);

// "0162.55" gives "162.5500"; four or more decimals are kept as they are.
std::string FormatFrequencyNoLeadingZeros(std::string_view text, int decimals = 4);

// The scanner's bands on whole megahertz: 25..512, 806..956, 1240..1300. Returns the bare
// band-edge text ("25", "512", "956", "1300") for an integer part outside them, or an empty
// string when the integer part lies inside a band.
std::string BandEdgeFor(int wholeMegahertz);

// The number a frequency text stands for, in canonical form: the numeric value's own digits
// (blanks, junk after the number and a plus sign ignored) formatted like FormatFrequency.
// "512" gives "0512.0000", "162.55abc" gives "0162.5500", "" gives "0000.0000". A negative value
// or one of 10000 MHz and more has no canonical form and gives "0000.0000"; callers clamp into
// the bands first (NormaliseTable does).
std::string CanonicalFrequency(std::string_view text);

// A stored frequency as normalisation leaves it: "0000.0000" when its numeric value is 0,
// otherwise canonical and clamped to the band edges in canonical form ("600" gives "0512.0000",
// "10" gives "0025.0000"). Always four digits, a point and four digits.
std::string NormalisedFrequency(std::string_view text);

// True for exactly four digits, a point and four digits.
bool IsCanonicalFrequency(std::string_view text);

}  // namespace vex
