#include "core/image.h"

#include "core/numeric.h"

namespace vex {
namespace {

void FillChannels(Image& image, const std::string& number, const std::string& frequency,
                  const std::string& tag, const std::string& rest) {
    for (Bank& bank : image.ChannelTable) {
        for (Channel& channel : bank) {
            channel[kFieldNumber] = number;
            channel[kFieldFrequency] = frequency;
            channel[kFieldTag] = tag;
            for (int f = kFieldTrunk; f < kFieldsPerChannel; ++f) channel[f] = rest;
        }
    }
}

}  // namespace

void ClearForStartup(Image& image) {
    FillChannels(image, "", "0000.0000", "         ", "0");
}

void ClearForFileNew(Image& image) {
    FillChannels(image, "", "0", " ", " ");
    ClearTrunkTables(image);
    for (auto& row : image.SearchEdgeTable) row.fill("");
    for (int b = 0; b < kScannerBanks; ++b) {
        image.ActiveBank[b] = 0;
        image.PriorityChannel[b] = static_cast<std::int16_t>(AbsoluteChannel(b, 1));
    }
}

void ClearForFileRead(Image& image) {
    FillChannels(image, "", "0", "", "");
}

void ClearTrunkTables(Image& image) {
    for (auto& bank : image.TrunkSetting) bank.fill("");
    for (auto& bank : image.TrunkBase)
        for (auto& row : bank) row.fill("");
    for (auto& bank : image.TrunkId)
        for (auto& row : bank) row.fill("");
    for (auto& row : image.ScanListTag) row.fill("");
}

void SetStartupBankTags(Image& image) {
    for (int b = 0; b < kScannerBanks; ++b) image.BankTag[b] = "Bank: " + std::to_string(b + 1);
    image.BankTag[kDummyBank] = "Dummy";
}

void SetNewFileBankTags(Image& image) {
    for (int b = 0; b < kScannerBanks; ++b) image.BankTag[b] = "Bank " + std::to_string(b + 1);
    image.BankTag[kDummyBank] = "Dummy";
}

std::string BankTabCaption(const Image& image, int bank) {
    if (bank < 0 || bank >= kBankCount) return {};
    return std::to_string(bank + 1) + ": " + image.BankTag[bank];
}

std::string BankMenuCaption(const Image& image, int bank) {
    if (bank < 0 || bank >= kBankCount) return {};
    const std::string& tag = image.BankTag[bank];
    const std::size_t first = tag.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : tag.substr(first);
}

bool IsEmptyChannel(const Channel& channel) {
    return NumericValue(channel[kFieldFrequency]) == 0;
}

void EmptyChannel(Channel& channel) {
    channel[kFieldFrequency] = "0000.0000";
    channel[kFieldTag].clear();
    channel[kFieldTrunk] = "0";
    channel[kFieldDelay] = "0";
    channel[kFieldLockout] = "0";
    channel[kFieldComment].clear();
}

bool IsEmptyChannel(const Image& image, int bank, int slot) {
    if (bank < 0 || bank >= kBankCount || slot < 0 || slot > ChannelsPerBank) return true;
    return IsEmptyChannel(image.ChannelTable[bank][slot]);
}

}  // namespace vex
