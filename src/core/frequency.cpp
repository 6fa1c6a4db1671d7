#include "core/frequency.h"

#include "core/numeric.h"
#include "core/text.h"

namespace vex {
namespace {

std::string_view DropLeadingZerosAndSpaces(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == '0' || text[i] == ' ')) ++i;
    return text.substr(i);
}

// The characters the lenient numeric parse reads, without blanks, sign and leading zeros.
struct NumberText {
    std::string_view digits;
    bool negative = false;
    bool tooLong = false;  // more than four integer digits
};

NumberText SplitNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    NumberText result;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        result.negative = text[i] == '-';
        ++i;
    }
    const std::size_t first = i;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        if (text[i] == '.' && !seenPoint) {
            seenPoint = true;
        } else if (!IsDigit(text[i])) {
            break;
        }
    }
    result.digits = DropLeadingZerosAndSpaces(text.substr(first, i - first));
    const std::size_t point = result.digits.find('.');
    result.tooLong = (point == std::string_view::npos ? result.digits.size() : point) > 4;
    return result;
}

}  // namespace

std::string FormatFrequency(std::string_view text, int lastIndex, int pointPos) {
    std::string s(DropLeadingZerosAndSpaces(text));
    if (s.find('.') == std::string::npos) s += '.';
    const int p = static_cast<int>(s.find('.')) + 1;
    if (p < pointPos) s.insert(0, static_cast<std::size_t>(pointPos - p), '0');
    const std::size_t length = lastIndex < 0 ? 0 : static_cast<std::size_t>(lastIndex) + 1;
    if (s.size() < length) s.append(length - s.size(), '0');
    s.resize(length);
    return s;
}

std::string FormatFrequencyNoLeadingZeros(std::string_view text, int decimals) {
    std::string s(text);
    if (!s.empty() && s.front() == '.') s.insert(0, 1, '0');
    s = std::string(DropLeadingZerosAndSpaces(s));
    std::size_t point = s.find('.');
    if (point == std::string::npos) {
        point = s.size();
        s += '.';
    }
    const std::size_t have = s.size() - point - 1;
    if (decimals > 0 && have < static_cast<std::size_t>(decimals))
        s.append(static_cast<std::size_t>(decimals) - have, '0');
    return s;
}

std::string BandEdgeFor(int f) {
    if (f < 25) return "25";
    if (f > 1300) return "1300";
    if (f > 512 && f < 806) return "512";
    if (f > 956 && f < 1240) return "956";
    return {};
}

std::string CanonicalFrequency(std::string_view text) {
    const NumberText number = SplitNumber(text);
    if (number.tooLong || (number.negative && NumericValue(text) != 0)) return "0000.0000";
    return FormatFrequency(number.digits);
}

std::string NormalisedFrequency(std::string_view text) {
    if (NumericValue(text) == 0) return "0000.0000";
    const NumberText number = SplitNumber(text);
    if (number.negative) return "0025.0000";
    if (number.tooLong) return "1300.0000";
    const std::string canonical = FormatFrequency(number.digits);
    const std::string edge = BandEdgeFor(IntegerValue(canonical));
    return edge.empty() ? canonical : FormatFrequency(edge);
}

bool IsCanonicalFrequency(std::string_view text) {
    if (text.size() != 9 || text[4] != '.') return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != 4 && !IsDigit(text[i])) return false;
    return true;
}

}  // namespace vex
