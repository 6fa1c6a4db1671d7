// The ten-bank sibling reader and its two imports on arbitrary bytes: never a crash; a refused
// header leaves the source table untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "io/sibling_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Kept between runs: the tables are large and a fresh one each run slows the search.
    static const auto file = std::make_unique<vex::TenBankFile>();
    static const auto image = std::make_unique<vex::Image>();
    file->bankTags[0] = "untouched";
    const vex::MemReadResult read = vex::ParseTenBankFile(text, *file);
    if (!read.imageChanged && file->bankTags[0] != "untouched") std::abort();
    vex::ApplyImport(*image, vex::PlanSiblingChannelsAll(*file));
    vex::ApplyImport(*image, vex::PlanSiblingTrunkIdsAll(*file));
    vex::ApplyImport(*image, vex::PlanSiblingChannels(*file, 9, vex::kDummyBank));
    return 0;
}
