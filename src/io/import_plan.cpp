#include "io/import_plan.h"

#include <algorithm>

#include "core/frequency.h"
#include "core/normalise.h"
#include "core/numeric.h"

namespace vex {

bool ApplyImport(Image& image, const ImportPlan& plan) {
    bool changed = false;
    for (const ChannelPut& put : plan.channels) {
        if (put.bank < 0 || put.bank >= kBankCount || put.slot < 1 || put.slot > ChannelsPerBank)
            continue;
        Channel& channel = image.ChannelTable[put.bank][put.slot];
        const int last = put.frequencyOnly ? kFieldFrequency : kFieldComment;
        for (int f = kFieldFrequency; f <= last; ++f) {
            if (channel[f] != put.value[f]) {
                channel[f] = put.value[f];
                changed = true;
            }
        }
    }
    for (const TrunkIdPut& put : plan.trunkIds) {
        if (put.bank < 0 || put.bank >= kScannerBanks || put.row < 0 || put.row >= kTrunkIdUsedRows)
            continue;
        TrunkIdRow& row = image.TrunkId[put.bank][put.row];
        if (row != put.value) {
            row = put.value;
            changed = true;
        }
    }
    return changed;
}

bool BankHasChannels(const Image& image, int bank) {
    if (bank < 0 || bank >= kBankCount) return false;
    for (int s = 1; s <= ChannelsPerBank; ++s)
        if (!IsEmptyChannel(image, bank, s)) return true;
    return false;
}

bool BankHasTrunkIds(const Image& image, int bank) {
    if (bank < 0 || bank >= kScannerBanks) return false;
    for (int r = 0; r < kTrunkIdUsedRows; ++r)
        for (const std::string& value : image.TrunkId[bank][r])
            if (value.find_first_not_of(' ') != std::string::npos) return true;
    return false;
}

std::vector<int> FilledDestinations(const Image& image, const ImportPlan& plan) {
    std::vector<int> banks;
    const auto add = [&banks](int bank) {
        if (std::find(banks.begin(), banks.end(), bank) == banks.end()) banks.push_back(bank);
    };
    for (const ChannelPut& put : plan.channels)
        if (BankHasChannels(image, put.bank)) add(put.bank);
    for (const TrunkIdPut& put : plan.trunkIds)
        if (BankHasTrunkIds(image, put.bank)) add(put.bank);
    std::sort(banks.begin(), banks.end());
    return banks;
}

std::string DestinationName(int bank) {
    return bank == kDummyBank ? std::string("Dummy") : "Bank " + std::to_string(bank + 1);
}

int ParseDestination(std::string_view text) {
    if (text == "D" || text == "d") return kDummyBank;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '5') return text[0] - '1';
    return -1;
}

bool InScannerBand(std::string_view frequency) {
    const double value = NumericValue(frequency);
    return value > 0 && value < 10000 && BandEdgeFor(static_cast<int>(value)).empty();
}

std::string CleanTag(std::string_view text) {
    std::string tag;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) continue;
        tag += c == '"' ? '\'' : c;
        if (tag.size() == kMaxTagLength) break;
    }
    return tag;
}

}  // namespace vex
