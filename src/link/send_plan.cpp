#include "link/send_plan.h"

#include <string>
#include <vector>

#include "link/bank_settings.h"
#include "link/protocol.h"

namespace vex {
namespace {

// The wire form decides: "162.55" and "0162.5500" reach the scanner alike. A frequency the
// scanner cannot take counts as changed, so the send's own check reports it.
bool ChannelDiffers(const Channel& held, const Channel& now) {
    const auto heldWire = WireFrequency(held[kFieldFrequency]);
    const auto nowWire = WireFrequency(now[kFieldFrequency]);
    if (!heldWire || !nowWire || *heldWire != *nowWire) return true;
    if (FlagOn(held[kFieldTrunk]) != FlagOn(now[kFieldTrunk])) return true;
    // An empty channel is written without its lockout and delay.
    if (*nowWire == kEmptyWireFrequency) return false;
    return FlagOn(held[kFieldLockout]) != FlagOn(now[kFieldLockout]) ||
           FlagOn(held[kFieldDelay]) != FlagOn(now[kFieldDelay]);
}

std::string Count(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

int SendPlan::bankCount() const {
    int n = 0;
    for (bool b : bankSettings) n += b ? 1 : 0;
    return n;
}

bool SendPlan::hasTrunkIdsIn(int bank) const {
    for (int row = 0; row < kTrunkIdUsedRows; ++row)
        if (hasTrunkId(bank, row)) return true;
    return false;
}

SendPlan PlanChanges(const Image& held, const Image& image) {
    SendPlan plan;
    for (int b = 0; b < kScannerBanks; ++b) {
        const auto bank = static_cast<std::size_t>(b);
        for (int s = 1; s <= ChannelsPerBank; ++s)
            if (ChannelDiffers(held.channel(b, s), image.channel(b, s)))
                plan.channels[static_cast<std::size_t>(AbsoluteChannel(b, s))] = true;
        // Only what the settings commands carry: the rest of a bank's settings stays here.
        plan.bankSettings[bank] = BankSettingCommands(held, b) != BankSettingCommands(image, b);
        for (int row = 0; row < kTrunkIdUsedRows; ++row)
            if (held.TrunkId[bank][static_cast<std::size_t>(row)][0] !=
                image.TrunkId[bank][static_cast<std::size_t>(row)][0])
                plan.trunkIds[bank * kTrunkIdUsedRows + static_cast<std::size_t>(row)] = true;
    }
    return plan;
}

std::string DescribePlan(const SendPlan& plan) {
    std::vector<std::string> parts;
    if (plan.channelCount() > 0) parts.push_back(Count(plan.channelCount(), "channel", "channels"));
    if (plan.bankCount() > 0)
        parts.push_back("the trunk settings of " + Count(plan.bankCount(), "bank", "banks"));
    if (plan.trunkIdCount() > 0)
        parts.push_back(Count(plan.trunkIdCount(), "trunk ID", "trunk IDs"));
    if (parts.empty()) return "nothing";
    std::string text = parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i)
        text += (i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text;
}

}  // namespace vex
