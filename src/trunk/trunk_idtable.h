// The trunk ID window's working copy of the ID table and the commands it runs on one bank.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/image.h"

namespace vex {

// Fields the ID window carries: ID, tag and the third text. Field 3 stays in the table.
inline constexpr int kTrunkIdWindowFields = 3;
enum TrunkIdField : int { kTidId = 0, kTidTag = 1, kTidThird = 2, kTidFourth = 3 };

using TrunkIdBankRows = std::array<TrunkIdRow, kTrunkIdRows>;
using TrunkIdWorkingCopy = std::array<TrunkIdBankRows, kTrunkIdBanks>;

// Fields 0..2 of every bank and row; field 3 is left empty in the copy.
TrunkIdWorkingCopy LoadTrunkIdCopy(const Image& image);

// "Ok": double quotes in tags become blanks, then fields 0..2 of banks 0..4 go back into the
// table. Field 3 and the Dummy bank of the table are not touched.
void WriteBackTrunkIdCopy(TrunkIdWorkingCopy& copy, Image& image);

// Trim, drop inner blanks and normalise every ID of a bank's 50 rows by the bank's type.
void NormaliseTrunkIdBank(TrunkIdBankRows& rows, int trunkType);

enum class TrunkSortKey { Id, Tag };
// Reorders the 50 rows (the whole row moves). IDs by numeric value, tags by text ignoring
// case; rows with an empty key go last either way; equal keys keep their order.
void SortTrunkIdRows(TrunkIdBankRows& rows, TrunkSortKey key, bool ascending);

// Row commands on the 50 used rows; each returns false and changes nothing when the row does
// not allow it.
bool RemoveTrunkIdRow(TrunkIdBankRows& rows, int row);  // later rows move up
bool InsertTrunkIdRow(TrunkIdBankRows& rows, int row);  // later rows move down, last row lost
bool MoveTrunkIdRowUp(TrunkIdBankRows& rows, int row);
bool MoveTrunkIdRowDown(TrunkIdBankRows& rows, int row);

// Tag commands over the 50 rows.
void AlignTrunkTagsLeft(TrunkIdBankRows& rows);
void CenterTrunkTags(TrunkIdBankRows& rows);

// A rectangle of the window's grid: rows 0..49, columns 0 (ID) and 1 (Tag).
struct TrunkIdCellRange {
    int top = 0, left = 0, bottom = 0, right = 0;
};
inline constexpr int kTrunkIdGridColumns = 2;

// Clipboard text of the range: cells separated by tabs, rows by "\n", carriage returns removed.
std::string CopyTrunkIdCells(const TrunkIdBankRows& rows, TrunkIdCellRange range);
void ClearTrunkIdCells(TrunkIdBankRows& rows, TrunkIdCellRange range);

// Writes clipboard text from (row, column) on, one cell per tab-separated value and one row per
// line; what reaches past row 49 or the Tag column is dropped. IDs keep only the characters the
// ID field accepts and are normalised by the bank's type; tags are made safe and cut to 16.
// Returns the range written (empty optional when nothing was).
std::optional<TrunkIdCellRange> PasteTrunkIdCells(TrunkIdBankRows& rows, int trunkType, int row,
                                                  int column, std::string_view text);

// "Replace Text Tag": first occurrence of `find` in each tag of the 50 rows, exact case; the
// result is cut to 16 characters. An empty `find` replaces nothing. Returns the tags changed.
int ReplaceInTrunkTags(TrunkIdBankRows& rows, std::string_view find, std::string_view replacement);

// One level of undo for the rows of one bank.
class TrunkIdUndo {
  public:
    void save(int bank, const TrunkIdBankRows& rows);
    bool available() const { return d_saved.has_value(); }
    int bank() const { return d_bank; }
    // Puts the saved rows back into the copy; false when nothing is saved.
    bool restore(TrunkIdWorkingCopy& copy);
    void clear() { d_saved.reset(); }

  private:
    int d_bank = 0;
    std::optional<TrunkIdBankRows> d_saved;
};

}  // namespace vex
