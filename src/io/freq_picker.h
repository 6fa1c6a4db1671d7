// "Advanced Data Import": picking frequencies out of any text (CSV, tab-separated, plain text,
// a web page) and writing the chosen ones into consecutive channels of a bank.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io/import_plan.h"

namespace vex {

// The frequencies in a text, in order of first appearance, each once: the text is cut at
// ",", "-", ">", ";", line breaks, spaces and tabs; a token whose first "." has a digit on both
// sides gives the digits around that point, cut to 15 characters, when its value is above 0.
std::vector<std::string> FindFrequencies(std::string_view text);

inline constexpr int kMaxSimpleImport = 100;
inline constexpr std::string_view kMsgNothingSelected = "You did not select any frequencies.";

// "Export To Table:": at most 100 entries into the frequency field of channels start,
// start + 1, ... of `bank`. An entry outside the scanner's bands is skipped (not clamped to a
// band edge) and takes no channel; entries past the bank's last channel are not imported. Both
// are said in the plan's notes.
ImportPlan PlanSimpleImport(const std::vector<std::string>& selected, int bank, int start);

// The read-only box beside the start channel: the absolute channel number it stands for.
int AbsoluteStartChannel(int bank, int start);

// What the left list becomes as a file ("vexa import --found"), one entry a line, CR LF.
std::string FoundListText(const std::vector<std::string>& found);

}  // namespace vex
