// Radio clone (ICF) files: two header lines, then clone data lines of hexadecimal text (four
// digits of address, two of byte count, 32 of data: 38 characters). Data line k after the header
// holds channel k mod 50 + 1 of bank k div 50 ("A" to "H"); line 401 holds the two band edges.
//
// The 16 data bytes of a channel line, by character position (1 = first of the line):
//    7..12  frequency: four MHz digits and two decimals; the last digit also says which 12.5 kHz
//           step the channel sits on (0 -> "00", 1 -> "25", 2 -> "50", 3 -> "75", 6 -> "25",
//           7 -> "50", 8 -> "75" appended). An erased channel begins with "FFF".
//   15..16, 19  tone: "15-16.19" (kept for the viewer)
//   23      mode: 0..3 -> "0", 4..7 -> "1", 8..B -> "2"
//   25, 26  skip and step codes (kept for the viewer)
//   27..38  name: six characters as pairs of hex digits (00 or FF ends it)
// The edge line has the start edge at 7..12 and the end edge at 23..28, written like a channel.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "io/import_plan.h"

namespace vex {

inline constexpr int kIcfBanks = 8;
inline constexpr int kIcfChannels = 50;
inline constexpr int kIcfLineLength = 38;
inline constexpr std::string_view kIcfOpenFilter = "ICF Files|*.icf";
inline constexpr std::string_view kMsgIcfProblemLine = "Problem in datafile line: ";
inline constexpr std::string_view kMsgNotIcf = "This is not an ICF clone file.";
inline constexpr std::string_view kMsgPerconQuestion =
    "This will remove duplicate frequencies from the selected ICF file.\nDo you want to continue?";

struct IcfChannel {
    std::string frequency;  // MHz text ("162.5500"), empty for an empty channel
    std::string name;
    std::string mode;  // "0", "1", "2"
    std::string tone;
    std::string skip;
    std::string step;
};

struct IcfFile {
    bool ok = false;  // false: refused with `message`, nothing to import
    std::string message;
    std::array<std::array<IcfChannel, kIcfChannels>, kIcfBanks> banks;
    std::string edgeStart, edgeEnd;
    std::vector<Diagnostic> problems;  // "Problem in datafile line: N", one per bad line
};

// Reads a clone file's text. A text without any well-formed data line, or with more bad lines
// than good ones, is refused with kMsgNotIcf: it is no clone file.
IcfFile ParseIcf(std::string_view text);

// "Percon Clean": within each bank the first of equal frequencies stays, the others are
// emptied. Returns the number of channels emptied.
int PerconClean(IcfFile& file);

// "Apply": source bank A..H (0..7) into `bank` (0..4 or the Dummy bank). Every channel of the
// destination is written: frequency and name, flags off.
ImportPlan PlanIcfBank(const IcfFile& file, int source, int bank);
// "Import All banks": A..E into banks 1..5.
ImportPlan PlanIcfAll(const IcfFile& file);

// "Bank A".."Bank H".
std::string IcfBankName(int source);

}  // namespace vex
