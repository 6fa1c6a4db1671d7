// The frequency picker and the CSV channel import on arbitrary text: never a crash, every entry
// found is digits around one point of at most 15 characters, every plan puts only real channels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/csv_channels.h"
#include "io/freq_picker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto found = vex::FindFrequencies(text);
    for (const std::string& entry : found) {
        if (entry.empty() || entry.size() > 15) std::abort();
        if (entry.find('.') == std::string::npos) std::abort();
    }
    const vex::ImportPlan simple =
        vex::PlanSimpleImport(found, size % 6, static_cast<int>(size % 60));
    if (simple.channels.size() > 50) std::abort();
    const vex::CsvChannelImport csv = vex::ParseCsvChannels(text);
    for (const vex::ChannelPut& put : csv.plan.channels)
        if (put.bank < 0 || put.bank >= vex::kBankCount || put.slot < 1 || put.slot > 50)
            std::abort();
    vex::Image image;
    vex::ApplyImport(image, simple);
    vex::ApplyImport(image, csv.plan);
    return 0;
}
