#include "mainwin/cellentry.h"

#include <cmath>
#include <cstdio>

#include "core/frequency.h"
#include "core/numeric.h"

namespace vex {

namespace {

std::string CanonicalFromTenthKilohertz(long long n) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04lld.%04lld", n / 10000, n % 10000);
    return buffer;
}

std::string ByZeroSetting(const std::string& canonical, const Options& options) {
    return options.zero == 1 ? FormatFrequencyNoLeadingZeros(canonical) : canonical;
}

// The typed text clamped into the scanner's bands, as canonical text; empty for a value of 0.
// `clamped` tells whether a band edge replaced the value.
std::string ClampedCanonical(std::string_view typed, bool* clamped = nullptr) {
    const double value = NumericValue(typed);
    if (value == 0) return {};
    // Judged on whole megahertz, like normalisation. Values far outside any band (negative
    // ones included) clamp before they could overflow an int.
    int whole = 0;
    if (value < 25) {
        whole = 0;
    } else if (value >= 1301) {
        whole = 1301;
    } else {
        whole = IntegerValue(typed);
    }
    const std::string edge = BandEdgeFor(whole);
    if (clamped) *clamped = !edge.empty();
    return CanonicalFrequency(edge.empty() ? typed : std::string_view(edge));
}

bool OnSixPointTwoFiveRaster(const std::string& canonical) {
    const std::string_view last = std::string_view(canonical).substr(canonical.size() - 2);
    return last == "62" || last == "87" || last == "12" || last == "37";
}

std::string_view TrimLeadingSpaces(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

// Many locales type a comma for the decimal point.
std::string WithDecimalPoint(std::string_view text) {
    std::string s(text);
    for (char& c : s) {
        if (c == ',') c = '.';
    }
    return s;
}

bool OnRaster(long long n) {
    if (n % 125 == 0 || n % 75 == 0 || n % 50 == 0) return true;
    // 150.81 < F < 154.6275 MHz: channels there also sit 5 kHz off the 7.5 kHz raster.
    return n > 1508100 && n < 1546275 && (n - 50) % 75 == 0;
}

}  // namespace

FrequencyEntry EnterFrequency(std::string_view typed, const Options& options,
                              const DefaultData& defaults) {
    FrequencyEntry entry;
    const std::string text = WithDecimalPoint(TrimLeadingSpaces(typed));
    bool clamped = false;
    std::string canonical = ClampedCanonical(text, &clamped);
    if (canonical.empty()) {
        // An empty or zero entry leaves the channel empty instead of making a 25 MHz channel.
        entry.empty = true;
        return entry;
    }
    bool moved = false;
    if (options.round != 1 && !clamped && !OnSixPointTwoFiveRaster(canonical)) {
        // Digits beyond 100 Hz are rounded, not cut: 162.55999 is 162.5600, on the raster.
        const long long n = std::llround(NumericValue(text) * 10000);
        canonical = ClampedCanonical(CanonicalFromTenthKilohertz(n), &clamped);
        if (!clamped && !OnSixPointTwoFiveRaster(canonical) && !OnRaster(n)) {
            canonical = CanonicalFromTenthKilohertz(n / 50 * 50);
            moved = true;
        }
    }
    entry.text = ByZeroSetting(canonical, options);
    const std::string shown(TrimLeadingSpaces(typed));
    if (clamped) {
        entry.note = shown + " MHz lies outside the scanner's bands: stored " + entry.text + ".";
    } else if (moved) {
        entry.note =
            shown + " MHz is on no channel raster: stored " + entry.text + " (5 kHz below).";
    }
    for (int i = 0; i < 3; ++i) {
        if (defaults.use[i] != 0) entry.flags[i] = defaults.value[i] == 1 ? "On" : "Off";
    }
    return entry;
}

std::string EnterFrequencyText(std::string_view typed, const Options& options) {
    return EnterFrequency(typed, options, DefaultData{}).text;
}

std::string PastedFrequencyText(std::string_view text, const Options& options) {
    const std::string canonical = ClampedCanonical(WithDecimalPoint(TrimLeadingSpaces(text)));
    return canonical.empty() ? std::string() : ByZeroSetting(canonical, options);
}

std::string EnterTag(std::string_view typed) {
    std::string tag(typed.substr(0, kMaxTagLength));
    for (char& c : tag) {
        const auto code = static_cast<unsigned char>(c);
        // A double quote or a line break would break the MEM file's comma-separated lines.
        if (c == '"' || code < 32 || code == 127) c = ' ';
    }
    return tag;
}

bool AcceptsFrequencyChar(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-';
}

bool AcceptsTagChar(char c, std::size_t lengthAfterKey) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 32 && code <= 126 && c != '"' && lengthAfterKey <= kMaxTagLength;
}

std::optional<std::string> FlagCellForKey(char key, std::string_view current) {
    switch (key) {
        case '0':
        case 'F':
        case 'f':
            return std::string("Off");
        case '1':
        case 'N':
        case 'n':
            return std::string("On");
        case ' ':
            return ToggleFlagCell(current);
        default:
            return std::nullopt;
    }
}

std::string FlagCellFromText(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    std::string word(text.substr(first, last - first + 1));
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (word == "on" || word == "1" || word == "n" || word == "y" || word == "yes" ||
        word == "true") {
        return "On";
    }
    if (word == "off" || word == "0" || word == "f" || word == "no" || word == "false") {
        return "Off";
    }
    return {};
}

std::string ToggleFlagCell(std::string_view current) {
    return current == "On" ? "Off" : "On";
}

ShiftDirection ShiftDirectionForKey(char key, const Options& options) {
    const bool down = key == 'D' || key == 'd';
    const bool reversed = options.shiftdir == 1;
    return down != reversed ? ShiftDirection::Down : ShiftDirection::Up;
}

ColumnHelp HelpForField(int fieldId) {
    switch (fieldId) {
        case 1:
            return {"Frequency", "Enter frequency. Use <ENTER> to jump to next channel."};
        case 2:
            return {"Tag:",
                    "Enter tag. Maximum 16 characters are stored. Tip: you can also use special "
                    "characters like ? + { } [ ] _ | "};
        case 3:
            return {"Trunk:",
                    "Use double click or spacebar to toggle between Off/On. Set to ON when "
                    "frequency is part of trunk system"};
        case 4:
            return {"Delay:", "Use double click or spacebar to toggle between Off/On. "};
        case 5:
            return {"Lock Out:", "Use double click or spacebar to toggle between Off/On"};
        default:
            return {};
    }
}

std::string KeyboardShortcutsText() {
    return "You can use these keyboard shortcuts,\n"
           "depending on which column is active:\n"
           "\n"
           "CTRL + D = shift channel down \n"
           "CTRL + U = shift channel up \n"
           "0 = Off \n"
           "F = Off \n"
           "1 = On \n"
           "N = On \n"
           "Space = toggle data\n"
           "Space = scroll list up\n"
           "Shift-Space = scroll list down";
}

std::string BankCaption(int bank) {
    if (bank >= 0 && bank < kScannerBanks) return "Bank " + std::to_string(bank + 1);
    return "Dummy Bank";
}

std::string TabCaption(int bank, std::string_view bankTag) {
    return std::to_string(bank + 1) + ": " + std::string(bankTag);
}

std::string WindowTitle(std::string_view fileName) {
    return "Vexatron for BCT8 - [ " + std::string(fileName) + " ]";
}

}  // namespace vex
