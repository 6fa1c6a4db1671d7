#include "core/image_diff.h"

#include <array>

namespace vex {
namespace {

class Differ {
  public:
    void compare(ImagePlace place, const std::string& where, const std::string& a,
                 const std::string& b) {
        if (a != b) d_found.push_back({where, a, b, place});
    }
    std::vector<ImageDifference> take() { return std::move(d_found); }

  private:
    std::vector<ImageDifference> d_found;
};

std::string BankWord(int bank) {
    return bank == kDummyBank ? "Dummy bank" : "bank " + std::to_string(bank + 1);
}

constexpr std::array<const char*, kFieldsPerChannel> kChannelFieldNames = {
    "number", "frequency", "tag", "trunk", "delay", "lockout", "comment"};

constexpr std::array<const char*, kTrunkIdFields> kTrunkIdFieldNames = {"ID", "tag", "field 3",
                                                                        "field 4"};

constexpr std::array<const char*, kTrunkSettingFields> kTrunkSettingNames = {
    "control channel", "status bit / ID format",
    "end code",        "setting 4",
    "setting 5",       "delay",
    "setting 7",       "fleet map",
    "setting 9",       "setting 10"};

std::string RowLabel(int row) {
    return std::to_string(row / 10 + 1) + "-" + std::to_string(row % 10 + 1);
}

}  // namespace

std::vector<ImageDifference> DiffImages(const Image& first, const Image& second) {
    Differ differ;
    // Field 0 is only the number the file put there; the file writer computes it anew.
    for (int b = 0; b < kScannerBanks; ++b)
        for (int s = 1; s <= ChannelsPerBank; ++s)
            for (int f = kFieldFrequency; f < kFieldsPerChannel; ++f)
                differ.compare(
                    {ImageArea::Channel, b, s},
                    BankWord(b) + " channel " + std::to_string(s) + " " + kChannelFieldNames[f],
                    first.channel(b, s)[f], second.channel(b, s)[f]);
    for (int b = 0; b < kBankCount; ++b)
        differ.compare({ImageArea::BankName, b, 0}, BankWord(b) + " name", first.BankTag[b],
                       second.BankTag[b]);
    for (int b = 0; b < kScannerBanks; ++b)
        for (int r = 0; r < kTrunkIdUsedRows; ++r)
            for (int f = 0; f < kTrunkIdFields; ++f)
                differ.compare(
                    {ImageArea::TrunkId, b, r},
                    BankWord(b) + " trunk ID " + RowLabel(r) + " " + kTrunkIdFieldNames[f],
                    first.TrunkId[b][r][f], second.TrunkId[b][r][f]);
    for (int b = 0; b < kScanListTagRows; ++b)
        for (int l = 0; l < kScanListTagCols; ++l)
            differ.compare({ImageArea::IdListTag, b, l},
                           BankWord(b) + " ID list " + std::to_string(l + 1) + " tag",
                           first.ScanListTag[b][l], second.ScanListTag[b][l]);
    for (int b = 0; b < kScannerBanks; ++b)
        for (int f = 0; f < kTrunkSettingFields; ++f)
            differ.compare({ImageArea::TrunkSetting, b, 0},
                           BankWord(b) + " trunk " + kTrunkSettingNames[f],
                           first.TrunkSetting[b][f], second.TrunkSetting[b][f]);
    for (int b = 0; b < kScannerBanks; ++b)
        differ.compare({ImageArea::TrunkType, b, 0}, BankWord(b) + " trunk type",
                       first.TrunkType[b], second.TrunkType[b]);
    for (int b = 0; b < kScannerBanks; ++b)
        for (int r = 0; r < kTrunkBaseRows; ++r)
            for (int f = 0; f < kTrunkBaseFields; ++f)
                differ.compare({ImageArea::BaseConfiguration, b, r},
                               BankWord(b) + " base configuration " + std::to_string(r + 1) +
                                   " value " + std::to_string(f + 1),
                               first.TrunkBase[b][r][f], second.TrunkBase[b][r][f]);
    for (int b = 0; b < kScannerBanks; ++b)
        differ.compare({ImageArea::ActiveBank, b, 0}, BankWord(b) + " active",
                       std::to_string(first.ActiveBank[b]), std::to_string(second.ActiveBank[b]));
    for (int b = 0; b < kScannerBanks; ++b)
        differ.compare({ImageArea::PriorityChannel, b, 0}, BankWord(b) + " priority channel",
                       std::to_string(first.PriorityChannel[b]),
                       std::to_string(second.PriorityChannel[b]));
    return differ.take();
}

std::string DifferenceLine(const ImageDifference& difference) {
    return difference.where + ": \"" + difference.before + "\" -> \"" + difference.after + "\"";
}

}  // namespace vex
