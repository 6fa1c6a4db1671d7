// Character classes and trimming shared by every reader of the program's plain Latin-1 text.
// The locale never decides: a byte above 0x7F is neither a digit nor a blank.
#pragma once

#include <string_view>

namespace vex {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The blanks the files and the fields trim: space and tab, never a line break.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Leading and trailing blanks removed; a view into `text`.
constexpr std::string_view TrimBlanks(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    std::size_t last = text.size();
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

}  // namespace vex
