#include "trunk/trunk_edit.h"

#include <utility>

#include "core/text.h"
#include "trunk/trunk_id.h"

namespace vex {
namespace {

int UnitsPerBank(TrunkEditUnit unit) {
    return unit == TrunkEditUnit::Ids ? kTrunkIdUsedRows : kTrunkListsPerBank;
}

std::string BankPrefix(int bank) {
    return bank == kDummyBank ? std::string("Dummy: ") : "Bank " + std::to_string(bank + 1) + ": ";
}

std::string EntryText(const Image& image, TrunkEditUnit unit, TrunkEditTarget target) {
    if (unit == TrunkEditUnit::Ids) {
        const TrunkIdRow& row = image.TrunkId[target.bank][target.index];
        return TrunkRowLabel(target.index) + " : " + row[0] + " - " + row[1];
    }
    return std::to_string(target.index + 1) + ": " + image.ScanListTag[target.bank][target.index];
}

// A trunk ID row or a list tag; a moved one leaves an empty one behind.
template <typename Entry>
void TransferEntry(Entry& source, Entry& destination, TrunkEditOp op) {
    switch (op) {
        case TrunkEditOp::Copy:
            destination = source;
            break;
        case TrunkEditOp::Move:
            destination = source;
            source = Entry{};
            break;
        case TrunkEditOp::Swap:
            std::swap(source, destination);
            break;
    }
}

}  // namespace

int TrunkEditEntryCount(TrunkEditScope scope, TrunkEditUnit unit) {
    return UnitsPerBank(unit) * (scope == TrunkEditScope::AllBanks ? kTrunkEditBanks : 1);
}

TrunkEditTarget TrunkEditTargetAt(int activeBank, TrunkEditScope scope, TrunkEditUnit unit,
                                  int entry) {
    if (scope == TrunkEditScope::ActiveBank) return {activeBank, entry};
    return {entry / UnitsPerBank(unit), entry % UnitsPerBank(unit)};
}

std::vector<std::string> TrunkEditEntries(const Image& image, int activeBank, TrunkEditScope scope,
                                          TrunkEditUnit unit) {
    std::vector<std::string> entries;
    const int count = TrunkEditEntryCount(scope, unit);
    entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        const TrunkEditTarget target = TrunkEditTargetAt(activeBank, scope, unit, i);
        std::string prefix;
        if (scope == TrunkEditScope::AllBanks) {
            prefix = BankPrefix(target.bank);
        } else if (unit == TrunkEditUnit::Lists && target.bank == kDummyBank) {
            prefix = "Dummy: ";
        }
        entries.push_back(prefix + EntryText(image, unit, target));
    }
    return entries;
}

void ApplyTrunkEdit(Image& image, TrunkEditUnit unit, TrunkEditOp op, TrunkEditTarget source,
                    TrunkEditTarget destination) {
    // Moving something onto itself would only empty it.
    if (source == destination) return;
    const auto valid = [&](TrunkEditTarget t) {
        return t.bank >= 0 && t.bank < kTrunkEditBanks && t.index >= 0 &&
               t.index < UnitsPerBank(unit);
    };
    if (!valid(source) || !valid(destination)) return;

    if (unit == TrunkEditUnit::Ids) {
        TransferEntry(image.TrunkId[source.bank][source.index],
                      image.TrunkId[destination.bank][destination.index], op);
        return;
    }
    for (int j = 0; j < kTrunkIdsPerList; ++j) {
        TransferEntry(image.TrunkId[source.bank][source.index * kTrunkIdsPerList + j],
                      image.TrunkId[destination.bank][destination.index * kTrunkIdsPerList + j],
                      op);
    }
    TransferEntry(image.ScanListTag[source.bank][source.index],
                  image.ScanListTag[destination.bank][destination.index], op);
}

std::string DefaultListTag(int bank, int list) {
    return "Bank " + std::to_string(bank + 1) + " List " + std::to_string(list + 1);
}

ListTagFields LoadListTags(const Image& image, int bank) {
    ListTagFields fields;
    for (int j = 0; j < kListTagFields; ++j) fields[j] = image.ScanListTag[bank][j];
    return fields;
}

void StoreListTags(const ListTagFields& fields, Image& image, int bank) {
    for (int j = 0; j < kListTagFields; ++j) image.ScanListTag[bank][j] = fields[j];
}

ListTagFields DefaultListTags(int bank) {
    ListTagFields fields;
    for (int j = 0; j < kListTagFields; ++j) fields[j] = DefaultListTag(bank, j);
    return fields;
}

void AlignListTagsLeft(ListTagFields& fields) {
    for (auto& field : fields) field = std::string(TrimBlanks(field));
}

void CenterListTags(ListTagFields& fields) {
    for (auto& field : fields) field = CenterTag(field);
}

}  // namespace vex
