// The trunk system settings of a bank and how the settings window moves them between the
// records and its controls. The window holds only widgets; this is where its rules live.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/image.h"
#include "trunk/trunk_types.h"

namespace vex {

// Fields of TrunkSetting.
enum TrunkSettingField : int {
    kTsControlChannel = 0,    // Motorola 800: "0" Off, "1".."4" Plan 1..4
    kTsStatusOrIdFormat = 1,  // Motorola: status bit "1"/"0"; EDACS: "0" AFS, "1" Decimal
    kTsEndCode = 2,           // Motorola: "0" Ignore, "1" Detect
    kTsDelay = 5,             // "0" None, "1" two seconds
    kTsFleetMap = 7,          // Motorola 800: "0" Custom, "1".."16" presets, "17" None
};
// Fields of a TrunkBase row in the VHF/UHF band plan.
enum TrunkBaseField : int { kTbFrequency = 0, kTbStep = 1, kTbOffset = 2 };

// What the settings window's controls show. A list position of -1 means no selection. Each
// frame has its own controls and keeps what it last showed when the type changes.
struct TrunkConfigForm {
    int type = -1;  // position in the type list

    // Frame 1, Motorola 800 group.
    int delay800 = -1;
    int endCode800 = -1;
    bool status800 = false;
    int controlChannel = -1;
    int fleetMap = -1;
    std::array<std::string, kFleetMapBlocks> blocks;

    // Frame 2, Motorola VHF/UHF group: rows of frequency, step and offset.
    int delayVhf = -1;
    int endCodeVhf = -1;
    bool statusVhf = false;
    std::array<std::array<std::string, 3>, kTrunkBaseRows> base;

    // Frame 3, EDACS.
    int delayEdacs = -1;
    int idFormat = -1;

    // Frame 4, LTR.
    int delayLtr = -1;

    bool operator==(const TrunkConfigForm&) const = default;
};

// Records to controls for one bank; the records are not changed. A Motorola 800 delay above 0
// shows as "2".
void ShowTrunkBank(const Image& image, int bank, TrunkConfigForm& form);

// Controls to records for one bank: corrects the values in the controls, stores them and clears
// the list selections the way the window does.
void StoreTrunkBank(TrunkConfigForm& form, Image& image, int bank);

// The user picks a type: stored at once; the frame's controls are not reloaded.
void SelectTrunkType(Image& image, int bank, int code, TrunkConfigForm& form);

// The user picks a fleet map entry: a preset fills the block fields, Custom and None do not.
void SelectFleetMap(int position, TrunkConfigForm& form);

// Which block-map controls the window shows for the form's type and fleet-map choice.
bool FleetMapListVisible(int code);                        // type 2 only
bool CustomBlocksVisible(int code, int fleetMapPosition);  // type 2, Custom or no choice

// "clr" and a double click on a block field.
void ClearFleetBlocks(TrunkConfigForm& form);
void ClearFleetBlock(TrunkConfigForm& form, int block);

// The block rules of Store bank: multi-block codes spread over the blocks they occupy, codes
// above 14 become 14.
void NormaliseFleetBlocks(std::array<std::string, kFleetMapBlocks>& blocks);

// The "All" buttons: one value into every scanner bank the button's rule names.
void ApplyDelayToAll(Image& image, int position);
void ApplyEndCodeToAll(Image& image, int position);
void ApplyControlChannelToAll(Image& image, int position);  // banks typed 1, 2, 10, 11
void ApplyIdFormatToAll(Image& image, int position);        // banks typed 6, 7

// "Clear This Bank": settings fields 0..7 and the whole base table emptied; the type stays.
void ClearTrunkBank(Image& image, int bank);

// Base-table number text: m integer digits, a point, (n - m - 1) decimals; "851.0125" with 4, 9
// gives "0851.0125", "12.5" with 3, 6 gives "012.50". Junk after the number is dropped; a value
// too large for m digits gives all nines. Always ends.
std::string FormatBaseNumber(std::string_view text, int integerDigits, int totalLength);

// One VHF/UHF band-plan row corrected for the type (4 UHF, 5 VHF), as Store bank does.
void CorrectBaseRow(int code, std::array<std::string, 3>& row);

}  // namespace vex
