#include "mainwin/bandplan.h"

#include <algorithm>

#include "core/frequency.h"
#include "core/numeric.h"
#include "mainwin/cellentry.h"

namespace vex {

std::vector<BandplanChange> CheckBandplan(Image& image, int firstBank, int lastBank,
                                          const Options& options) {
    std::vector<BandplanChange> changes;
    for (int bank = std::max(firstBank, 0); bank <= lastBank && bank < kBankCount; ++bank) {
        for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
            std::string& frequency = image.channel(bank, slot)[kFieldFrequency];
            if (NumericValue(frequency) == 0) continue;
            const FrequencyEntry entry = EnterFrequency(frequency, options, DefaultData{});
            // The form (leading zeros) is the zero setting's business, not the band plan's.
            if (entry.empty || NumericValue(entry.text) == NumericValue(frequency)) continue;
            changes.push_back({bank, slot, frequency, entry.text});
            frequency = entry.text;
        }
    }
    return changes;
}

std::string BandplanReport(const std::vector<BandplanChange>& changes, std::size_t maxLines) {
    if (changes.empty()) return "Every channel lies on the band plan; nothing was changed.";
    std::string report = std::to_string(changes.size()) +
                         (changes.size() == 1 ? " channel was" : " channels were") +
                         " brought onto the band plan:";
    for (std::size_t i = 0; i < changes.size() && i < maxLines; ++i) {
        const BandplanChange& c = changes[i];
        const std::string channel =
            c.bank < kScannerBanks ? "Channel " + std::to_string(AbsoluteChannel(c.bank, c.slot))
                                   : "Dummy bank slot " + std::to_string(c.slot);
        report += "\n" + channel + ": " + c.before + " -> " + c.after;
    }
    if (changes.size() > maxLines)
        report += "\n... and " + std::to_string(changes.size() - maxLines) + " more.";
    return report;
}

}  // namespace vex
