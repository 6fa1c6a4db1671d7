// The CSV Mapper's grid: foreign frequency lists split into cells, column meanings guessed from
// the header row, lines filtered, cells edited, saved as a clean CSV file.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vex {

inline constexpr int kMapperMaxLines = 15000;
inline constexpr int kMapperGuessedColumns = 20;
inline constexpr std::string_view kMsgMapperTooLarge = "File too large, quiting import.";
inline constexpr std::string_view kMapperFirstLine = "TrunkNetscoop,data,Marlo,The Netherlands";
inline constexpr std::string_view kMapperOpenFilter =
    "CSV Files|*.csv|Text Files|*.txt|MEM Files|*.mem|M96 Files|*.m96|PCR files|*.mch|"
    "All Files|*.*";
inline constexpr std::string_view kMapperSaveFilter = "CSV Files|*.csv";

// The column meanings, by list index.
inline constexpr std::array<std::string_view, 18> kMapperColumnTypes = {"Unknown",
                                                                        "Frequency (MHz)",
                                                                        "Trunk ID",
                                                                        "Tag/Name",
                                                                        "Trunk On/Off",
                                                                        "Trunk Frequency",
                                                                        "LockOut",
                                                                        "Delay On/Off",
                                                                        "Delay Time (Sec.)",
                                                                        "Mode",
                                                                        "Step",
                                                                        "CTCSS",
                                                                        "DCS",
                                                                        "Attenuator On/Off",
                                                                        "Beep On/Off",
                                                                        "Priority",
                                                                        "Record On/Off",
                                                                        "Subtone"};

struct MapperGrid {
    // Every row has `columns` cells; row 0 is the header row.
    std::vector<std::vector<std::string>> rows;
    int columns = 0;
    std::vector<int> types;  // per column, an index into kMapperColumnTypes

    int rowCount() const { return static_cast<int>(rows.size()); }
};

struct MapperOpenResult {
    MapperGrid grid;
    bool tooLarge = false;  // more than 15000 lines: the first 15000 are in the grid
};

// Opening: drops the characters the grid cannot show (codes below 10, 14..29, 128 and above;
// a tab becomes a space first), ends a line at CR LF, LF or CR, takes at most 15000 lines,
// normalises the mode and switch words, splits at "," (a cell in double quotes may hold commas,
// which become ";"), pads short rows to the widest, and guesses the column types.
MapperOpenResult OpenMapperText(std::string_view bytes);

// ",fm," to ",FM," and the like, ",OFF"/",ON" to ",Off"/",On" where a comma or the line end
// follows (so ONE or OFFICE keep their letters).
std::string NormaliseMapperLine(std::string_view line);

// The type of a header cell (case-sensitive plain substring search, first match wins).
int GuessColumnType(std::string_view header);
void GuessColumnTypes(MapperGrid& grid);

// Line filters; each returns the number of rows removed. A cell holding blanks is not empty.
int RemoveEmptyLines(MapperGrid& grid);
// Rows none of whose cells holds a digit; the header row stays.
int RemoveLinesWithoutNumbers(MapperGrid& grid);
// Rows first..last (inclusive, clamped).
int RemoveLines(MapperGrid& grid, int first, int last);

// A rectangle of cells; the cell filters also take whole rows.
struct MapperRange {
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
};
enum class CellFilter { Upper, Lower, Replace, Remove };
// Applies a filter to the cells of the range; returns the number of cells changed.
int ApplyCellFilter(MapperGrid& grid, const MapperRange& range, CellFilter filter,
                    std::string_view find = {}, std::string_view by = {});
// "Fill Down": the first row's cells of the range copied into the rows below it.
void FillDown(MapperGrid& grid, const MapperRange& range);
// "Add Column": an empty column at the right, type "Unknown".
void AddColumn(MapperGrid& grid);

// The saved file: the fixed first line, then every row with each cell followed by ",".
std::string SaveMapperText(const MapperGrid& grid);
// The save dialog's rule: a name without "." gets ".csv".
std::string WithMapperSuffix(std::string_view name);

}  // namespace vex
