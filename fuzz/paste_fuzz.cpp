// Whatever a clipboard holds, pasted cells are cells the editor could have made: a frequency in
// the scanner's range written in digits and a point, a tag of at most 16 characters without
// quotes or line breaks, and flags that are "On", "Off" or empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/numeric.h"
#include "mainwin/tablecmds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte chooses where the paste starts and the zero option.
    const int row = 1 + data[0] % 50;
    const int field = 1 + (data[0] / 50) % 5;
    vex::Options options;
    options.zero = data[1] & 1;
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    vex::GridBank grid;
    vex::PasteCells(grid, row, field, text, options);
    for (int r = 1; r <= 50; ++r) {
        const std::string& frequency = grid.cell(r, vex::kGridFrequency);
        if (!frequency.empty()) {
            const double value = vex::NumericValue(frequency);
            if (!(value >= 25 && value < 1301)) std::abort();
            if (frequency.find_first_not_of("0123456789.") != std::string::npos) std::abort();
        }
        const std::string& tag = grid.cell(r, vex::kGridTag);
        if (tag.size() > 16 || tag.find_first_of("\"\t\r\n") != std::string::npos) std::abort();
        for (int f = vex::kGridTrunk; f <= vex::kGridLockout; ++f) {
            const std::string& flag = grid.cell(r, f);
            if (!flag.empty() && flag != "On" && flag != "Off") std::abort();
        }
    }
    return 0;
}
