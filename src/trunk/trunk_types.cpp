#include "trunk/trunk_types.h"

#include "core/numeric.h"

namespace vex {
namespace {

std::string EdacsHint() {
    return "AFS: AA-FFS where  AA= Agency (00-15)  FF= Fleet (00-15)  S= Subfleet (0-7) or "
           "decimal (0-2047)  ICALL= i-----";
}

}  // namespace

const std::array<std::string, kTrunkTypeListSize>& TrunkTypeNames() {
    static const std::array<std::string, kTrunkTypeListSize> names{
        "Unknown",
        "Motorola Type 2 - 800 MHz",
        "Motorola Type 1 ",
        " * Motorola Type 2 - 900 MHz",
        "Motorola Type 2 - UHF",
        "Motorola Type 2 - VHF",
        "Edacs Wide",
        "* Edacs Narrow",
        "LT",
        "Edacs SCT",
        "Motorola Type 2 - Rebanded",
        "Motorola Type 1 - Rebanded",
    };
    return names;
}

int TrunkTypeOf(std::string_view storedType) {
    return IntegerValue(storedType);
}

TrunkGroup GroupOfType(int code) {
    switch (code) {
        case kTrunkMotorola2_800:
        case kTrunkMotorola1:
        case kTrunkMotorola2_900:
        case kTrunkMotorola2_Rebanded:
        case kTrunkMotorola1_Rebanded:
            return TrunkGroup::Motorola800;
        case kTrunkMotorola2_Uhf:
        case kTrunkMotorola2_Vhf:
            return TrunkGroup::MotorolaVhfUhf;
        case kTrunkEdacsWide:
        case kTrunkEdacsNarrow:
        case kTrunkEdacsSct:
            return TrunkGroup::Edacs;
        case kTrunkLtr:
            return TrunkGroup::Ltr;
        default:
            return TrunkGroup::None;
    }
}

TrunkFrame FrameOfType(int code) {
    switch (code) {
        case kTrunkMotorola2_800:
        case kTrunkMotorola1:
        case kTrunkMotorola2_Rebanded:
        case kTrunkMotorola1_Rebanded:
            return TrunkFrame::Motorola800;
        case kTrunkMotorola2_Uhf:
        case kTrunkMotorola2_Vhf:
            return TrunkFrame::MotorolaVhfUhf;
        case kTrunkEdacsWide:
        case kTrunkEdacsSct:
            return TrunkFrame::Edacs;
        case kTrunkLtr:
            return TrunkFrame::Ltr;
        default:
            return TrunkFrame::None;
    }
}

const std::array<std::string, 5>& ControlChannelEntries() {
    static const std::array<std::string, 5> entries{"Off", "Plan 1", "Plan 2", "Plan 3", "Plan 4"};
    return entries;
}

const std::array<std::string, 2>& EndCodeEntries() {
    static const std::array<std::string, 2> entries{"Ignore", "Detect"};
    return entries;
}

const std::array<std::string, 2>& DelayEntries() {
    static const std::array<std::string, 2> entries{"None", "2"};
    return entries;
}

const std::array<std::string, 2>& IdFormatEntries() {
    static const std::array<std::string, 2> entries{"AFS", "Decimal"};
    return entries;
}

const std::array<std::string, kFleetMapNone + 1>& FleetMapEntries() {
    static const std::array<std::string, kFleetMapNone + 1> entries = [] {
        std::array<std::string, kFleetMapNone + 1> list;
        list[kFleetMapCustom] = "Custom";
        for (int n = 1; n <= kFleetMapPresets; ++n) {
            list[n] = "Preset " + std::to_string(n) + " - E1P" + std::to_string(n);
        }
        list[kFleetMapNone] = "None";
        return list;
    }();
    return entries;
}

const FleetMapBlocks& FleetMapPreset(int preset) {
    static const std::array<FleetMapBlocks, kFleetMapPresets + 1> presets{{
        {0, 0, 0, 0, 0, 0, 0, 0},  // not a preset
        {11, 11, 11, 11, 11, 11, 11, 11},
        {4, 4, 4, 4, 4, 4, 4, 4},
        {4, 4, 4, 4, 4, 4, 12, 12},
        {12, 12, 4, 4, 4, 4, 4, 4},
        {4, 4, 12, 12, 4, 4, 4, 4},
        {3, 10, 4, 4, 12, 12, 12, 12},
        {10, 10, 11, 4, 4, 4, 4, 4},
        {1, 1, 2, 2, 3, 3, 4, 4},
        {4, 4, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 4, 4},
        {4, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 0, 4},
        {3, 3, 11, 4, 4, 0, 0, 0},
        {4, 3, 10, 4, 4, 4, 12, 12},
        {4, 4, 4, 11, 11, 0, 12, 12},
        {3, 10, 10, 11, 0, 0, 12, 12},
    }};
    if (preset < 1 || preset > kFleetMapPresets) return presets[0];
    return presets[preset];
}

IdFormat IdFormatOfType(int code) {
    switch (code) {
        case kTrunkMotorola2_800:
        case kTrunkMotorola2_900:
        case kTrunkMotorola2_Uhf:
        case kTrunkMotorola2_Vhf:
            return {IdRule::Motorola2, "Motorola Type 2",
                    "ID: 00000-65535     ICALL = 7----- OR i-----"};
        case kTrunkMotorola1:
            return {IdRule::Motorola1, "Motorola Type 1", "ID: NNN-XX      ICALL = i-----"};
        case kTrunkEdacsWide:
        case kTrunkEdacsNarrow:
            return {IdRule::Edacs, "Edacs", EdacsHint()};
        case kTrunkEdacsSct:
            // SCT IDs get the EDACS heading and hint but are taken as typed.
            return {IdRule::None, "Edacs", EdacsHint()};
        case kTrunkLtr:
            return {IdRule::Ltr, "LT",
                    "AHHUUU where  A= Area Code (0-1)  HH= Home Repeater (01-20)  UUU = User ID "
                    "(000-254)"};
        default:
            return {IdRule::None, "", ""};
    }
}

}  // namespace vex
