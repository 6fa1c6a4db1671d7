// The lenient numeric reading every number of the image goes through.
#pragma once

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

}  // namespace vex
