// The table commands of the main window's Edit and Options menus as plain functions over the
// image (line, bank and sort commands) or over the grid (cell commands). The window stores the
// grid, asks any question, takes the undo snapshot, runs the command and shows the bank again;
// TableEditor (editor.h) does exactly that sequence for it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/image.h"
#include "core/question.h"
#include "mainwin/cellentry.h"
#include "mainwin/grid.h"
#include "settings/options.h"

namespace vex {

// The block the user selected in the grid: rows 1..50, field ids 1..5, inclusive; plus the
// current cell. Callers may pass the corners in any order; Normalised() orders and clamps them.
struct Selection {
    int firstRow = 1;
    int lastRow = 1;
    int firstField = 1;
    int lastField = 1;
    int currentRow = 1;
    int currentField = 1;

    static Selection cell(int row, int field);
    static Selection rows(int first, int last);  // whole rows, fields 1..5
    Selection normalised() const;
    bool singleRow() const { return firstRow == lastRow; }
    bool operator==(const Selection&) const = default;
};

// --- Questions (nullopt when none is to be asked) ---
inline constexpr std::string_view kAreYouSure = "Are you sure?";
std::optional<Question> ClearLinesQuestion(const Options& options);   // skipped when expert 1
std::optional<Question> RemoveLinesQuestion(const Options& options);  // skipped when expert 1
Question ClearBankQuestion();
// "Channel N contains data..." when slot 50 of the bank holds a channel.
std::optional<Question> InsertLineQuestion(const Image& image, int bank);
// The EDACS warning when the bank's trunk type is "6" (or "7" with option6 0) and a channel
// of the bank has its trunk flag set.
std::optional<Question> SortQuestion(const Image& image, int bank, const Options& options);

// --- Line and bank commands on the table. Each returns true when it changed the table. ---
// An emptied channel takes the form EmptyChannel gives it; field 0 (the slot's absolute
// number) is never touched by these commands.

bool ClearLines(Image& image, int bank, int firstRow, int lastRow);
// Moves current row..49 one down (slot 50 is lost) and leaves the current row empty
// (frequency "Empty", other fields " ").
bool InsertEmptyLine(Image& image, int bank, int row);
// Non-empty channels move up in their order; empty ones go to the end.
bool RemoveEmptyLines(Image& image, int bank);
// Removes rows first..last; the following channels move up, the freed slots become empty.
bool RemoveLines(Image& image, int bank, int firstRow, int lastRow);
// Exchanges the channel at `row` with its neighbour. Returns the row the channel is now at
// (unchanged when it cannot move).
int ShiftChannel(Image& image, int bank, int row, ShiftDirection direction);
bool ClearBank(Image& image, int bank);
// Cuts each tag to 16, trims it, centres a shorter non-empty tag by leading spaces.
bool CenterTags(Image& image, int bank);
bool RemoveLeadingSpaces(Image& image, int bank);

enum class SortOrder { Ascending, Descending };
// Stable sort by numeric frequency of rows first..last (a single row means the whole bank);
// empty channels last in both orders; fields 1..6 move together.
bool SortBank(Image& image, int bank, Selection selection, SortOrder order);

// "Show Bank Empty Status": "\nBank Empty Status:" and a line per empty bank.
std::string BankEmptyStatusText(const Image& image);

// --- Duplicates ---
enum class DuplicateScope { CurrentBank, AllBanks };
// Report lines "Duplicate Channel Found: a and b / Frequency: f". All banks compares the 250
// scanner channels with every later channel, the Dummy bank's channels (251..300) included.
std::vector<std::string> FindDuplicates(const Image& image, int bank, DuplicateScope scope);
// Writes the lines to dupl.txt in `folder` (CR LF, replacing any earlier report).
WriteResult WriteDuplicateReport(const std::filesystem::path& folder,
                                 const std::vector<std::string>& lines);
inline constexpr std::string_view kDuplicateReportName = "dupl.txt";
// Empties every later channel of the bank whose frequency text equals an earlier one's.
bool RemoveDuplicates(Image& image, int bank);

// --- Cell commands on the grid. Each returns true when it changed a cell. ---

bool DeleteCells(GridBank& grid, Selection selection);
// The selected cells as tab-separated text, rows separated by CR.
std::string CopyCells(const GridBank& grid, Selection selection);
// Whole rows (fields 1..5) of the selection.
std::string CopyLines(const GridBank& grid, Selection selection);
// Writes tab-separated text into the grid from (row, field) on; rows may end in CR, CR LF or
// LF (a trailing line end adds no row). Each cell is taken as the editor takes typed text
// (frequency clamps and rounding, tag cut to 16, flag words); cells past row 50 or field 5 are
// dropped. Returns the number of rows written.
int PasteCells(GridBank& grid, int row, int field, std::string_view text, const Options& options);
// Fill Down: the first selected row's cells copied down each selected column.
bool FillDown(GridBank& grid, Selection selection);

// Fill Series: only for a selection within the tag column whose first tag ends in a number.
enum class FillSeriesOutcome { Filled, NotTagColumn, NoNumber };
FillSeriesOutcome FillSeries(GridBank& grid, Selection selection);
inline constexpr std::string_view kFillSeriesNeedsTagColumn =
    "Fill Series works on a selection in the Tag column.";
inline constexpr std::string_view kFillSeriesNeedsNumber =
    "Fill Series needs a first tag that ends in a number.";
// The tag for the k-th row after the first (k >= 1) of a series starting at `firstTag`;
// nullopt when the tag does not end in a digit. The whole trailing number counts and the
// number keeps the width of the first one ("TAG009" -> "TAG010").
std::optional<std::string> SeriesTag(std::string_view firstTag, long long k);

}  // namespace vex
