#include "link/panel_display.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace vex {
namespace {

// Names in the reply and the label each switches.
struct ReplyName {
    std::string_view name;
    std::string_view label;
};
constexpr ReplyName kReplyNames[] = {
    {"TRUNK", "TRUNK"},   {"M", "M"},       {"E", "E"},         {"L", "L"},
    {"LIST", "LIST"},     {"BANK", "BANK"}, {"RMT", "RMT"},     {"MLOCK", "M-LOCK"},
    {"HWY", "HWY"},       {"PVT", "PVT"},   {"POL", "POL"},     {"WX", "WX"},
    {"FIRE", "FIRE/EMS"}, {"NEWS", "NEWS"}, {"CB", "CB"},       {"AIR", "AIR"},
    {"RR", "RR"},         {"MRN", "MRN"},   {"HOLD", "HOLD"},   {"UP", "UP"},
    {"SRCH", "SRCH"},     {"DOWN", "DWN"},  {"PRI", "PRI"},     {"LOUT", "L/O"},
    {"DLY", "DLY"},       {"DATA", "DATA"}, {"FLASH", "FLASH"}, {"P", "P"},
};

constexpr std::string_view kModeNames[] = {
    "Private Scan Mode",
    "Private Scan Hold Mode",
    "Band Search",
    "Band Search Hold",
    "Service Search",
    "Service Search Hold",
    "Highway Scan",
    "Highway Scan Hold",
    "Highway Trunking",
    "Highway Trunking Hold",
    "Program Channel Mode",
    "Trunk - Motorola ID Search",
    "Trunk - Motorola ID Search Hold",
    "Trunk - Motorola ID Scan",
    "Trunk - Motorola ID Scan Hold",
    "Trunk - EDACS ID Search",
    "Trunk - EDACS ID Search Hold",
    "Trunk - EDACS ID Scan",
    "Trunk - EDACS ID Scan Hold",
    "Trunk - LTR ID Search",
    "Trunk - LTR ID Search Hold",
    "Trunk - LTR ID Scan",
    "Trunk - LTR ID Scan Hold",
    "Manual Frequency Mode",
    "Program trunked bank menu",
    "Remote Control Menu",
};

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

// The text between "KEY [" and the next "]", or nullopt-like false.
bool Bracketed(std::string_view reply, std::string_view key, std::string& out) {
    const std::size_t at = reply.find(key);
    if (at == std::string_view::npos) return false;
    const std::size_t start = at + key.size();
    const std::size_t end = reply.find(']', start);
    if (end == std::string_view::npos) return false;
    out = std::string(reply.substr(start, end - start));
    return true;
}

std::string RightTrimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
    return text;
}

// "0162.5500" is shown as "162.5500"; "-- ---" means no frequency.
std::string ShownFrequency(std::string text) {
    text = RightTrimmed(text);
    if (text.find("--") != std::string::npos) return {};
    const std::size_t point = text.find('.');
    if (point == 4 && text[0] == '0') text.erase(0, 1);
    return text;
}

std::string_view ReplyLine(std::string_view reply) {
    while (!reply.empty() && (reply.back() == '\r' || reply.back() == '\n')) reply.remove_suffix(1);
    return reply;
}

}  // namespace

int IndicatorIndex(std::string_view label) {
    for (int i = 0; i < kIndicatorCount; ++i)
        if (kIndicatorLabels[static_cast<std::size_t>(i)] == label) return i;
    return -1;
}

bool PanelDisplay::on(std::string_view label) const {
    const int i = IndicatorIndex(label);
    return i >= 0 && indicators[static_cast<std::size_t>(i)];
}

std::string ModeName(std::string_view code) {
    if (code == "MENU" || code == "Menu") return "Menu mode";
    if (code.size() != 2 || !std::isdigit(static_cast<unsigned char>(code[0])) ||
        !std::isdigit(static_cast<unsigned char>(code[1])))
        return {};
    const std::size_t n = static_cast<std::size_t>((code[0] - '0') * 10 + (code[1] - '0'));
    return n < std::size(kModeNames) ? std::string(kModeNames[n]) : std::string();
}

bool ApplyDisplayReply(std::string_view reply, PanelDisplay& display) {
    reply = ReplyLine(reply);
    if (reply.substr(0, 3) != "LCD" || reply.find("CHN [") == std::string_view::npos) return false;
    PanelDisplay d = display;
    // Indicators come before the first bracketed field; the texts may hold anything.
    const std::size_t texts = reply.find('[');
    const std::vector<std::string_view> words = Words(reply.substr(0, texts));
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        const std::string_view sign = words[i + 1];
        if (sign != "+" && sign != "-") continue;
        const bool on = sign == "+";
        if (words[i] == "BNK") {
            d.indicators[static_cast<std::size_t>(IndicatorIndex("BANK"))] = on;
            continue;
        }
        for (const ReplyName& n : kReplyNames) {
            if (n.name == words[i])
                d.indicators[static_cast<std::size_t>(IndicatorIndex(n.label))] = on;
        }
    }
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (words[i] != "BNK") continue;
        const std::string_view marks = words[i + 1];
        if (marks == "+" || marks == "-") continue;
        d.banks = std::string(marks.substr(0, 5));
        d.banks.resize(5, '-');
        for (char& c : d.banks)
            if (c != '*') c = '-';
    }
    std::string text;
    if (Bracketed(reply, "CHN [", text)) d.channel = RightTrimmed(text);
    if (Bracketed(reply, "FRQ [", text)) d.frequency = ShownFrequency(text);
    if (Bracketed(reply, "LCD1 [", text)) d.status = RightTrimmed(text);
    if (Bracketed(reply, "LCD2 [", text)) d.tag = RightTrimmed(text);
    display = std::move(d);
    return true;
}

bool ApplyModeReply(std::string_view reply, PanelDisplay& display) {
    reply = ReplyLine(reply);
    if (reply.substr(0, 3) != "MD ") return false;
    const std::string name = ModeName(RightTrimmed(std::string(reply.substr(3))));
    if (name.empty()) return false;
    display.mode = name;
    return true;
}

bool ApplySquelchReply(std::string_view reply, PanelDisplay& display) {
    reply = ReplyLine(reply);
    if (reply != "SQ 0" && reply != "SQ 1") return false;
    display.squelchOpen = reply == "SQ 1";
    display.indicators[static_cast<std::size_t>(IndicatorIndex("BUSY"))] = display.squelchOpen;
    return true;
}

}  // namespace vex
