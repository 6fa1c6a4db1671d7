#include "io/csv_mapper.h"

#include <algorithm>

namespace vex {
namespace {

bool Dropped(unsigned char c) {
    return c < 10 || (c >= 14 && c <= 29) || c >= 128;
}

// Splits one line at commas; a cell that begins with a double quote and has its closing quote
// before a comma or the line end is taken without the quotes, its commas made ";" so the saved
// file keeps the cell whole.
std::vector<std::string> SplitCells(std::string_view line) {
    std::vector<std::string> cells;
    std::size_t pos = 0;
    while (true) {
        std::string cell;
        if (pos < line.size() && line[pos] == '"') {
            std::size_t close = pos + 1;
            while (true) {
                close = line.find('"', close);
                if (close == std::string_view::npos) break;
                if (close + 1 == line.size() || line[close + 1] == ',') break;
                ++close;
            }
            if (close != std::string_view::npos) {
                cell.assign(line.substr(pos + 1, close - pos - 1));
                std::replace(cell.begin(), cell.end(), ',', ';');
                cells.push_back(std::move(cell));
                pos = close + 1;
                if (pos >= line.size()) break;
                ++pos;  // the comma
                continue;
            }
        }
        const std::size_t comma = line.find(',', pos);
        const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
        cells.emplace_back(line.substr(pos, end - pos));
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
    }
    return cells;
}

bool HasDigit(const std::vector<std::string>& row) {
    for (const std::string& cell : row)
        if (std::any_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return true;
    return false;
}

bool AllEmpty(const std::vector<std::string>& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& c) { return c.empty(); });
}

}  // namespace

std::string NormaliseMapperLine(std::string_view line) {
    struct Rule {
        std::string_view from, to;
        bool needsEnd;  // a comma or the line end must follow (the rule's own text has none)
    };
    static constexpr Rule kRules[] = {
        {",fm,", ",FM,", false}, {",am,", ",AM,", false}, {",wfm,", ",WFM,", false},
        {",OFF", ",Off", true},  {",ON", ",On", true},
    };
    std::string out(line);
    for (const Rule& rule : kRules) {
        std::size_t pos = 0;
        while ((pos = out.find(rule.from, pos)) != std::string::npos) {
            const std::size_t after = pos + rule.from.size();
            if (rule.needsEnd && after < out.size() && out[after] != ',') {
                pos = after;
                continue;
            }
            out.replace(pos, rule.from.size(), rule.to);
            // The trailing comma of ",fm," may open the next match.
            pos = rule.needsEnd ? after : after - 1;
        }
    }
    return out;
}

MapperOpenResult OpenMapperText(std::string_view bytes) {
    MapperOpenResult result;
    MapperGrid& grid = result.grid;
    std::string line;
    std::size_t pos = 0;
    const std::size_t size = bytes.size();
    const auto addLine = [&] {
        grid.rows.push_back(SplitCells(NormaliseMapperLine(line)));
        grid.columns = std::max(grid.columns, static_cast<int>(grid.rows.back().size()));
        line.clear();
    };
    while (pos < size) {
        const auto c = static_cast<unsigned char>(bytes[pos++]);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && pos < size && bytes[pos] == '\n') ++pos;
            if (grid.rowCount() == kMapperMaxLines) {
                result.tooLarge = true;
                break;
            }
            addLine();
            continue;
        }
        if (c == '\t')
            line += ' ';
        else if (!Dropped(c))
            line += static_cast<char>(c);
    }
    if (!result.tooLarge && !line.empty()) {
        if (grid.rowCount() == kMapperMaxLines)
            result.tooLarge = true;
        else
            addLine();
    }
    for (auto& row : grid.rows) row.resize(static_cast<std::size_t>(grid.columns));
    GuessColumnTypes(grid);
    return result;
}

int GuessColumnType(std::string_view header) {
    struct Guess {
        std::string_view text;
        int type;
    };
    static constexpr Guess kGuesses[] = {
        {"FREQ", 1}, {"Frequency", 1}, {"(MHz)", 1}, {"tgid", 2},  {"ID", 2},  {"DPL", 12},
        {"PL", 11},  {"CSQ", 11},      {"TSQL", 11}, {"TONE", 11}, {"AM", 9},  {"FM", 9},
        {"NFM", 9},  {"WFM", 9},       {"Mode", 9},  {"ATT", 13},  {"TS", 10}, {"SKIP", 6},
    };
    for (const Guess& g : kGuesses)
        if (header.find(g.text) != std::string_view::npos) return g.type;
    return 0;
}

void GuessColumnTypes(MapperGrid& grid) {
    grid.types.assign(static_cast<std::size_t>(grid.columns), 0);
    if (grid.rows.empty()) return;
    for (int c = 0; c < std::min(grid.columns, kMapperGuessedColumns); ++c)
        grid.types[c] = GuessColumnType(grid.rows[0][c]);
}

int RemoveEmptyLines(MapperGrid& grid) {
    const auto before = grid.rows.size();
    std::erase_if(grid.rows, AllEmpty);
    return static_cast<int>(before - grid.rows.size());
}

int RemoveLinesWithoutNumbers(MapperGrid& grid) {
    if (grid.rows.size() < 2) return 0;
    const auto before = grid.rows.size();
    const auto kept = std::remove_if(grid.rows.begin() + 1, grid.rows.end(),
                                     [](const auto& row) { return !HasDigit(row); });
    grid.rows.erase(kept, grid.rows.end());
    return static_cast<int>(before - grid.rows.size());
}

int RemoveLines(MapperGrid& grid, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, grid.rowCount() - 1);
    if (first > last) return 0;
    grid.rows.erase(grid.rows.begin() + first, grid.rows.begin() + last + 1);
    return last - first + 1;
}

int ApplyCellFilter(MapperGrid& grid, const MapperRange& range, CellFilter filter,
                    std::string_view find, std::string_view by) {
    int changed = 0;
    const int lastRow = std::min(range.lastRow, grid.rowCount() - 1);
    const int lastColumn = std::min(range.lastColumn, grid.columns - 1);
    for (int r = std::max(range.firstRow, 0); r <= lastRow; ++r) {
        for (int c = std::max(range.firstColumn, 0); c <= lastColumn; ++c) {
            std::string& cell = grid.rows[r][c];
            std::string out = cell;
            switch (filter) {
                case CellFilter::Upper:
                    for (char& ch : out)
                        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
                    break;
                case CellFilter::Lower:
                    for (char& ch : out)
                        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
                    break;
                case CellFilter::Replace:
                case CellFilter::Remove: {
                    if (find.empty()) break;
                    const std::string_view with = filter == CellFilter::Replace ? by : "";
                    std::size_t pos = 0;
                    while ((pos = out.find(find, pos)) != std::string::npos) {
                        out.replace(pos, find.size(), with);
                        pos += with.size();
                    }
                    break;
                }
            }
            if (out != cell) {
                cell = std::move(out);
                ++changed;
            }
        }
    }
    return changed;
}

void FillDown(MapperGrid& grid, const MapperRange& range) {
    const int lastRow = std::min(range.lastRow, grid.rowCount() - 1);
    const int lastColumn = std::min(range.lastColumn, grid.columns - 1);
    if (range.firstRow < 0 || range.firstRow >= lastRow) return;
    for (int c = std::max(range.firstColumn, 0); c <= lastColumn; ++c)
        for (int r = range.firstRow + 1; r <= lastRow; ++r)
            grid.rows[r][c] = grid.rows[range.firstRow][c];
}

void AddColumn(MapperGrid& grid) {
    ++grid.columns;
    for (auto& row : grid.rows) row.emplace_back();
    grid.types.push_back(0);
}

std::string SaveMapperText(const MapperGrid& grid) {
    std::string out(kMapperFirstLine);
    out += "\r\n";
    for (const auto& row : grid.rows) {
        for (const std::string& cell : row) {
            out += cell;
            out += ',';
        }
        out += "\r\n";
    }
    return out;
}

std::string WithMapperSuffix(std::string_view name) {
    std::string out(name);
    const std::size_t slash = out.find_last_of('/');
    const std::size_t dot = out.find('.', slash == std::string::npos ? 0 : slash + 1);
    if (dot == std::string::npos) out += ".csv";
    return out;
}

}  // namespace vex
