// The smaller trunk editors: copy, move and swap of IDs and ID lists ("Edit Trunk ID's") and
// the names of the ID lists ("Listtags").
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/image.h"

namespace vex {

inline constexpr int kTrunkIdsPerList = 10;
inline constexpr int kTrunkListsPerBank = kTrunkIdUsedRows / kTrunkIdsPerList;  // 5
inline constexpr int kListTagFields = 10;

enum class TrunkEditScope { ActiveBank, AllBanks };
enum class TrunkEditUnit { Ids, Lists };
enum class TrunkEditOp { Copy, Move, Swap };

// A row (unit Ids) or a list (unit Lists) of one bank.
struct TrunkEditTarget {
    int bank = 0;
    int index = 0;
    bool operator==(const TrunkEditTarget&) const = default;
};

// The banks the "All Banks" lists run over: the five scanner banks and the Dummy bank.
inline constexpr int kTrunkEditBanks = kTrunkIdBanks;

// Entries of the "From:" and "To:" lists and the target each stands for, in the same order.
std::vector<std::string> TrunkEditEntries(const Image& image, int activeBank, TrunkEditScope scope,
                                          TrunkEditUnit unit);
TrunkEditTarget TrunkEditTargetAt(int activeBank, TrunkEditScope scope, TrunkEditUnit unit,
                                  int entry);
int TrunkEditEntryCount(TrunkEditScope scope, TrunkEditUnit unit);

// "Apply": all four fields of a row, or the ten rows of a list with the list's scan-list tag.
void ApplyTrunkEdit(Image& image, TrunkEditUnit unit, TrunkEditOp op, TrunkEditTarget source,
                    TrunkEditTarget destination);

// "Listtags".
using ListTagFields = std::array<std::string, kListTagFields>;
std::string DefaultListTag(int bank, int list);  // "Bank 1 List 1"
ListTagFields LoadListTags(const Image& image, int bank);
void StoreListTags(const ListTagFields& fields, Image& image, int bank);
ListTagFields DefaultListTags(int bank);
void AlignListTagsLeft(ListTagFields& fields);
void CenterListTags(ListTagFields& fields);

}  // namespace vex
