// What typing into a grid cell does: frequency clamps and raster rounding, tag limits, the key
// filters of each column, flag keys, and the help texts of the columns.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/normalise.h"  // kMaxTagLength
#include "settings/options.h"

namespace vex {

struct FrequencyEntry {
    // The frequency cell text after Enter, formatted by the `zero` setting; blank when the
    // entry was empty or 0 (the channel stays empty).
    std::string text;
    bool empty = false;
    // New texts of the trunk, delay and lockout cells (index 0..2 = field ids 3..5) from the
    // default data; nullopt leaves that cell as it is. All nullopt for an empty entry.
    std::array<std::optional<std::string>, 3> flags;
    // What the user is told when the rules stored something else than was typed (a band edge,
    // the raster below); empty otherwise.
    std::string note;
};

// Enter pressed in a frequency cell: a comma is the decimal point; band clamps; the raster check
// (unless `round` is 1) on the value rounded to 100 Hz, with rounding down to 5 kHz; formatting
// by `zero`, and the default-data flags.
FrequencyEntry EnterFrequency(std::string_view typed, const Options& options,
                              const DefaultData& defaults);

// A frequency pasted from the clipboard: clamped into the bands and formatted by `zero`, but not
// moved onto a raster (pasting must not change a value the user copied); blank for 0.
std::string PastedFrequencyText(std::string_view text, const Options& options);

// Only the resulting cell text of EnterFrequency.
std::string EnterFrequencyText(std::string_view typed, const Options& options);

// Enter pressed in a tag cell: cut to 16 characters; double quotes and control characters
// (which would break the file's lines) become spaces.
std::string EnterTag(std::string_view typed);

// Key filters while typing. `c` is the character as Latin-1.
bool AcceptsFrequencyChar(char c);  // digits, "." (or ",") and "-"
// Codes 32..126 except the double quote, and only while the cell holds fewer than 16
// characters (`lengthAfterKey` = length the text would have once the key is taken).
bool AcceptsTagChar(char c, std::size_t lengthAfterKey);

// A key in a flag cell: "0"/"F" -> "Off", "1"/"N" -> "On", space toggles (blank -> "On").
// nullopt for any other key (swallowed).
std::optional<std::string> FlagCellForKey(char key, std::string_view current);
// A flag cell's text from pasted or typed words: "On", "1", "N", "Y", "Yes", "True" give "On";
// "Off", "0", "F", "No", "False" give "Off" (any case); anything else blank.
std::string FlagCellFromText(std::string_view text);
// Double click or space on a flag cell.
std::string ToggleFlagCell(std::string_view current);

// Ctrl+D / Ctrl+U: true when the key moves the channel down, honouring `shiftdir`.
enum class ShiftDirection { Up, Down };
ShiftDirection ShiftDirectionForKey(char key /* 'D' or 'U' */, const Options& options);

// Help bar caption and text of a column, by field id 1..5 (empty for others).
struct ColumnHelp {
    std::string_view caption;
    std::string_view text;
};
ColumnHelp HelpForField(int fieldId);

// The "&Keyboard Shortcuts" message.
std::string KeyboardShortcutsText();

// Captions the window shows.
std::string BankCaption(int bank);                           // "Bank 1".."Bank 5", "Dummy Bank"
std::string TabCaption(int bank, std::string_view bankTag);  // "1: Bank: 1"
std::string WindowTitle(std::string_view fileName);          // "Vexatron for BCT8 - [ x ]"
inline constexpr std::string_view kDummyNotice =
    "Data in dummy bank is for temporary storage only! Data is not saved nor send to the "
    "scanner.";
inline constexpr std::string_view kVirtualControlRunning =
    "Not possible while Virtual Control is running";

}  // namespace vex
