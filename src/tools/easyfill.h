// EasyFill ("Easy Fill BCT8"): a range of channels filled with ascending frequencies and a
// common tag, trunk, delay or lockout value; and the active bank flags.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image.h"

namespace vex {

inline constexpr int kEasyFillLastChannel = 300;  // 251..300: the Dummy bank

struct EasyFillChoices {
    std::string start = "1";  // absolute channel numbers as typed
    std::string end = "50";
    bool frequency = false;
    std::string startMHz = "0400.0000";
    std::string stepKHz = "5";
    bool tag = false;
    std::string tagText;
    bool series = false;        // the tag's number counts up by one from channel to channel
    std::optional<bool> trunk;  // nullopt: not ticked; otherwise ON / OFF
    std::optional<bool> delay;
    std::optional<bool> lockout;
};

struct EasyFillRange {
    int first = 1;
    int last = 1;
    bool operator==(const EasyFillRange&) const = default;
};
// Start and end exchanged when start is larger, then kept within 1..300.
EasyFillRange EasyFillRangeOf(std::string_view start, std::string_view end);
// The step in kHz, kept within 5..10000.
double EasyFillStep(std::string_view stepKHz);
// The k-th frequency (k from 0): start + k x step, in units of 100 Hz rounded to the nearest,
// as "0088.1000"; a step of 8.33 kHz counts as 8 1/3 kHz. Not clamped to the bands.
std::string EasyFillFrequency(std::string_view startMHz, std::string_view stepKHz, int k);
// The k-th tag of a series: the trailing number counts up by k; a tag without one gets the
// numbers 1, 2, 3 ... The number always stays whole within 16 characters.
std::string EasyFillSeriesTag(std::string_view tag, int k);

struct EasyFillResult {
    EasyFillRange range;
    bool changed = false;
    int clamped = 0;  // frequencies outside the scanner's bands, stored at the band edge
};
EasyFillResult EasyFill(Image& image, const EasyFillChoices& choices);
// "Easy Fill channels 1 to 50".
std::string EasyFillStepName(EasyFillRange range);

// --- Active banks ---
using ActiveBankFlags = std::array<bool, kScannerBanks>;
ActiveBankFlags ActiveBanksOf(const Image& image);
// 1 for every ticked bank, 0 for the others; true when that changed a flag.
bool SetActiveBanks(Image& image, const ActiveBankFlags& ticked);

}  // namespace vex
