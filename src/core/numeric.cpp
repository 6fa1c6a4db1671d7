#include "core/numeric.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>

namespace vex {

double NumericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t first = i;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c < '0' || c > '9') {
            break;
        }
    }
    double value = 0;
    const std::string_view number = text.substr(first, i - first);
    if (number.empty() || number == ".") return 0;
    // A number too large for a double reads as the largest one rather than as nothing.
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec ==
        std::errc::result_out_of_range)
        value = number.substr(0, number.find('.')).find_first_not_of('0') == std::string_view::npos
                    ? 0
                    : DBL_MAX;
    return negative ? -value : value;
}

int IntegerValue(std::string_view text) {
    const double value = std::trunc(NumericValue(text));
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

std::string DecimalText(long long value) {
    return std::to_string(value);
}

std::string NumberToText(double value) {
    if (!std::isfinite(value)) return "0";
    // Plain digits, never an exponent: the text must read back as the same number.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return "0";
    return std::string(buffer, result.ptr);
}

std::int16_t Int16Value(std::string_view text) {
    const int value = IntegerValue(text);
    if (value > INT16_MAX) return INT16_MAX;
    if (value < INT16_MIN) return INT16_MIN;
    return static_cast<std::int16_t>(value);
}

}  // namespace vex
