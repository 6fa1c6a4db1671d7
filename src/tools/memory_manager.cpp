#include "tools/memory_manager.h"

#include <utility>

#include "core/numeric.h"
#include "tools/step_names.h"

namespace vex {

namespace {

std::string& Caption() {
    static std::string caption(kChannelModeCaption);
    return caption;
}

bool ValidBank(int bank) {
    return bank >= 0 && bank < kBankCount;
}

bool ValidPlace(ChannelPlace p) {
    return ValidBank(p.bank) && p.slot >= 1 && p.slot <= ChannelsPerBank;
}

const char* OpVerb(TransferOp op) {
    switch (op) {
        case TransferOp::Copy:
            return "Copy";
        case TransferOp::Move:
            return "Move";
        case TransferOp::Swap:
            return "Swap";
    }
    return "";
}

// The table's parts of a bank, each as one object so that copy, move and swap treat them alike.
template <typename T>
void Transfer(T& from, T& to, TransferOp op, const T& emptied) {
    switch (op) {
        case TransferOp::Copy:
            to = from;
            break;
        case TransferOp::Move:
            to = from;
            from = emptied;
            break;
        case TransferOp::Swap:
            std::swap(from, to);
            break;
    }
}

// Fields 1 to 6 of a channel; field 0 is the slot's own number.
void TransferFields(Channel& from, Channel& to, TransferOp op) {
    Channel emptied = from;
    EmptyChannel(emptied);
    for (int field = kFieldFrequency; field < kFieldsPerChannel; ++field)
        Transfer(from[field], to[field], op, emptied[field]);
}

void TransferFrequencies(Image& image, TransferOp op, int from, int to, bool bankTag) {
    for (int slot = 1; slot <= ChannelsPerBank; ++slot)
        TransferFields(image.channel(from, slot), image.channel(to, slot), op);
    if (bankTag) Transfer(image.BankTag[from], image.BankTag[to], op, std::string());
}

void TransferTrunkIds(Image& image, TransferOp op, int from, int to) {
    Transfer(image.TrunkId[from], image.TrunkId[to], op, {});
    Transfer(image.ScanListTag[from], image.ScanListTag[to], op, {});
}

void TransferTrunkSettings(Image& image, TransferOp op, int from, int to) {
    Transfer(image.TrunkBase[from], image.TrunkBase[to], op, {});
    Transfer(image.TrunkSetting[from], image.TrunkSetting[to], op, {});
    Transfer(image.TrunkType[from], image.TrunkType[to], op, std::string("0"));
}

bool BankIsEmpty(const Image& image, int bank) {
    for (int slot = 1; slot <= ChannelsPerBank; ++slot)
        if (!IsEmptyChannel(image, bank, slot)) return false;
    return true;
}

std::string ChannelEntry(const Image& image, int bank, int slot) {
    const Channel& c = image.channel(bank, slot);
    std::string entry = std::to_string(AbsoluteChannel(bank, slot)) + " : ";
    if (NumericValue(c[kFieldFrequency]) > 0)
        return entry + c[kFieldFrequency] + " - " + c[kFieldTag];
    return entry + "Empty";
}

}  // namespace

std::string MemoryManagerCaption() {
    return Caption();
}

void SetMemoryManagerCaption(std::string_view caption) {
    Caption() = std::string(caption);
}

ChannelPlace ChannelAtPosition(int position, bool allBanks, int currentBank) {
    if (allBanks) return {position / ChannelsPerBank, position % ChannelsPerBank + 1};
    return {currentBank, position + 1};
}

std::vector<std::string> ChannelListEntries(const Image& image, bool allBanks, int currentBank) {
    std::vector<std::string> entries;
    if (!allBanks) {
        if (!ValidBank(currentBank)) return entries;
        for (int slot = 1; slot <= ChannelsPerBank; ++slot)
            entries.push_back(ChannelEntry(image, currentBank, slot));
        return entries;
    }
    for (int bank = 0; bank < kBankCount; ++bank) {
        const std::string prefix =
            bank == kDummyBank ? "Dummy - " : "Bank " + std::to_string(bank + 1) + " - ";
        for (int slot = 1; slot <= ChannelsPerBank; ++slot)
            entries.push_back(prefix + ChannelEntry(image, bank, slot));
    }
    return entries;
}

bool TransferChannel(Image& image, TransferOp op, ChannelPlace from, ChannelPlace to) {
    // Moving a channel onto itself would copy it and then empty it.
    if (!ValidPlace(from) || !ValidPlace(to) || from == to) return false;
    const Channel before = image.channel(from.bank, from.slot);
    const Channel target = image.channel(to.bank, to.slot);
    TransferFields(image.channel(from.bank, from.slot), image.channel(to.bank, to.slot), op);
    return before != image.channel(from.bank, from.slot) ||
           target != image.channel(to.bank, to.slot);
}

std::string ChannelStepName(TransferOp op, ChannelPlace from, ChannelPlace to) {
    const std::string a = std::to_string(AbsoluteChannel(from.bank, from.slot));
    const std::string b = std::to_string(AbsoluteChannel(to.bank, to.slot));
    if (op == TransferOp::Swap) return "Swap channels " + a + " and " + b;
    return std::string(OpVerb(op)) + " channel " + a + " to channel " + b;
}

std::vector<std::string> BankListEntries(const Image& image) {
    std::vector<std::string> entries;
    for (int bank = 0; bank < kBankCount; ++bank) {
        std::string entry = bank == kDummyBank ? "Dummy: " : std::to_string(bank + 1) + ": ";
        entry += image.BankTag[bank];
        entry += BankIsEmpty(image, bank) ? "  -  EMPTY" : " ";
        entries.push_back(std::move(entry));
    }
    return entries;
}

BankTransferResult TransferBank(Image& image, TransferOp op, int from, int to, BankParts parts) {
    BankTransferResult result;
    // Moving a bank onto itself would copy it and then empty it.
    if (!ValidBank(from) || !ValidBank(to) || from == to) return result;
    const Image before = image;
    if (parts.frequencies) TransferFrequencies(image, op, from, to, parts.bankTag);
    if (parts.trunkIds) TransferTrunkIds(image, op, from, to);
    if (parts.trunkSettings) {
        if (from < kScannerBanks && to < kScannerBanks) {
            TransferTrunkSettings(image, op, from, to);
        } else {
            result.settingsLeftOut = true;
        }
    }
    result.changed = !(image == before);
    return result;
}

std::string BankStepName(TransferOp op, int from, int to, BankParts parts) {
    std::string name =
        op == TransferOp::Swap
            ? "Swap " + BankStepText(from) + " and " + BankStepText(to)
            : std::string(OpVerb(op)) + ' ' + BankStepText(from) + " to " + BankStepText(to);
    if (parts.frequencies && parts.trunkIds && parts.trunkSettings) return name;
    std::string what;
    auto add = [&](bool on, const char* text) {
        if (!on) return;
        if (!what.empty()) what += ", ";
        what += text;
    };
    add(parts.frequencies, "frequencies");
    add(parts.trunkIds, "trunk ID's");
    add(parts.trunkSettings, "trunk settings");
    return what.empty() ? name : name + " (" + what + ')';
}

}  // namespace vex
