#include "tools/find_replace.h"

#include "core/normalise.h"

namespace vex {

namespace {

// Latin-1 upper case letters to lower case, the rest as it is.
char Lower(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 0x20);
    return c;
}

std::size_t Search(std::string_view haystack, std::string_view needle, std::size_t from,
                   bool matchCase) {
    if (matchCase) return haystack.find(needle, from);
    if (needle.size() > haystack.size()) return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i) {
        std::size_t j = 0;
        while (j < needle.size() && Lower(haystack[i + j]) == Lower(needle[j])) ++j;
        if (j == needle.size()) return i;
    }
    return std::string_view::npos;
}

std::string TagText(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || u < 32 || u == 127) c = ' ';
    }
    return out;
}

}  // namespace

std::optional<FindHit> FindNext(const Image& image, int currentBank, FindScope scope,
                                FindField field, std::string_view text, bool matchCase,
                                int& position) {
    if (text.empty()) return std::nullopt;
    const bool all = scope == FindScope::AllBanks;
    if (!all && (currentBank < 0 || currentBank >= kBankCount)) return std::nullopt;
    const int last = all ? kTotalChannels : ChannelsPerBank;
    const int index = field == FindField::Frequency ? kFieldFrequency : kFieldTag;
    if (position < 0 || position > last) position = 0;
    while (++position <= last) {
        const int bank = all ? (position - 1) / ChannelsPerBank : currentBank;
        const int slot = all ? (position - 1) % ChannelsPerBank + 1 : position;
        if (IsEmptyChannel(image, bank, slot)) continue;
        if (Search(image.channel(bank, slot)[index], text, 0, matchCase) != std::string::npos)
            return FindHit{bank, slot, AbsoluteChannel(bank, slot)};
    }
    position = 0;
    return std::nullopt;
}

std::string FindResultText(const FindHit& hit) {
    std::string text = "Channel #" + std::to_string(hit.channel) + " contains this data, ";
    if (hit.bank == kDummyBank) return text + "in the Dummy bank.";
    return text + "in bank " + std::to_string(hit.bank + 1) + '.';
}

ReplaceResult ReplaceInTags(Image& image, int currentBank, FindScope scope, std::string_view find,
                            std::string_view replacement, bool matchCase) {
    ReplaceResult result;
    if (find.empty()) return result;
    const std::string with = TagText(replacement);
    const bool all = scope == FindScope::AllBanks;
    if (!all && (currentBank < 0 || currentBank >= kBankCount)) return result;
    const int firstBank = all ? 0 : currentBank;
    const int lastBank = all ? kScannerBanks - 1 : currentBank;
    for (int bank = firstBank; bank <= lastBank; ++bank) {
        for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
            if (IsEmptyChannel(image, bank, slot)) continue;
            std::string& tag = image.channel(bank, slot)[kFieldTag];
            std::string out;
            std::size_t from = 0;
            for (std::size_t at; (at = Search(tag, find, from, matchCase)) != std::string::npos;
                 from = at + find.size()) {
                out.append(tag, from, at - from);
                out += with;
            }
            if (from == 0) continue;  // not found
            out.append(tag, from, std::string::npos);
            if (out == tag) continue;
            tag = std::move(out);
            ++result.tags;
            if (tag.size() > kMaxTagLength) ++result.tooLong;
        }
    }
    return result;
}

std::string ReplaceStepName(std::string_view find, std::string_view replacement) {
    return "Replace \"" + std::string(find) + "\" with \"" + TagText(replacement) + '"';
}

std::string ReplaceResultText(const ReplaceResult& result) {
    if (result.tags == 0) return "No tag contains this text.";
    std::string text =
        result.tags == 1 ? "1 tag changed." : std::to_string(result.tags) + " tags changed.";
    if (result.tooLong > 0)
        text += ' ' + std::to_string(result.tooLong) +
                (result.tooLong == 1 ? " tag is" : " tags are") +
                " now longer than 16 characters and will be cut to 16 when the table is checked "
                "or saved.";
    return text;
}

}  // namespace vex
