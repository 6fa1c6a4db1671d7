#include "tools/easyfill.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/frequency.h"
#include "core/normalise.h"
#include "core/numeric.h"
#include "mainwin/tablecmds.h"

namespace vex {

namespace {

// Tag text as typed tags are stored: no double quotes or control characters.
std::string CleanTag(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || u < 32 || u == 127) c = ' ';
    }
    return out;
}

std::string CutTag(std::string tag) {
    if (tag.size() > kMaxTagLength) tag.resize(kMaxTagLength);
    return tag;
}

}  // namespace

EasyFillRange EasyFillRangeOf(std::string_view start, std::string_view end) {
    int first = IntegerValue(start);
    int last = IntegerValue(end);
    if (first > last) std::swap(first, last);
    first = std::clamp(first, 1, kEasyFillLastChannel);
    last = std::clamp(last, 1, kEasyFillLastChannel);
    return {first, last};
}

double EasyFillStep(std::string_view stepKHz) {
    return std::clamp(NumericValue(stepKHz), 5.0, 10000.0);
}

std::string EasyFillFrequency(std::string_view startMHz, std::string_view stepKHz, int k) {
    // In units of 10 Hz, as the start and step are given.
    const double start = NumericValue(startMHz) * 100000.0;
    double step = EasyFillStep(stepKHz) * 100.0;
    if (std::llround(step * 1000) == 833000) step = 2500.0 / 3.0;
    const long long units = std::llround((start + k * step) / 10.0);  // 100 Hz
    if (units <= 0) return "0000.0000";
    char text[32];
    std::snprintf(text, sizeof text, "%04lld.%04lld", units / 10000, units % 10000);
    return text;
}

std::string EasyFillSeriesTag(std::string_view tag, int k) {
    const std::string clean = CleanTag(tag);
    std::string full;
    if (const auto counted = SeriesTag(clean, k)) {
        full = *counted;
    } else {
        const std::size_t end = clean.find_last_not_of(' ');
        full = (end == std::string::npos ? std::string() : clean.substr(0, end + 1)) +
               std::to_string(k + 1);
    }
    if (full.size() <= kMaxTagLength) return full;
    // Cut the text before the number, never the number.
    std::size_t digits = 0;
    while (digits < full.size() &&
           std::isdigit(static_cast<unsigned char>(full[full.size() - 1 - digits])))
        ++digits;
    digits = std::min(digits, kMaxTagLength);
    return full.substr(0, kMaxTagLength - digits) + full.substr(full.size() - digits);
}

EasyFillResult EasyFill(Image& image, const EasyFillChoices& choices) {
    EasyFillResult result;
    result.range = EasyFillRangeOf(choices.start, choices.end);
    const std::string plainTag = CutTag(CleanTag(choices.tagText));
    for (int c = result.range.first; c <= result.range.last; ++c) {
        const int k = c - result.range.first;
        Channel& channel = image.channel((c - 1) / ChannelsPerBank, (c - 1) % ChannelsPerBank + 1);
        const Channel before = channel;
        if (choices.frequency) {
            const std::string computed = EasyFillFrequency(choices.startMHz, choices.stepKHz, k);
            channel[kFieldFrequency] = NormalisedFrequency(computed);
            if (channel[kFieldFrequency] != computed) ++result.clamped;
        }
        if (choices.tag)
            channel[kFieldTag] = choices.series ? EasyFillSeriesTag(choices.tagText, k) : plainTag;
        if (choices.trunk) channel[kFieldTrunk] = FlagText(*choices.trunk);
        if (choices.delay) channel[kFieldDelay] = FlagText(*choices.delay);
        if (choices.lockout) channel[kFieldLockout] = FlagText(*choices.lockout);
        if (channel != before) result.changed = true;
    }
    return result;
}

std::string EasyFillStepName(EasyFillRange range) {
    if (range.first == range.last) return "Easy Fill channel " + std::to_string(range.first);
    return "Easy Fill channels " + std::to_string(range.first) + " to " +
           std::to_string(range.last);
}

ActiveBankFlags ActiveBanksOf(const Image& image) {
    ActiveBankFlags flags{};
    for (int bank = 0; bank < kScannerBanks; ++bank) flags[bank] = image.ActiveBank[bank] == 1;
    return flags;
}

bool SetActiveBanks(Image& image, const ActiveBankFlags& ticked) {
    bool changed = false;
    for (int bank = 0; bank < kScannerBanks; ++bank) {
        const std::int16_t value = ticked[bank] ? 1 : 0;
        if (image.ActiveBank[bank] != value) changed = true;
        image.ActiveBank[bank] = value;
    }
    return changed;
}

}  // namespace vex
