// The CSV channel import: reads the channel export back, and spreadsheets shaped like it, by
// header name (any case, any order, any missing): Frequency, Tag, Trunk, Delay, Lockout, Bank,
// Channel. The separator is "," or ";" (whichever the header line holds more of; with ";" a
// comma in a frequency is a decimal comma); fields may be
// in double quotes ("" inside stands for one quote).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io/import_plan.h"

namespace vex {

inline constexpr std::string_view kCsvChannelOpenFilter =
    "Comma Separated Files|*.csv|Text Files|*.txt|All Files|*.*";
inline constexpr std::string_view kMsgNoFrequencyColumn =
    "No \"Frequency\" column was found in the first lines of the file.";
inline constexpr std::string_view kMsgNoChannels = "The file holds no channel lines.";

struct CsvChannelImport {
    bool ok = false;
    std::string message;  // why the file was refused when !ok
    ImportPlan plan;
    std::vector<Diagnostic> problems;  // lines not imported, and why
};

// Where a line goes: "Channel" when given (1..50 with "Bank" is a slot of that bank, otherwise
// the absolute number), else the channel after the previous line's ("Empty" lines of the export
// count too), starting at bank 1 channel 1. Missing columns give an empty tag and flags off.
CsvChannelImport ParseCsvChannels(std::string_view text);

// One line split into fields with the given separator. Blanks are kept (a centred tag keeps
// its spaces); numbers and switches are read leniently anyway.
std::vector<std::string> SplitCsvLine(std::string_view line, char separator);

}  // namespace vex
