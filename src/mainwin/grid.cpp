#include "mainwin/grid.h"

#include "core/frequency.h"
#include "core/numeric.h"
#include "mainwin/easytags.h"

namespace vex {

namespace {

// Canonical text of a non-empty stored frequency, whatever junk or range it was stored with.
// Values the canonical form cannot hold are clamped the way normalisation would clamp them,
// so that showing a bank never turns a channel into an empty one.
std::string ShownCanonical(std::string_view stored) {
    const double value = NumericValue(stored);
    if (value < 0) return CanonicalFrequency("25");
    if (value >= 10000) return CanonicalFrequency("1300");
    return CanonicalFrequency(stored);
}

std::string ByZeroSetting(const std::string& canonical, const Options& options) {
    return options.zero == 1 ? FormatFrequencyNoLeadingZeros(canonical) : canonical;
}

bool OffersTags(const Options& options, const EasyTagLists* tags) {
    return tags != nullptr && options.option9() == 1;
}

}  // namespace

int FieldIdForCaption(std::string_view caption) {
    for (int field = 1; field <= kGridColumns; ++field) {
        if (kColumnCaptions[field] == caption) return field;
    }
    return 0;
}

void GridBank::clear() {
    for (auto& row : cells) {
        for (auto& cell : row) cell.clear();
    }
}

bool IsGridBank(int bank) {
    return bank >= 0 && bank < kBankCount;
}

std::string FlagCellText(std::string_view tableFlag) {
    if (tableFlag == "1") return "On";
    if (tableFlag == "0") return "Off";
    return {};
}

std::string FrequencyCellText(std::string_view stored, const Options& options) {
    if (NumericValue(stored) == 0) return {};
    return ByZeroSetting(ShownCanonical(stored), options);
}

GridResult ShowBank(const Image& image, int bank, const Options& options, GridBank& grid,
                    EasyTagLists* tags) {
    if (!IsGridBank(bank)) return {false, std::string(kShowBankError)};
    for (int row = 1; row <= ChannelsPerBank; ++row) {
        auto& cells = grid.cells[row];
        for (int field = 1; field <= kGridColumns; ++field) cells[field].clear();
        const Channel& channel = image.channel(bank, row);
        if (NumericValue(channel[kFieldFrequency]) == 0) continue;
        cells[kGridFrequency] = FrequencyCellText(channel[kFieldFrequency], options);
        cells[kGridTag] = channel[kFieldTag];
        if (OffersTags(options, tags)) tags->offer(bank, channel[kFieldTag]);
        cells[kGridTrunk] = FlagCellText(channel[kFieldTrunk]);
        cells[kGridDelay] = FlagCellText(channel[kFieldDelay]);
        cells[kGridLockout] = FlagCellText(channel[kFieldLockout]);
    }
    return {};
}

GridBank ShowBank(const Image& image, int bank, const Options& options) {
    GridBank grid;
    ShowBank(image, bank, options, grid);
    return grid;
}

GridResult StoreGrid(const GridBank& grid, Image& image, int bank, const Options& options,
                     EasyTagLists* tags, const GridRows* rows) {
    if (!IsGridBank(bank)) return {false, std::string(kStoreGridError)};
    for (int row = 1; row <= ChannelsPerBank; ++row) {
        if (rows && !(*rows)[row]) continue;
        const auto& cells = grid.cells[row];
        Channel& channel = image.channel(bank, row);
        for (int field = 1; field <= kGridColumns; ++field) channel[field] = cells[field];
        if (OffersTags(options, tags)) tags->offer(bank, cells[kGridTag]);

        const double value = NumericValue(cells[kGridFrequency]);
        if (value == 0) {
            // Whatever the zero setting, an empty channel is stored in the one empty form.
            channel[kFieldFrequency] = "0000.0000";
            continue;
        }
        std::string canonical = ShownCanonical(cells[kGridFrequency]);
        if (IntegerValue(canonical) > 1300) canonical = CanonicalFrequency("1300");
        channel[kFieldFrequency] = ByZeroSetting(canonical, options);

        auto flag = [](const std::string& cell, bool blankIsOff) -> std::string {
            if (cell == "On") return "1";
            if (cell == "Off" || (blankIsOff && cell.empty())) return "0";
            return cell;
        };
        channel[kFieldTrunk] = flag(cells[kGridTrunk], true);
        channel[kFieldDelay] = flag(cells[kGridDelay], false);
        channel[kFieldLockout] = flag(cells[kGridLockout], false);
    }
    return {};
}

}  // namespace vex
