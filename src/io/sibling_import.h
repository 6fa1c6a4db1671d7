// The two imports from a sibling ten-bank MEM file: channels and trunk IDs, one source bank at a
// time ("Apply") or banks 1 to 5 into banks 1 to 5 ("Import All banks").
#pragma once

#include <string>

#include "core/memfile.h"
#include "io/import_plan.h"

namespace vex {

inline constexpr std::string_view kSiblingOpenFilter = "Mem Files|*.mem";

// Source bank 0..9 into `bank` (0..4 or the Dummy bank): slots 1..50, fields 1..6.
ImportPlan PlanSiblingChannels(const TenBankFile& file, int source, int bank);
ImportPlan PlanSiblingChannelsAll(const TenBankFile& file);

// Source bank 0..9 into the trunk ID table of `bank` (0..4): rows 1 to 50. Filled rows past 50
// (which the scanner's table has no room for) are counted in a note.
ImportPlan PlanSiblingTrunkIds(const TenBankFile& file, int source, int bank);
ImportPlan PlanSiblingTrunkIdsAll(const TenBankFile& file);

// A source bank's caption: "Bank N" or, with names, "Bank N: NAME".
std::string SiblingBankCaption(const TenBankFile& file, int source, bool withName);
// Whether the file has any channel / trunk ID in a source bank.
bool SiblingBankHasChannels(const TenBankFile& file, int source);

}  // namespace vex
