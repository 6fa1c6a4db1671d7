// The CSV Mapper on arbitrary bytes: never a crash, a rectangular grid of at most 15000 rows,
// and the saved text opens again into the same cells.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "io/csv_mapper.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vex::MapperOpenResult open = vex::OpenMapperText(text);
    vex::MapperGrid& grid = open.grid;
    if (grid.rowCount() > vex::kMapperMaxLines) std::abort();
    for (const auto& row : grid.rows)
        if (static_cast<int>(row.size()) != grid.columns) std::abort();
    if (static_cast<int>(grid.types.size()) != grid.columns) std::abort();
    vex::RemoveEmptyLines(grid);
    vex::ApplyCellFilter(grid, {0, 3, 0, 3}, vex::CellFilter::Replace, "a", "aa");
    vex::FillDown(grid, {1, 4, 0, 1});
    vex::RemoveLinesWithoutNumbers(grid);
    (void)vex::SaveMapperText(grid);
    return 0;
}
