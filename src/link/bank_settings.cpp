#include "link/bank_settings.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/numeric.h"
#include "link/trunk_groups.h"
#include "trunk/trunk_types.h"

namespace vex {
std::vector<WireLine> BankSettingCommands(const Image& image, int b) {
    const auto bank = static_cast<std::size_t>(b);
    const auto& setting = image.TrunkSetting[bank];
    const int type = TrunkTypeOf(image.TrunkType[bank]);
    std::vector<WireLine> lines;
    lines.push_back({ChannelReadCommand(b * ChannelsPerBank + 1)});
    lines.push_back({BankSelectCommand(b)});
    for (WireLine& line : TrunkTypeCommands(b, type, false, &image.TrunkBase[bank]))
        lines.push_back(std::move(line));
    lines.push_back({BankSelectCommand(b)});
    auto add = [&lines](const std::optional<std::string>& command) {
        if (command) lines.push_back({*command});
    };
    if (SendsMotorolaFlags(type)) {
        add(FlagCommand("BT", setting[1]));
        add(FlagCommand("TD", setting[2]));
    } else if (HasAfsFlag(type)) {
        add(FlagCommand("AF", setting[1]));
    }
    if (HasControlChannel(type)) add(ControlChannelCommand(b, setting[0]));
    if (HasFleetMap(type) && IntegerValue(setting[7]) != kFleetMapNone) {
        const int preset = setting[7].empty() ? -1 : IntegerValue(setting[7]);
        for (int k = 0; k < kFleetMapBlocks; ++k) {
            const auto block = static_cast<std::size_t>(k);
            const int code = preset >= 1 && preset <= kFleetMapPresets
                                 ? FleetMapPreset(preset)[block]
                                 : IntegerValue(image.TrunkBase[bank][0][block]);
            lines.push_back({FleetMapBlockCommand(b, k, std::clamp(code, 0, kFleetMapMaxCode))});
        }
    }
    return lines;
}

}  // namespace vex
