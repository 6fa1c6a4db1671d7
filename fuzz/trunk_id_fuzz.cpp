// Any text typed, pasted or imported as a trunk ID must come out as an ID of its system's form,
// "0" or empty, for every system type, and normalising again must not change it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "trunk/trunk_id.h"
#include "trunk/trunk_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int type = -1; type <= 12; ++type) {
        const std::string id = vex::NormaliseTrunkId(type, text);
        if (!vex::IsStoredTrunkIdValid(type, id)) std::abort();
        const std::string cleaned = vex::CleanTrunkId(type, text);
        if (!vex::IsStoredTrunkIdValid(type, cleaned)) std::abort();
        if (vex::IdFormatOfType(type).rule != vex::IdRule::None) {
            // "0" marks a refused value; typed again it is ID zero, which is fine.
            if (id != "0" && vex::NormaliseTrunkId(type, id) != id) std::abort();
            // Type 1 block-fleet-subfleet IDs are kept as typed; the others have six characters.
            if (vex::IdFormatOfType(type).rule != vex::IdRule::Motorola1 &&
                vex::NormaliseTrunkId(type, vex::SanitiseIdText(type, text)).size() > 6) {
                std::abort();
            }
        }
    }
    const std::string tag = vex::SanitiseTagText(text);
    if (tag.size() > vex::kTrunkTagLength || tag.find('"') != std::string::npos) std::abort();

    // The band-plan formatting must end and keep its length for any text.
    if (vex::FormatBaseNumber(text, 4, 9).size() != 9) std::abort();
    if (vex::FormatBaseNumber(text, 3, 6).size() != 6) std::abort();
    for (int code : {4, 5}) {
        std::array<std::string, 3> row{text, text, text};
        vex::CorrectBaseRow(code, row);
        if (!row[0].empty() && row[0].size() != 9) std::abort();
    }
    return 0;
}
