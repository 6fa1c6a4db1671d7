#include "link/transfer_choices.h"

#include <algorithm>
#include <vector>

namespace vex {
namespace {

// "110": frequencies, trunk IDs, trunk settings.
std::string ItemsText(const TransferItems& items) {
    return std::string(items.frequencies ? "1" : "0") + (items.trunkIds ? "1" : "0") +
           (items.trunkSettings ? "1" : "0");
}

bool ParseItems(std::string_view text, TransferItems& items) {
    if (text.size() != 3 || text.find_first_not_of("01") != std::string_view::npos) return false;
    items = {text[0] == '1', text[1] == '1', text[2] == '1'};
    return true;
}

}  // namespace

TransferChoices ParseTransferChoices(std::string_view text) {
    TransferChoices choices;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        from = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "readitems") ParseItems(value, choices.read);
        if (key == "senditems") ParseItems(value, choices.send);
        if (key == "merge" && (value == "0" || value == "1")) choices.merge = value == "1";
        if (key == "droptags" && (value == "0" || value == "1")) choices.dropTags = value == "1";
    }
    return choices;
}

TransferChoices ReadTransferChoices(const std::filesystem::path& folder) {
    std::string text;
    if (!ReadWholeFile(folder / std::string(kTransferChoicesName), text)) return {};
    return ParseTransferChoices(text);
}

std::string SerializeTransferChoices(const TransferChoices& choices) {
    return "readitems=" + ItemsText(choices.read) + "\r\nsenditems=" + ItemsText(choices.send) +
           "\r\nmerge=" + (choices.merge ? "1" : "0") +
           "\r\ndroptags=" + (choices.dropTags ? "1" : "0") + "\r\n";
}

WriteResult WriteTransferChoices(const TransferChoices& choices,
                                 const std::filesystem::path& folder) {
    return WriteFileAtomically(folder / std::string(kTransferChoicesName),
                               SerializeTransferChoices(choices));
}

std::string DescribeTransfer(const TransferItems& items, TransferArea area, int bank,
                             int rangeStart, int rangeEnd) {
    std::vector<std::string> parts;
    if (items.frequencies) parts.emplace_back("the frequencies");
    if (items.trunkIds) parts.emplace_back("the trunk IDs");
    if (items.trunkSettings) parts.emplace_back("the trunk settings");
    if (parts.empty()) return {};
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    switch (area) {
        case TransferArea::AllBanks:
            return text + " of all banks";
        case TransferArea::SingleBank:
            return bank < 0 ? text + " of the bank chosen below"
                            : text + " of bank " + std::to_string(bank + 1);
        case TransferArea::ChannelRange:
            return text + " of channels " + std::to_string(std::min(rangeStart, rangeEnd)) +
                   " to " + std::to_string(std::max(rangeStart, rangeEnd)) +
                   (items.trunkIds || items.trunkSettings ? " (trunk data of their banks)" : "");
        case TransferArea::None:
            break;
    }
    return text;
}

}  // namespace vex
