#include "io/freq_picker.h"

#include <unordered_set>

#include "core/frequency.h"
#include "core/numeric.h"
#include "core/text.h"

namespace vex {
namespace {

bool IsCut(char c) {
    return c == ',' || c == '-' || c == '>' || c == ';' || c == '\n' || c == '\r' || c == ' ' ||
           c == '\t';
}

constexpr std::size_t kMaxEntryLength = 15;

}  // namespace

std::vector<std::string> FindFrequencies(std::string_view text) {
    std::vector<std::string> found;
    std::unordered_set<std::string> seen;
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size) {
        while (pos < size && IsCut(text[pos])) ++pos;
        const std::size_t start = pos;
        while (pos < size && !IsCut(text[pos])) ++pos;
        const std::string_view token = text.substr(start, pos - start);
        const std::size_t point = token.find('.');
        if (point == std::string_view::npos || point == 0 || point + 1 >= token.size()) continue;
        if (!IsDigit(token[point - 1]) || !IsDigit(token[point + 1])) continue;
        std::size_t first = point;
        while (first > 0 && IsDigit(token[first - 1])) --first;
        std::size_t last = point + 1;
        while (last < token.size() && IsDigit(token[last])) ++last;
        // Leading zeros say nothing; a cut must never take the point and leave another value.
        while (last - first > kMaxEntryLength && first + 1 < point && token[first] == '0') ++first;
        if (point - first + 2 > kMaxEntryLength) continue;
        std::string entry(token.substr(first, std::min(last - first, kMaxEntryLength)));
        if (NumericValue(entry) <= 0) continue;
        if (seen.insert(entry).second) found.push_back(std::move(entry));
    }
    return found;
}

ImportPlan PlanSimpleImport(const std::vector<std::string>& selected, int bank, int start) {
    ImportPlan plan;
    start = std::max(start, 1);
    const std::size_t taken = std::min<std::size_t>(selected.size(), kMaxSimpleImport);
    int slot = start;
    int notImported = 0;
    std::string outOfBand;
    int outOfBandCount = 0;
    for (std::size_t i = 0; i < taken; ++i) {
        const std::string& entry = selected[i];
        if (!InScannerBand(entry)) {
            if (outOfBandCount++ < 10) outOfBand += (outOfBand.empty() ? "" : ", ") + entry;
            continue;
        }
        if (slot > ChannelsPerBank) {
            ++notImported;
            continue;
        }
        ChannelPut put;
        put.bank = bank;
        put.slot = slot++;
        put.value[kFieldFrequency] = CanonicalFrequency(entry);
        put.frequencyOnly = true;
        plan.channels.push_back(std::move(put));
    }
    if (selected.size() > taken)
        plan.notes.push_back(std::to_string(selected.size() - taken) +
                             " entries were not imported: at most 100 are taken at a time.");
    if (notImported > 0)
        plan.notes.push_back(std::to_string(notImported) +
                             " entries were not imported: the bank has no channel past 50.");
    if (outOfBandCount > 0)
        plan.notes.push_back(std::to_string(outOfBandCount) +
                             " entries lie outside the scanner's bands and were skipped: " +
                             outOfBand + (outOfBandCount > 10 ? ", ..." : "") + ".");
    return plan;
}

int AbsoluteStartChannel(int bank, int start) {
    return bank * ChannelsPerBank + start;
}

std::string FoundListText(const std::vector<std::string>& found) {
    std::string out;
    for (const std::string& entry : found) {
        out += entry;
        out += "\r\n";
    }
    return out;
}

}  // namespace vex
