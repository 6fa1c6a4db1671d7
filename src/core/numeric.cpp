#include "core/numeric.h"

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
    std::from_chars(number.data(), number.data() + number.size(), value);
    return negative ? -value : value;
}

int IntegerValue(std::string_view text) {
    const double value = std::trunc(NumericValue(text));
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

std::string DecimalText(long long value) { return std::to_string(value); }

}  // namespace vex
