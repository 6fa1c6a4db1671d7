// The clone-file reader on arbitrary bytes: never a crash; a refused file has nothing in it,
// an accepted one only frequencies in MHz text, and every plan only real channels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/icf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vex::IcfFile file = vex::ParseIcf(text);
    if (!file.ok) {
        if (file.message.empty() || !file.problems.empty()) std::abort();
        return 0;
    }
    if (file.problems.size() > 401) std::abort();
    vex::PerconClean(file);
    vex::Image image;
    vex::ApplyImport(image, vex::PlanIcfAll(file));
    for (int source = 0; source < vex::kIcfBanks; ++source)
        vex::ApplyImport(image, vex::PlanIcfBank(file, source, vex::kDummyBank));
    return 0;
}
