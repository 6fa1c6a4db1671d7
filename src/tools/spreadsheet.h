// Clipboard text from spreadsheets (and from this program's grid) in the grid's own form.
#pragma once

#include <string>
#include <string_view>

namespace vex {

struct SpreadsheetText {
    std::string text;  // cells separated by tabs, rows ended by CR
    int rows = 0;
    int widest = 0;  // cells in the longest row
};

// Quoted cells are unwrapped ("" inside is one quote); a tab or line end inside a quoted cell
// becomes a space. Rows end at CR LF, CR or LF; a line end at the very end adds no row.
SpreadsheetText FromSpreadsheet(std::string_view clipboard);

// Says which part of a paste did not fit the grid (rows past 50, columns past Lock Out); empty
// when everything was written.
std::string PasteLeftOutMessage(const SpreadsheetText& cells, int rowsWritten, int firstField);

}  // namespace vex
