// Trunk IDs and tags: the rules that bring a typed ID into its system's text form, the key
// filters of the entry fields and the tag helpers shared by the trunk windows.
#pragma once

#include <string>
#include <string_view>

#include "trunk/trunk_types.h"

namespace vex {

inline constexpr std::size_t kTrunkTagLength = 16;

// Each rule returns the stored form of the ID, "0" (or empty, where the system says so) for a
// value that does not fit. Blank input gives an empty ID. Surrounding blanks are ignored, and
// leading zeros never change the value an ID stands for.
std::string NormaliseMotorola2Id(std::string_view text);  // "000000".."065535", "7xxxxx" ICALL
std::string NormaliseMotorola1Id(std::string_view text);  // "NNN-XX" as typed, "ixxxxx" ICALL
std::string NormaliseEdacsId(std::string_view text);      // "AA-FFS", decimal 1..2047, "ixxxxx"
std::string NormaliseLtrId(std::string_view text);        // "AHHUUU"

// The rule of the bank's type; types without a rule return the text unchanged.
std::string NormaliseTrunkId(int trunkType, std::string_view text);

// What the user is told after typing `typed` when the rules stored `stored`: empty when the ID
// was taken as typed (leading zeros aside), otherwise what was stored and why.
std::string TrunkIdEntryNote(std::string_view typed, std::string_view stored);

// What the trunk ID window does to every ID of a bank before leaving it: trim, drop inner
// blanks, then normalise a non-empty ID.
std::string CleanTrunkId(int trunkType, std::string_view text);

// True when the stored ID has the form its type's rule produces ("" and "0" included). Types
// without a rule accept anything.
bool IsStoredTrunkIdValid(int trunkType, std::string_view id);

// Key filters of the "ID:" and "Tag:" fields (character codes as typed).
bool IdKeyAccepted(int trunkType, unsigned char key);
bool TagKeyAccepted(unsigned char key);

// Pasted or imported text made fit for a cell: IDs keep only the characters the ID field
// accepts; tags get a blank for a double quote, ";" for a comma, lose control characters and
// are cut to 16 characters.
std::string SanitiseIdText(int trunkType, std::string_view text);
std::string SanitiseTagText(std::string_view text);

// Tag helpers.
std::string CutTag(std::string_view tag);        // first 16 characters
std::string AlignTagLeft(std::string_view tag);  // first 16 characters, trimmed
std::string CenterTag(std::string_view tag);     // trimmed, then centred in 16 with leading blanks

// Row label of ID row r (0-based): "1-1" .. "5-10".
std::string TrunkRowLabel(int row);

}  // namespace vex
