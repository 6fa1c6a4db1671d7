// The MEM file readers on arbitrary bytes: never a crash, a leak or undefined behaviour, and a
// file that reads without error writes back into text that reads back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/memfile.h"
#include "core/normalise.h"

namespace {

vex::Image FreshImage() {
    vex::Image image;
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    for (int b = 0; b < vex::kScannerBanks; ++b) image.TrunkType[b] = "1";
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    vex::ImageOptions options;
    options.option9 = data[0] & 1;
    options.savenames = (data[0] >> 1) & 1;
    options.option5 = (data[0] >> 2) & 1;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    vex::Image image = FreshImage();
    const vex::MemReadResult result = vex::ParseMemFile(image, text, options);
    if (result.ok != result.message.empty()) std::abort();
    if (result.ok) {
        const std::string first = vex::SerializeMemFile(image, options);
        vex::Image again = FreshImage();
        if (!vex::ParseMemFile(again, first, options).ok) std::abort();
        if (vex::SerializeMemFile(again, options) != first) std::abort();
    }
    vex::NormaliseTable(image, options);

    vex::Image sibling = FreshImage();
    const vex::MemReadResult siblingResult = vex::ParseSiblingMemFile(sibling, text, options);
    if (siblingResult.ok != siblingResult.message.empty()) std::abort();
    return 0;
}
