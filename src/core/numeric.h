// The lenient numeric reading every number of the image goes through.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vex {

// Leading blanks are skipped, an optional sign and digits with at most one point are read, and
// reading stops at the first character that cannot continue the number. Nothing readable gives 0.
double NumericValue(std::string_view text);

// The numeric value truncated towards zero, clamped into the range of int.
int IntegerValue(std::string_view text);

// Decimal text of an integer, as the files write numbers.
std::string DecimalText(long long value);

// Decimal text of a numeric value without an exponent, as short as reads back to the same value:
// whole numbers without a point ("3", "-2"), others as "2.5".
std::string NumberToText(double value);

// The numeric value truncated towards zero and clamped into a 16-bit integer.
std::int16_t Int16Value(std::string_view text);

}  // namespace vex
