// The trunked-system types a bank can hold, the lists the trunk windows offer and the ID text
// form that belongs to each type.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vex {

// Codes stored in TrunkType; each is also the entry's position in the type list.
enum TrunkTypeCode : int {
    kTrunkUnknown = 0,
    kTrunkMotorola2_800 = 1,
    kTrunkMotorola1 = 2,
    kTrunkMotorola2_900 = 3,
    kTrunkMotorola2_Uhf = 4,
    kTrunkMotorola2_Vhf = 5,
    kTrunkEdacsWide = 6,
    kTrunkEdacsNarrow = 7,
    kTrunkLtr = 8,
    kTrunkEdacsSct = 9,
    kTrunkMotorola2_Rebanded = 10,
    kTrunkMotorola1_Rebanded = 11,
};
inline constexpr int kTrunkTypeListSize = 12;

// The type list exactly as the settings window shows it.
const std::array<std::string, kTrunkTypeListSize>& TrunkTypeNames();

// The numeric value of a stored TrunkType text (empty counts as 0).
int TrunkTypeOf(std::string_view storedType);

// Which settings a type's records carry. Codes 3 and 7 have no frame of their own in the window,
// but keep the settings of the group they belong to.
enum class TrunkGroup { None, Motorola800, MotorolaVhfUhf, Edacs, Ltr };
TrunkGroup GroupOfType(int code);

// The settings frame the window shows for a type (none for 0, 3, 7 and unknown codes).
enum class TrunkFrame { None, Motorola800, MotorolaVhfUhf, Edacs, Ltr };
TrunkFrame FrameOfType(int code);

// Entries of the other lists of the settings window, in order (stored value = position).
const std::array<std::string, 5>& ControlChannelEntries();  // "Off", "Plan 1".."Plan 4"
const std::array<std::string, 2>& EndCodeEntries();         // "Ignore", "Detect"
const std::array<std::string, 2>& DelayEntries();           // "None", "2"
const std::array<std::string, 2>& IdFormatEntries();        // "AFS", "Decimal"

// Fleet map list: "Custom", "Preset 1 - E1P1" .. "Preset 16 - E1P16", "None".
inline constexpr int kFleetMapCustom = 0;
inline constexpr int kFleetMapPresets = 16;
inline constexpr int kFleetMapNone = 17;
inline constexpr int kFleetMapBlocks = 8;
inline constexpr int kFleetMapMaxCode = 14;
const std::array<std::string, kFleetMapNone + 1>& FleetMapEntries();

// Size codes of the eight blocks of preset 1..16.
using FleetMapBlocks = std::array<int, kFleetMapBlocks>;
const FleetMapBlocks& FleetMapPreset(int preset);

// How IDs of a type are written and typed.
enum class IdRule { None, Motorola2, Motorola1, Edacs, Ltr };
struct IdFormat {
    IdRule rule = IdRule::None;
    std::string heading;  // "Motorola Type 2", "Motorola Type 1", "Edacs", "LT" or empty
    std::string hint;     // the format hint; empty for types whose hint leaves the previous one
};
IdFormat IdFormatOfType(int code);

}  // namespace vex
