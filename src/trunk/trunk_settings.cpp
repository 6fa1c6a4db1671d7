#include "trunk/trunk_settings.h"

#include <algorithm>

#include "core/numeric.h"

namespace vex {
namespace {

// Position of a stored list value, -1 when it is not an entry of a list of `size` entries.
int ListPosition(std::string_view stored, int size) {
    const int value = IntegerValue(stored);
    return value >= 0 && value < size ? value : -1;
}

int FlagPosition(const std::string& stored) {
    if (stored == "0") return 0;
    if (stored == "1") return 1;
    return -1;
}

std::string PositionText(int position) {
    return DecimalText(position < 0 ? -1 : position);
}

int BlockCode(const std::string& block) {
    return block.empty() ? -1 : std::clamp(IntegerValue(block), 0, kFleetMapMaxCode);
}

}  // namespace

void ShowTrunkBank(const Image& image, int bank, TrunkConfigForm& form) {
    const int code = TrunkTypeOf(image.TrunkType[bank]);
    const auto& setting = image.TrunkSetting[bank];
    const auto& base = image.TrunkBase[bank];
    form.type = code >= 0 && code < kTrunkTypeListSize ? code : -1;

    switch (GroupOfType(code)) {
        case TrunkGroup::Motorola800: {
            form.status800 = setting[kTsStatusOrIdFormat] == "1";
            form.endCode800 = FlagPosition(setting[kTsEndCode]);
            // Any delay above 0 shows as "2"; it is stored so only when the bank is stored.
            form.delay800 =
                NumericValue(setting[kTsDelay]) > 0 ? 1 : ListPosition(setting[kTsDelay], 2);
            form.controlChannel = ListPosition(setting[kTsControlChannel], 5);
            form.fleetMap = -1;
            const std::string& fleet = setting[kTsFleetMap];
            if (!fleet.empty()) {
                // "None" is shown as chosen, so a bank stored with None keeps it.
                const int value = IntegerValue(fleet);
                if (value >= kFleetMapCustom && value <= kFleetMapNone) form.fleetMap = value;
            }
            for (int i = 0; i < kFleetMapBlocks; ++i) form.blocks[i] = base[0][i];
            SelectFleetMap(form.fleetMap, form);
            break;
        }
        case TrunkGroup::MotorolaVhfUhf:
            form.statusVhf = setting[kTsStatusOrIdFormat] == "1";
            form.endCodeVhf = FlagPosition(setting[kTsEndCode]);
            form.delayVhf = ListPosition(setting[kTsDelay], 2);
            for (int r = 0; r < kTrunkBaseRows; ++r) {
                for (int f = 0; f < 3; ++f) form.base[r][f] = base[r][f];
            }
            break;
        case TrunkGroup::Edacs:
            form.idFormat = FlagPosition(setting[kTsStatusOrIdFormat]);
            form.delayEdacs = ListPosition(setting[kTsDelay], 2);
            break;
        case TrunkGroup::Ltr:
            form.delayLtr = ListPosition(setting[kTsDelay], 2);
            break;
        case TrunkGroup::None:
            break;
    }
}

void StoreTrunkBank(TrunkConfigForm& form, Image& image, int bank) {
    const int code = TrunkTypeOf(image.TrunkType[bank]);
    auto& setting = image.TrunkSetting[bank];
    auto& base = image.TrunkBase[bank];

    switch (GroupOfType(code)) {
        case TrunkGroup::Motorola800:
            setting[kTsDelay] = PositionText(form.delay800);
            setting[kTsStatusOrIdFormat] = form.status800 ? "1" : "0";
            setting[kTsEndCode] = PositionText(form.endCode800);
            setting[kTsControlChannel] = PositionText(form.controlChannel);
            setting[kTsFleetMap] = PositionText(form.fleetMap);
            form.delay800 = form.endCode800 = form.controlChannel = -1;
            NormaliseFleetBlocks(form.blocks);
            for (int i = 0; i < kFleetMapBlocks; ++i) base[0][i] = form.blocks[i];
            break;
        case TrunkGroup::MotorolaVhfUhf: {
            setting[kTsDelay] = PositionText(form.delayVhf);
            setting[kTsStatusOrIdFormat] = form.statusVhf ? "1" : "0";
            setting[kTsEndCode] = PositionText(form.endCodeVhf);
            // Line 3 of the band plan only counts when line 2 is there.
            if (NumericValue(form.base[1][kTbFrequency]) == 0 ||
                form.base[1][kTbFrequency].empty()) {
                form.base[2][kTbFrequency].clear();
            }
            for (int r = 0; r < kTrunkBaseRows; ++r) {
                CorrectBaseRow(code, form.base[r]);
                for (int f = 0; f < 3; ++f) base[r][f] = form.base[r][f];
            }
            form.delayVhf = form.endCodeVhf = -1;
            break;
        }
        case TrunkGroup::Edacs:
            setting[kTsDelay] = PositionText(form.delayEdacs);
            if (form.idFormat == 0 || form.idFormat == 1) {
                setting[kTsStatusOrIdFormat] = DecimalText(form.idFormat);
            }
            form.delayEdacs = form.idFormat = -1;
            break;
        case TrunkGroup::Ltr:
            setting[kTsDelay] = PositionText(form.delayLtr);
            break;
        case TrunkGroup::None:
            break;
    }
}

void SelectTrunkType(Image& image, int bank, int code, TrunkConfigForm& form) {
    if (code < 0 || code >= kTrunkTypeListSize) return;
    image.TrunkType[bank] = DecimalText(code);
    form.type = code;
}

void SelectFleetMap(int position, TrunkConfigForm& form) {
    form.fleetMap = position;
    if (position >= 1 && position <= kFleetMapPresets) {
        const FleetMapBlocks& preset = FleetMapPreset(position);
        for (int i = 0; i < kFleetMapBlocks; ++i) form.blocks[i] = DecimalText(preset[i]);
    }
}

bool FleetMapListVisible(int code) {
    return code == kTrunkMotorola1;
}

bool CustomBlocksVisible(int code, int fleetMapPosition) {
    return FleetMapListVisible(code) &&
           (fleetMapPosition < 0 || fleetMapPosition == kFleetMapCustom);
}

void ClearFleetBlocks(TrunkConfigForm& form) {
    for (auto& block : form.blocks) block.clear();
}

void ClearFleetBlock(TrunkConfigForm& form, int block) {
    if (block >= 0 && block < kFleetMapBlocks) form.blocks[block].clear();
}

void NormaliseFleetBlocks(std::array<std::string, kFleetMapBlocks>& blocks) {
    // Codes are clamped first so that an oversized code in block 0 still claims all blocks.
    std::array<int, kFleetMapBlocks> code{};
    for (int i = 0; i < kFleetMapBlocks; ++i) code[i] = BlockCode(blocks[i]);
    if (code[0] == 14) code.fill(14);
    for (int k = 0; k < kFleetMapBlocks; k += 2) {
        if (code[k] == 12) code[k + 1] = 12;
    }
    if (code[0] == 13) std::fill(code.begin() + 1, code.begin() + 4, 13);
    if (code[4] == 13) std::fill(code.begin() + 5, code.end(), 13);
    for (int i = 0; i < kFleetMapBlocks; ++i) {
        blocks[i] = code[i] < 0 ? std::string() : DecimalText(code[i]);
    }
}

void ApplyDelayToAll(Image& image, int position) {
    for (auto& setting : image.TrunkSetting) setting[kTsDelay] = PositionText(position);
}

void ApplyEndCodeToAll(Image& image, int position) {
    for (auto& setting : image.TrunkSetting) setting[kTsEndCode] = PositionText(position);
}

void ApplyControlChannelToAll(Image& image, int position) {
    for (int b = 0; b < kScannerBanks; ++b) {
        const int code = TrunkTypeOf(image.TrunkType[b]);
        if (code == kTrunkMotorola2_800 || code == kTrunkMotorola1 ||
            code == kTrunkMotorola2_Rebanded || code == kTrunkMotorola1_Rebanded) {
            image.TrunkSetting[b][kTsControlChannel] = PositionText(position);
        }
    }
}

void ApplyIdFormatToAll(Image& image, int position) {
    for (int b = 0; b < kScannerBanks; ++b) {
        const int code = TrunkTypeOf(image.TrunkType[b]);
        if (code == kTrunkEdacsWide || code == kTrunkEdacsNarrow) {
            image.TrunkSetting[b][kTsStatusOrIdFormat] = PositionText(position);
        }
    }
}

void ClearTrunkBank(Image& image, int bank) {
    for (int f = 0; f <= kTsFleetMap; ++f) image.TrunkSetting[bank][f].clear();
    for (auto& row : image.TrunkBase[bank]) {
        for (auto& field : row) field.clear();
    }
}

std::string FormatBaseNumber(std::string_view text, int integerDigits, int totalLength) {
    std::size_t first = 0;
    while (first < text.size() && (text[first] == '0' || text[first] == ' ')) ++first;
    // Only the number itself counts; anything after it is dropped.
    std::string s;
    bool point = false;
    for (std::size_t i = first; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c < '0' || c > '9') {
            break;
        }
        s += c;
    }
    if (!point) s += '.';
    const auto m = static_cast<std::size_t>(std::max(integerDigits, 0));
    const auto n = static_cast<std::size_t>(std::max(totalLength, integerDigits + 1));
    const std::size_t pointAt = s.find('.');
    if (pointAt > m) return std::string(m, '9') + "." + std::string(n - m - 1, '9');
    s.insert(0, m - pointAt, '0');
    if (s.size() < n) s.append(n - s.size(), '0');
    s.resize(n);
    return s;
}

void CorrectBaseRow(int code, std::array<std::string, 3>& row) {
    std::string& frequency = row[kTbFrequency];
    std::string& step = row[kTbStep];
    std::string& offset = row[kTbOffset];

    const bool present = NumericValue(frequency) > 0;
    if (!present) {
        // An empty line of the band plan: nothing but blanks is stored, whatever was typed.
        frequency.clear();
        step.clear();
        offset.clear();
        return;
    }
    const double low = code == kTrunkMotorola2_Vhf ? 136 : 406;
    const double high = code == kTrunkMotorola2_Vhf ? 174 : 512;
    const double f = NumericValue(frequency);
    if (f < low) frequency = DecimalText(static_cast<long long>(low));
    if (f > high) frequency = DecimalText(static_cast<long long>(high));
    frequency = FormatBaseNumber(frequency, 4, 9);

    if (NumericValue(step) <= 0) step = "12.5";
    if (NumericValue(step) > 50) step = "50";
    step = FormatBaseNumber(step, 3, 6);
    if (NumericValue(step) <= 0) step = "012.50";

    if (NumericValue(offset) <= 0) offset = "380";
    const double o = NumericValue(offset);
    if (o < 380) {
        offset = "380";
    } else if (o > 758) {
        offset = "758";
    } else {
        offset = DecimalText(IntegerValue(offset));
    }
}

}  // namespace vex
