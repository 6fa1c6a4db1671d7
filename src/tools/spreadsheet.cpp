#include "tools/spreadsheet.h"

#include <algorithm>

#include "mainwin/grid.h"

namespace vex {

SpreadsheetText FromSpreadsheet(std::string_view in) {
    SpreadsheetText out;
    out.text.reserve(in.size());
    int cells = 1;
    bool rowOpen = false;
    auto endRow = [&] {
        out.text += '\r';
        out.widest = std::max(out.widest, cells);
        cells = 1;
        rowOpen = false;
    };
    std::size_t i = 0;
    bool cellStart = true;
    while (i < in.size()) {
        const char c = in[i];
        if (cellStart && c == '"') {
            // A quoted cell runs to the quote that is not doubled.
            std::size_t j = i + 1;
            std::string cell;
            bool closed = false;
            while (j < in.size()) {
                if (in[j] == '"') {
                    if (j + 1 < in.size() && in[j + 1] == '"') {
                        cell += '"';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                cell += (in[j] == '\t' || in[j] == '\r' || in[j] == '\n') ? ' ' : in[j];
                ++j;
            }
            if (closed) {
                out.text += cell;
                rowOpen = true;
                cellStart = false;
                i = j;
                continue;
            }
            // An opening quote without its end is an ordinary character.
        }
        cellStart = false;
        if (c == '\t') {
            out.text += '\t';
            ++cells;
            cellStart = true;
            rowOpen = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') ++i;
            endRow();
            cellStart = true;
        } else {
            out.text += c;
            rowOpen = true;
        }
        ++i;
    }
    if (rowOpen) endRow();
    // Empty rows at the end carry nothing, and the grid's paste needs no end after the last row.
    while (!out.text.empty() && out.text.back() == '\r') out.text.pop_back();
    out.rows = out.text.empty()
                   ? 0
                   : static_cast<int>(std::count(out.text.begin(), out.text.end(), '\r')) + 1;
    if (out.rows == 0) out.widest = 0;
    return out;
}

std::string PasteLeftOutMessage(const SpreadsheetText& cells, int rowsWritten, int firstField) {
    const int rows = std::max(0, cells.rows - rowsWritten);
    const int columns = std::max(0, firstField + cells.widest - 1 - kGridColumns);
    if (rows == 0 && columns == 0) return {};
    auto count = [](int n, const char* one, const char* many) {
        return std::to_string(n) + ' ' + (n == 1 ? one : many);
    };
    std::string text = "Part of the pasted text did not fit from this cell on and was left out: ";
    if (rows > 0) text += count(rows, "row", "rows");
    if (rows > 0 && columns > 0) text += " and ";
    if (columns > 0) text += count(columns, "column", "columns");
    return text + '.';
}

}  // namespace vex
