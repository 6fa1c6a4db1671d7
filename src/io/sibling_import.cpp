#include "io/sibling_import.h"

#include "core/frequency.h"
#include "core/numeric.h"

namespace vex {
namespace {

void Append(ImportPlan& to, ImportPlan&& from) {
    for (ChannelPut& put : from.channels) to.channels.push_back(std::move(put));
    for (TrunkIdPut& put : from.trunkIds) to.trunkIds.push_back(std::move(put));
    for (std::string& note : from.notes) to.notes.push_back(std::move(note));
}

bool FilledRow(const TrunkIdRow& row) {
    for (const std::string& value : row)
        if (value.find_first_not_of(' ') != std::string::npos) return true;
    return false;
}

}  // namespace

ImportPlan PlanSiblingChannels(const TenBankFile& file, int source, int bank) {
    ImportPlan plan;
    if (source < 0 || source >= TenBankFile::kBanks) return plan;
    for (int s = 1; s <= ChannelsPerBank; ++s) {
        const Channel& from = file.channels[source][s];
        ChannelPut put;
        put.bank = bank;
        put.slot = s;
        put.value = from;
        put.value[kFieldTag] = CleanTag(from[kFieldTag]);
        if (NumericValue(from[kFieldFrequency]) == 0) {
            put.value[kFieldFrequency] = "0000.0000";
        } else if (InScannerBand(from[kFieldFrequency])) {
            put.value[kFieldFrequency] = CanonicalFrequency(from[kFieldFrequency]);
        } else {
            plan.notes.push_back("Bank " + std::to_string(source + 1) + " channel " +
                                 std::to_string(s) + ": " + from[kFieldFrequency] +
                                 " MHz lies outside the scanner's bands; left empty.");
            put.value = Channel{"", "0000.0000", "", "0", "0", "0", ""};
        }
        plan.channels.push_back(std::move(put));
    }
    return plan;
}

ImportPlan PlanSiblingChannelsAll(const TenBankFile& file) {
    ImportPlan plan;
    for (int b = 0; b < kScannerBanks; ++b) Append(plan, PlanSiblingChannels(file, b, b));
    return plan;
}

ImportPlan PlanSiblingTrunkIds(const TenBankFile& file, int source, int bank) {
    ImportPlan plan;
    if (source < 0 || source >= TenBankFile::kBanks) return plan;
    for (int r = 0; r < kTrunkIdUsedRows; ++r)
        plan.trunkIds.push_back({bank, r, file.trunkIds[source][r]});
    int leftOut = 0;
    for (int r = kTrunkIdUsedRows; r < TenBankFile::kIdRows; ++r)
        if (FilledRow(file.trunkIds[source][r])) ++leftOut;
    if (leftOut > 0)
        plan.notes.push_back("Bank " + std::to_string(source + 1) + ": " + std::to_string(leftOut) +
                             " trunk ID rows past row 50 were not imported; the scanner holds 50 "
                             "per bank.");
    return plan;
}

ImportPlan PlanSiblingTrunkIdsAll(const TenBankFile& file) {
    ImportPlan plan;
    for (int b = 0; b < kScannerBanks; ++b) Append(plan, PlanSiblingTrunkIds(file, b, b));
    return plan;
}

std::string SiblingBankCaption(const TenBankFile& file, int source, bool withName) {
    std::string caption = "Bank " + std::to_string(source + 1);
    if (withName) caption += ": " + file.bankTags[source];
    return caption;
}

bool SiblingBankHasChannels(const TenBankFile& file, int source) {
    for (int s = 1; s <= ChannelsPerBank; ++s)
        if (NumericValue(file.channels[source][s][kFieldFrequency]) != 0) return true;
    return false;
}

}  // namespace vex
