#include "io/icf.h"

#include <set>

#include "core/frequency.h"
#include "core/numeric.h"

namespace vex {
namespace {

constexpr int kEdgeLine = kIcfBanks * kIcfChannels;  // 400, 0-based data line of the edges

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

// Character at 1-based position p.
char At(std::string_view line, int p) {
    return line[static_cast<std::size_t>(p - 1)];
}

bool WellFormed(std::string_view line) {
    if (line.size() != static_cast<std::size_t>(kIcfLineLength)) return false;
    for (const char c : line)
        if (!IsHex(c)) return false;
    return true;
}

// The frequency at 1-based position p: "" for an erased or zero channel, false when the digits
// are not decimal.
bool DecodeFrequency(std::string_view line, int p, std::string& out) {
    out.clear();
    const std::string_view digits = line.substr(static_cast<std::size_t>(p - 1), 6);
    if (digits.starts_with("FFF") || digits.starts_with("fff")) return true;
    for (const char c : digits)
        if (c < '0' || c > '9') return false;
    static const char* const kSuffix[] = {"00", "25", "50", "75", "", "", "25", "50", "75", ""};
    std::string text(digits.substr(0, 4));
    text += '.';
    text += digits.substr(4, 2);
    text += kSuffix[digits[5] - '0'];
    if (NumericValue(text) > 0) out = FormatFrequencyNoLeadingZeros(text);
    return true;
}

std::string DecodeName(std::string_view line) {
    std::string name;
    for (int p = 27; p + 1 <= kIcfLineLength; p += 2) {
        const int byte = HexValue(At(line, p)) * 16 + HexValue(At(line, p + 1));
        if (byte == 0 || byte == 0xFF) break;
        if (byte >= 32 && byte < 127) name += static_cast<char>(byte);
    }
    return name;
}

std::string ModeCode(char c) {
    const int v = HexValue(c);
    if (v <= 3) return "0";
    if (v <= 7) return "1";
    return v <= 11 ? "2" : "";
}

bool DecodeChannel(std::string_view line, IcfChannel& channel) {
    channel = IcfChannel{};
    if (!DecodeFrequency(line, 7, channel.frequency)) return false;
    if (channel.frequency.empty()) return true;
    channel.name = DecodeName(line);
    channel.mode = ModeCode(At(line, 23));
    channel.tone = std::string{At(line, 15), At(line, 16), '.', At(line, 19)};
    channel.skip = std::string(1, At(line, 25));
    channel.step = std::string(1, At(line, 26));
    return true;
}

}  // namespace

IcfFile ParseIcf(std::string_view text) {
    IcfFile file;
    int lineNumber = 0;
    int dataLine = -1;
    int good = 0;
    std::size_t pos = 0;
    while (pos < text.size() && dataLine < kEdgeLine) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (line.ends_with('\r')) line.remove_suffix(1);
        pos = end + 1;
        ++lineNumber;
        if (lineNumber <= 2) continue;  // model and comment
        ++dataLine;
        bool decoded = WellFormed(line);
        if (decoded && dataLine == kEdgeLine) {
            decoded =
                DecodeFrequency(line, 7, file.edgeStart) && DecodeFrequency(line, 23, file.edgeEnd);
        } else if (decoded) {
            decoded =
                DecodeChannel(line, file.banks[dataLine / kIcfChannels][dataLine % kIcfChannels]);
        }
        if (decoded) {
            ++good;
        } else {
            file.problems.push_back(
                {lineNumber, std::string(kMsgIcfProblemLine) + std::to_string(lineNumber)});
        }
    }
    if (good == 0 || static_cast<int>(file.problems.size()) > good) {
        file = IcfFile{};
        file.message = kMsgNotIcf;
        return file;
    }
    file.ok = true;
    return file;
}

int PerconClean(IcfFile& file) {
    int emptied = 0;
    for (auto& bank : file.banks) {
        std::set<std::string> seen;
        for (IcfChannel& channel : bank) {
            if (channel.frequency.empty()) continue;
            if (!seen.insert(CanonicalFrequency(channel.frequency)).second) {
                channel = IcfChannel{};
                ++emptied;
            }
        }
    }
    return emptied;
}

ImportPlan PlanIcfBank(const IcfFile& file, int source, int bank) {
    ImportPlan plan;
    if (source < 0 || source >= kIcfBanks) return plan;
    for (int s = 1; s <= ChannelsPerBank && s <= kIcfChannels; ++s) {
        const IcfChannel& from = file.banks[source][s - 1];
        ChannelPut put;
        put.bank = bank;
        put.slot = s;
        put.value = Channel{"", "0000.0000", "", "0", "0", "0", ""};
        if (!from.frequency.empty() && !InScannerBand(from.frequency)) {
            plan.notes.push_back(IcfBankName(source) + " channel " + std::to_string(s) + ": " +
                                 from.frequency +
                                 " MHz lies outside the scanner's bands; left empty.");
        } else if (!from.frequency.empty()) {
            put.value[kFieldFrequency] = CanonicalFrequency(from.frequency);
            put.value[kFieldTag] = CleanTag(from.name);
        }
        plan.channels.push_back(std::move(put));
    }
    return plan;
}

ImportPlan PlanIcfAll(const IcfFile& file) {
    ImportPlan plan;
    for (int b = 0; b < kScannerBanks; ++b) {
        ImportPlan one = PlanIcfBank(file, b, b);
        for (ChannelPut& put : one.channels) plan.channels.push_back(std::move(put));
        for (std::string& note : one.notes) plan.notes.push_back(std::move(note));
    }
    return plan;
}

std::string IcfBankName(int source) {
    return std::string("Bank ") + static_cast<char>('A' + source);
}

}  // namespace vex
