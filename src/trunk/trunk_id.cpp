#include "trunk/trunk_id.h"

#include <algorithm>

#include "core/numeric.h"
#include "core/text.h"

namespace vex {
namespace {

constexpr std::size_t kIdLength = 6;

bool IsIcallLetter(char c) {
    return c == 'i' || c == 'I';
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit);
}

// Drops leading zeros only while the text is longer than `length`, so a cut to `length`
// characters never throws away a significant digit because zeros were typed in front.
void DropExcessLeadingZeros(std::string& s, std::size_t length) {
    std::size_t zeros = 0;
    while (s.size() - zeros > length && s[zeros] == '0') ++zeros;
    s.erase(0, zeros);
}

// The digits a text begins with: what is typed after a number ("123.", "12abc") does not
// turn it into another ID.
std::string LeadingDigits(std::string_view s) {
    std::size_t n = 0;
    while (n < s.size() && IsDigit(s[n])) ++n;
    return std::string(s.substr(0, n));
}

// An ICALL "i" followed by up to five digits, padded to "ixxxxx"; an over-long number keeps its
// first five digits; digits above `limit` give "i00000". Returns an empty string for a malformed
// ICALL (letters but no digits after the "i").
std::string PadIcall(const std::string& s, double limit) {
    std::string digits = LeadingDigits(std::string_view(s).substr(1));
    if (digits.empty() && s.size() > 1) return {};
    DropExcessLeadingZeros(digits, kIdLength - 1);
    digits.resize(std::min(digits.size(), kIdLength - 1));
    if (NumericValue(digits) > limit) digits = "00000";
    digits.insert(0, kIdLength - 1 - digits.size(), '0');
    return std::string(1, s[0]) + digits;
}

bool IsMotorola2Form(std::string_view id) {
    if (id.size() != kIdLength || !AllDigits(id)) return false;
    if (id[0] == '7') return NumericValue(id.substr(1)) <= 65535;
    return NumericValue(id) <= 65535;
}

bool IsMotorola1Form(std::string_view id) {
    if (!id.empty() && IsIcallLetter(id[0])) {
        return id.size() == kIdLength && AllDigits(id.substr(1)) &&
               NumericValue(id.substr(1)) <= 65536;
    }
    return !id.empty() && std::all_of(id.begin(), id.end(),
                                      [](char c) { return IsDigit(c) || c == '-' || c == '.'; });
}

bool IsEdacsAfs(std::string_view id) {
    if (id.size() != 5 && id.size() != 6) return false;
    if (id[2] != '-' || !AllDigits(id.substr(0, 2)) || !AllDigits(id.substr(3))) return false;
    return NumericValue(id.substr(0, 2)) <= 15 && NumericValue(id.substr(3, 2)) <= 15 &&
           (id.size() == 5 || NumericValue(id.substr(5, 1)) <= 7);
}

bool IsEdacsForm(std::string_view id) {
    if (id.empty()) return false;
    if (IsIcallLetter(id[0])) {
        return id.size() == kIdLength && AllDigits(id.substr(1)) &&
               NumericValue(id.substr(1)) <= 16383;
    }
    if (id.find('-') != std::string_view::npos) return IsEdacsAfs(id);
    const double value = NumericValue(id);
    return AllDigits(id) && value >= 1 && value <= 2047;
}

bool IsLtrForm(std::string_view id) {
    if (id.size() != kIdLength || !AllDigits(id)) return false;
    const double home = NumericValue(id.substr(1, 2));
    return id[0] <= '1' && home >= 1 && home <= 20 && NumericValue(id.substr(3)) <= 254;
}

}  // namespace

std::string NormaliseMotorola2Id(std::string_view text) {
    std::string s(TrimBlanks(text));
    if (s.empty()) return s;
    const double value = NumericValue(s);
    if ((value > 65535 && value < 700000) || value > 765535) return "0";

    if (IsIcallLetter(s[0])) {
        s = PadIcall(s, 65535);
        if (s.empty()) return "0";
        s[0] = '7';
    } else {
        s = LeadingDigits(s);
        if (s.empty()) return "0";
        DropExcessLeadingZeros(s, kIdLength);
        s.resize(std::min(s.size(), kIdLength));
        // A short number beginning with 7 is an ordinary ID, not an ICALL.
        if (s[0] == '7' && s.size() <= 4) s.insert(0, "0");
        if (s[0] == '7') {
            if (s.size() < kIdLength) s.insert(1, kIdLength - s.size(), '0');
            if (NumericValue(s.substr(1)) > 65535) s = "700000";
        } else if (s.size() < kIdLength) {
            s.insert(0, kIdLength - s.size(), '0');
        }
    }
    return IsMotorola2Form(s) ? s : "0";
}

std::string NormaliseMotorola1Id(std::string_view text) {
    // Characters no key can type and no file line can hold go first.
    std::string raw(text);
    std::erase_if(
        raw, [](char c) { return static_cast<unsigned char>(c) < 32 || c == '"' || c == ','; });
    std::string s(TrimBlanks(raw));
    if (s.empty()) return s;
    if (NumericValue(s) > 65536) return "0";
    if (IsIcallLetter(s[0])) {
        s = PadIcall(s, 65536);
        return s.empty() ? "0" : s;
    }
    // Any other text is the block-fleet-subfleet form and stays as typed.
    return s;
}

std::string NormaliseEdacsId(std::string_view text) {
    std::string s(TrimBlanks(text));
    if (s.empty()) return s;

    if (IsIcallLetter(s[0])) {
        s = PadIcall(s, 16383);
        return IsEdacsForm(s) ? s : "0";
    }

    const std::size_t dash = s.find('-');
    if (dash != std::string::npos) {
        // Dashes without a digit are no agency, fleet or subfleet at all.
        if (std::none_of(s.begin(), s.end(), IsDigit)) return {};
        // Agency-fleet-subfleet. Zeros typed in front of the agency do not count.
        std::size_t p = dash + 1;
        while (p > 3 && s[0] == '0') {
            s.erase(0, 1);
            --p;
        }
        if (p > 4) return {};
        if (p == 4) s.erase(0, 1);
        if (p == 2) s.insert(0, "0");
        if (p == 1) s.insert(0, "00");
        if (NumericValue(s.substr(0, 2)) > 15) s.replace(0, 2, "15");
        s.resize(std::min<std::size_t>(s.size(), 6));
        if (s.size() == 4) s = s.substr(0, 3) + "0" + s.substr(3);
        // An agency without a fleet would be refused by the scanner; it means fleet 00.
        if (s.size() == 3) s += "00";
        if (NumericValue(s.substr(3, 2)) > 15) s.replace(3, 2, "15");
        if (s.size() == 6 && NumericValue(s.substr(5, 1)) > 7) s[5] = '7';
        if (s == "00----") return {};
        return IsEdacsAfs(s) ? s : std::string();
    }

    s = LeadingDigits(s);
    const double value = NumericValue(s);
    if (value > 2047 || value == 0) return "0";
    // A decimal ID has at most four digits; zeros typed in front of them carry nothing.
    DropExcessLeadingZeros(s, 4);
    return IsEdacsForm(s) ? s : "0";
}

std::string NormaliseLtrId(std::string_view text) {
    std::string s(TrimBlanks(text));
    if (s.empty()) return s;
    s = LeadingDigits(s);
    if (NumericValue(s) == 0) return "0";
    DropExcessLeadingZeros(s, kIdLength);
    s.resize(std::min(s.size(), kIdLength));
    static const char* const kPrefix[] = {"", "00100", "0010", "001", "00", "0", ""};
    s.insert(0, kPrefix[s.size()]);
    if (NumericValue(s.substr(0, 1)) > 1) s[0] = '1';
    if (NumericValue(s.substr(1, 1)) > 2) s[1] = '2';
    if (NumericValue(s.substr(1, 2)) < 1) s.replace(1, 2, "01");
    if (NumericValue(s.substr(1, 2)) > 20) s.replace(1, 2, "20");
    if (NumericValue(s.substr(3, 3)) > 254) s.replace(3, 3, "254");
    return IsLtrForm(s) ? s : "0";
}

std::string NormaliseTrunkId(int trunkType, std::string_view text) {
    switch (IdFormatOfType(trunkType).rule) {
        case IdRule::Motorola2:
            return NormaliseMotorola2Id(text);
        case IdRule::Motorola1:
            return NormaliseMotorola1Id(text);
        case IdRule::Edacs:
            return NormaliseEdacsId(text);
        case IdRule::Ltr:
            return NormaliseLtrId(text);
        case IdRule::None:
            break;
    }
    return std::string(text);
}

std::string TrunkIdEntryNote(std::string_view typed, std::string_view stored) {
    const std::string t(TrimBlanks(typed));
    if (t.empty() || t == stored) return {};
    if (AllDigits(t) && AllDigits(stored) && NumericValue(t) == NumericValue(stored)) return {};
    if (stored.empty()) return "ID " + t + " does not fit this system: the ID was cleared.";
    if (stored == "0") return "ID " + t + " does not fit this system: stored 0.";
    return "ID " + t + " was stored as " + std::string(stored) + ".";
}

std::string CleanTrunkId(int trunkType, std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!IsBlank(c)) s += c;
    }
    if (s.empty()) return s;
    return NormaliseTrunkId(trunkType, s);
}

bool IsStoredTrunkIdValid(int trunkType, std::string_view id) {
    if (id.empty() || id == "0") return true;
    switch (IdFormatOfType(trunkType).rule) {
        case IdRule::Motorola2:
            return IsMotorola2Form(id);
        case IdRule::Motorola1:
            // Text that is no number is kept as typed.
            return IsMotorola1Form(id) || std::none_of(id.begin(), id.end(), [](char c) {
                       return static_cast<unsigned char>(c) < 32 || c == '"' || c == ',';
                   });
        case IdRule::Edacs:
            return IsEdacsForm(id);
        case IdRule::Ltr:
            return IsLtrForm(id);
        case IdRule::None:
            break;
    }
    return true;
}

bool IdKeyAccepted(int trunkType, unsigned char key) {
    if (key < 26 || key == '.' || IsDigit(static_cast<char>(key)) || key == 'i' || key == 'I') {
        return true;
    }
    return key == '-' && (trunkType == kTrunkMotorola1 || trunkType == kTrunkEdacsWide ||
                          trunkType == kTrunkEdacsNarrow);
}

bool TagKeyAccepted(unsigned char key) {
    return key < 26 || (key >= 32 && key <= 126 && key != '"' && key != ',');
}

std::string SanitiseIdText(int trunkType, std::string_view text) {
    std::string s;
    for (char c : text) {
        const auto key = static_cast<unsigned char>(c);
        if (key >= 26 && IdKeyAccepted(trunkType, key)) s += c;
    }
    return s;
}

std::string SanitiseTagText(std::string_view text) {
    std::string s;
    for (char c : text) {
        const auto key = static_cast<unsigned char>(c);
        if (c == '"') {
            s += ' ';
        } else if (c == ',') {
            s += ';';
        } else if (key >= 32 && key <= 126) {
            s += c;
        }
    }
    return CutTag(s);
}

std::string CutTag(std::string_view tag) {
    return std::string(tag.substr(0, kTrunkTagLength));
}

std::string AlignTagLeft(std::string_view tag) {
    return std::string(TrimBlanks(CutTag(tag)));
}

std::string CenterTag(std::string_view tag) {
    std::string s = AlignTagLeft(tag);
    // A tag of blanks only stays empty rather than becoming a row of blanks.
    if (s.empty()) return s;
    if (s.size() < kTrunkTagLength) s.insert(0, (kTrunkTagLength - s.size()) / 2, ' ');
    return s;
}

std::string TrunkRowLabel(int row) {
    return std::to_string(row / 10 + 1) + "-" + std::to_string(row % 10 + 1);
}

}  // namespace vex
