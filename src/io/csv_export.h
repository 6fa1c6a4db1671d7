// "Export CSV data": the channel table, the search/edge data or the trunk ID tables as
// comma-separated text with CR LF line ends.
#pragma once

#include <string>
#include <string_view>

#include "core/image.h"

namespace vex {

enum class CsvExportChoice {
    CurrentBank,
    AllBanks,
    SearchEdge,
    TrunkIdsCurrentBank,
    TrunkIdsAllBanks,
};

inline constexpr std::string_view kChannelCsvHeader =
    "Bank,Channel,Frequency,Tag,Trunk,Delay Time,Lockout";
inline constexpr std::string_view kTrunkIdCsvHeader = "Index,ID,Tag";
inline constexpr std::string_view kSearchCsvHeader = "Start,End,Tag,Mode,Step";
inline constexpr std::string_view kCsvSaveFilter = "Comma Separated Files (*.csv)";

// The whole file for a choice; `currentBank` is the bank index the main window shows (0..5).
// "All banks" runs over bank indexes 0..9, the ones the image lacks (and the editor-only Dummy
// bank) as empty channels.
std::string ExportCsv(const Image& image, CsvExportChoice choice, int currentBank);

// One channel line ("Empty,,,,," for an empty channel).
std::string ChannelCsvLine(const Image& image, int bank, int slot);

// A text value made safe for one field: "," and ";" become a space, line breaks too, and a
// value a spreadsheet would run as a formula ("=", "+", "@" first) gets a leading "'".
std::string CsvSafeText(std::string_view text);

// The save dialog's suffix rule: ".CSV" is appended unless the name holds ".CSV" or ".csv".
std::string WithCsvSuffix(std::string_view name);

}  // namespace vex
