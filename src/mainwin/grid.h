// The main window's grid as plain text cells, and the transfer between it and the channel table.
// The grid shows one bank: rows 1..50 are the bank's slots, columns 1..5 are the channel fields
// 1..5 (frequency, tag, trunk, delay, lockout). Cells hold exactly the text the window shows.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/image.h"
#include "settings/options.h"

namespace vex {

class EasyTagLists;

// Field ids of the grid columns; they equal the channel field indices.
enum GridField : int {
    kGridFrequency = 1,
    kGridTag = 2,
    kGridTrunk = 3,
    kGridDelay = 4,
    kGridLockout = 5,
};
inline constexpr int kGridColumns = 5;

// Header captions of columns 1..5 (index 0 unused).
inline constexpr std::array<std::string_view, kGridColumns + 1> kColumnCaptions{
    "", "Freq. (MHz)", "Tag", "Trunk", "Delay", "Lock Out"};

// The field id whose header caption is `caption`, 0 when none matches.
int FieldIdForCaption(std::string_view caption);

struct GridBank {
    // cells[row][field], rows 1..50, fields 1..5; index 0 unused in both.
    std::array<std::array<std::string, kGridColumns + 1>, ChannelsPerBank + 1> cells;

    std::string& cell(int row, int field) { return cells[row][field]; }
    const std::string& cell(int row, int field) const { return cells[row][field]; }
    void clear();
    bool operator==(const GridBank&) const = default;
};

// Outcome of a transfer: refused when the bank index is not a bank of the image.
struct GridResult {
    bool ok = true;
    std::string message;  // the text to show (after a beep) when !ok
    explicit operator bool() const { return ok; }
};

inline constexpr std::string_view kStoreGridError = "Create error, click tabs and try again.";
inline constexpr std::string_view kShowBankError = "convert error";

// True for the bank indices the grid can show (0..5; the Dummy bank included).
bool IsGridBank(int bank);

// Fills `grid` from the table for `bank`: an empty channel is a blank row; the frequency in the
// form the `zero` setting asks for; flags "On"/"Off"/blank. Tags are offered to `tags` when
// given and option9 is 1. On refusal the grid is left as it was.
GridResult ShowBank(const Image& image, int bank, const Options& options, GridBank& grid,
                    EasyTagLists* tags = nullptr);

// Convenience form: a fresh grid for the bank (blank when refused).
GridBank ShowBank(const Image& image, int bank, const Options& options);

// Copies the grid back into the table for `bank`: empty frequency -> "0", re-formatted by the
// `zero` setting, above 1300 -> "1300"; for non-empty channels "On"/"Off" -> "1"/"0" (a blank
// trunk cell -> "0"). Fields 0 and 6 of the table are kept. Tags are offered to `tags` when
// given and option9 is 1. On refusal the table is left as it was. With `rows`, only the rows
// marked true are stored.
using GridRows = std::array<bool, ChannelsPerBank + 1>;
GridResult StoreGrid(const GridBank& grid, Image& image, int bank, const Options& options,
                     EasyTagLists* tags = nullptr, const GridRows* rows = nullptr);

// Grid text of a table flag: "On" for "1", "Off" for "0", blank otherwise.
std::string FlagCellText(std::string_view tableFlag);

// Frequency cell text of a stored frequency as the grid shows it (blank for an empty channel).
std::string FrequencyCellText(std::string_view stored, const Options& options);

}  // namespace vex
