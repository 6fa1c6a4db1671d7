// Which of a bank's trunk settings go over the line, by the bank's trunk type.
#pragma once

#include "trunk/trunk_types.h"

namespace vex {

// The control channel setting ("TC"): the 800 MHz Motorola systems.
inline bool HasControlChannel(int type) {
    return GroupOfType(type) == TrunkGroup::Motorola800;
}
// Base/offset lines: the VHF/UHF Motorola systems.
inline bool HasBaseLines(int type) {
    return GroupOfType(type) == TrunkGroup::MotorolaVhfUhf;
}
// Fleet maps: Motorola Type 1 only.
inline bool HasFleetMap(int type) {
    return type == kTrunkMotorola1 || type == kTrunkMotorola1_Rebanded;
}
// The AFS flag ("AF"): EDACS.
inline bool HasAfsFlag(int type) {
    return GroupOfType(type) == TrunkGroup::Edacs;
}

// "BT" and "TD" are read only for a Motorola system, the one kind of bank that uses them.
inline bool ReadsMotorolaFlags(int type) {
    const TrunkGroup group = GroupOfType(type);
    return group == TrunkGroup::Motorola800 || group == TrunkGroup::MotorolaVhfUhf;
}
// A send also gives them to a bank without a trunk type: the scanner keeps both flags for every
// bank, and so they follow the image whatever type the bank is later given on the scanner.
inline bool SendsMotorolaFlags(int type) {
    return type == kTrunkUnknown || ReadsMotorolaFlags(type);
}

}  // namespace vex
