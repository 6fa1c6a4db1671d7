#include "core/normalise.h"

#include "core/frequency.h"
#include "core/numeric.h"

namespace vex {
namespace {

struct TrunkRange {
    std::string_view type;
    int low;
    int high;
};

constexpr TrunkRange kTrunkRanges[] = {
    {"1", 806, 956}, {"2", 851, 956}, {"3", 806, 956}, {"4", 406, 512},
    {"5", 136, 174}, {"6", 137, 956}, {"7", 137, 956},
};

void NormaliseFlag(std::string& flag) {
    if (flag != "0" && flag != "1") flag = "0";
}

}  // namespace

bool TrunkAllowedAt(std::string_view trunkType, int wholeMegahertz) {
    for (const TrunkRange& range : kTrunkRanges)
        if (range.type == trunkType)
            return wholeMegahertz >= range.low && wholeMegahertz <= range.high;
    return true;
}

void NormaliseChannel(Channel& channel, std::string_view trunkType, const ImageOptions& options) {
    std::string& frequency = channel[kFieldFrequency];
    if (NumericValue(frequency) == 0) {
        frequency = "0000.0000";
        return;
    }
    // The band edge is stored in canonical form, not as the bare number: a bare "512" would reach
    // the scanner as a different frequency, or as an empty channel.
    frequency = NormalisedFrequency(frequency);
    NormaliseFlag(channel[kFieldTrunk]);
    NormaliseFlag(channel[kFieldDelay]);
    NormaliseFlag(channel[kFieldLockout]);
    if (channel[kFieldTag].size() > kMaxTagLength) channel[kFieldTag].resize(kMaxTagLength);
    if (options.option5 != 1 && !TrunkAllowedAt(trunkType, IntegerValue(frequency)))
        channel[kFieldTrunk] = "0";
}

void NormaliseTable(Image& image, const ImageOptions& options) {
    for (int b = 0; b < kBankCount; ++b) {
        static_assert(kBankCount <= kTrunkTypeCount, "every bank has a trunk type");
        const std::string_view trunkType = image.TrunkType[b];
        for (int s = 1; s <= ChannelsPerBank; ++s)
            NormaliseChannel(image.ChannelTable[b][s], trunkType, options);
    }
}

}  // namespace vex
