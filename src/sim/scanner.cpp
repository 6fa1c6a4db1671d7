#include "scanner.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>
#include <vector>

namespace bct8sim {
namespace {

constexpr const char* kIdentification = "SI BCT8,V1.00,SIM";
constexpr const char* kFirmware = "VR 1.00";
constexpr std::size_t kNameLength = 16;
constexpr std::size_t kIdLength = 6;

// Trunk system names the "TB" reply carries, by the digit of the "TR" command.
constexpr const char* kTypeNames[10] = {"",       "TYPE1",     "E2-800",      "E2-900", "E2-UHF",
                                        "E2-VHF", "EDCS WIDE", "EDCS NARROW", "LTR",    "EDCS SCT"};
constexpr const char* kCustomPlanA = "E2-CUSTOM";  // rebanded Type 2, band plan A
constexpr const char* kCustomPlanB = "E1-CUSTOM";  // rebanded Type 1, band plan B

constexpr MenuSetting kMenu[] = {
    {"311", {"[ 1:HIGH         ", "[ 2:MEDIUM       ", nullptr}, false},
    {"312", {"[ 1:15SECONDS    ", "[ 2:INFINITE     ", nullptr}, false},
    {"32", {"[1:ON            ", "[2:OFF           ", nullptr}, false},
    {"33", {"[1:ON            ", "[2:OFF           ", nullptr}, false},
    {"34", {"[1:ON            ", "[2:OFF           ", nullptr}, false},
    {"37", {"[1:ON            ", "[2:OFF           ", nullptr}, false},
    {"38", {"[ 1:CSQ          ", "[ 2:TONE SQ      ", "[ 3:TONE SEARCH  "}, false},
    {"30", {"[ 1:ENABLE       ", "[ 2:DISABLE      ", nullptr}, false},
    {"36", {"[MASTER          ", "[SLAVE           ", nullptr}, true},
};
constexpr int kMenuCount = static_cast<int>(sizeof(kMenu) / sizeof(kMenu[0]));

const std::string kOk = "OK";
const std::string kErr = "ERR";

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

std::string ThreeDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%03d", value % 1000);
    return text;
}

// Bank index of a letter "A".."E", or -1.
int BankOf(char letter) {
    return letter >= 'A' && letter <= 'E' ? letter - 'A' : -1;
}

std::vector<std::string_view> Split(std::string_view text) {
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

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A frequency the scanner can hold: whole megahertz within 25..512, 806..956 or 1240..1300,
// or the all-zero empty channel.
bool ValidFrequency(std::string_view wire) {
    if (wire.size() != 8 || !AllDigits(wire)) return false;
    if (wire == "00000000") return true;
    const int mhz = Number(wire.substr(0, 4));
    return (mhz >= 25 && mhz <= 512) || (mhz >= 806 && mhz <= 956) || (mhz >= 1240 && mhz <= 1300);
}

// "04160000 0125 381": base frequency, step in 100 Hz, offset channel.
bool ValidBaseLine(std::string_view base, std::string_view step, std::string_view offset) {
    return base.size() == 8 && AllDigits(base) && step.size() == 4 && AllDigits(step) &&
           offset.size() == 3 && AllDigits(offset);
}

std::string RightTrimmed(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

char Flag(bool on) {
    return on ? 'N' : 'F';
}

}  // namespace

const MenuSetting* Scanner::settings(int& count) {
    count = kMenuCount;
    return kMenu;
}

void Scanner::reset() {
    for (auto& channel : d_channels) channel = Channel{};
    for (int bank = 0; bank < kBanks; ++bank) {
        d_priority[bank] = bank * kChannelsPerBank + 1;
        d_bankNames[bank].clear();
        d_trunk[bank] = TrunkBank{};
    }
    for (auto& list : d_listTags) list.fill("");
    d_searchNames.fill("");
    d_activeBanks = "ABCDE";
    d_settings.fill(0);
    d_current = d_shown = 1;
    d_polls = 0;
    d_receiving = false;
    d_trunkBank = 0;
    d_hold = false;
    d_inMenu = false;
    d_menuPath.clear();
    d_panel = PanelMemory{};
    changed();
}

int Scanner::channelOf(std::string_view command) {
    if ((StartsWith(command, "MA") || StartsWith(command, "PM")) && command.size() >= 5 &&
        AllDigits(command.substr(2, 3))) {
        return Number(command.substr(2, 3));
    }
    return 0;
}

std::optional<std::string> Scanner::handle(std::string_view command) {
    if (command.empty()) return std::nullopt;  // a bare line end: nothing to answer
    if (command == "SI") return std::string(kIdentification);
    if (command == "VR") return std::string(kFirmware);
    if (command == "AC") {
        reset();
        return kOk;
    }
    if (command == "IDF" || command == "CDF" || command == "QUF") return kOk;
    if (auto reply = handleExtras(command)) return reply;
    if (StartsWith(command, "SB ")) {
        const std::string_view letters = command.substr(3);
        if (letters.empty() ||
            !std::all_of(letters.begin(), letters.end(), [](char c) { return BankOf(c) >= 0; })) {
            return kErr;
        }
        d_activeBanks = std::string(letters);
        changed();
        return kOk;
    }
    if (StartsWith(command, "KEY") || command == "LCD" || command == "MD" || command == "SQ") {
        return handleKey(command);
    }
    if (StartsWith(command, "TA ")) return handleTags(command);
    if (auto reply = handleChannel(command)) return reply;
    if (auto reply = handleTrunk(command)) return reply;
    return kErr;
}

std::optional<std::string> Scanner::handleChannel(std::string_view command) {
    const bool ma = StartsWith(command, "MA");
    const bool pm = StartsWith(command, "PM");
    if ((ma || pm) && command.size() >= 5 && AllDigits(command.substr(2, 3))) {
        const int number = Number(command.substr(2, 3));
        if (number < 1 || number > kChannels) return kErr;
        if (command.size() == 5) {
            d_current = d_shown = number;
            const Channel& c = d_channels[number];
            std::string reply = "C" + ThreeDigits(number) + " F" + c.frequency;
            reply +=
                std::string(" T") + Flag(c.trunk) + " D" + Flag(c.delay) + " L" + Flag(c.lockout);
            return reply;
        }
        if (!pm || command.size() != 14 || (command[5] != ' ' && command[5] != 'T')) {
            return kErr;
        }
        const std::string_view frequency = command.substr(6);
        if (!ValidFrequency(frequency)) return kErr;
        d_current = d_shown = number;
        Channel& c = d_channels[number];
        if (frequency == "00000000") {
            c = Channel{};  // a cleared channel forgets its flags
        } else {
            c.frequency = std::string(frequency);
            c.trunk = command[5] == 'T';
        }
        changed();
        return kOk;
    }
    if (command == "LON" || command == "LOF") {
        d_channels[d_current].lockout = command[2] == 'N';
        changed();
        return kOk;
    }
    if (command == "DLN" || command == "DLF") {
        d_channels[d_current].delay = command[2] == 'N';
        changed();
        return kOk;
    }
    if (StartsWith(command, "PC ") && command.size() >= 4) {
        const int bank = BankOf(command[3]);
        if (bank < 0) return kErr;
        if (command.size() == 4) return std::string(command) + ThreeDigits(d_priority[bank]);
        const std::string_view digits = command.substr(4);
        if (digits.size() != 3 || !AllDigits(digits)) return kErr;
        const int number = Number(digits);
        if (number < bank * kChannelsPerBank + 1 || number > (bank + 1) * kChannelsPerBank) {
            return kErr;
        }
        d_priority[bank] = number;
        changed();
        return kOk;
    }
    return std::nullopt;
}

std::optional<std::string> Scanner::handleTrunk(std::string_view command) {
    const std::vector<std::string_view> w = Split(command);
    if (w.empty()) return std::nullopt;
    const std::string_view verb = w[0];
    auto bankArg = [&](std::size_t index) {
        return w.size() > index && w[index].size() == 1 ? BankOf(w[index][0]) : -1;
    };

    if (verb == "TB" && w.size() == 2) {
        const int bank = bankArg(1);
        if (bank < 0) return kErr;
        return "TB " + std::string(w[1]) + " " + d_trunk[bank].typeName;
    }
    if (verb == "TBN" && w.size() == 2) {
        const int bank = bankArg(1);
        if (bank < 0) return kErr;
        d_trunkBank = bank;
        return kOk;
    }
    if (verb == "TR" && w.size() >= 3) {
        const int bank = bankArg(1);
        if (bank < 0 || w[2].size() != 1 || !AllDigits(w[2])) return kErr;
        const int digit = w[2][0] - '0';
        TrunkBank& t = d_trunk[bank];
        if (w.size() == 3) {
            t.typeName = kTypeNames[digit];
            t.customPlan = {};
            changed();
            return kOk;
        }
        // Type 2 UHF/VHF with a base/offset line, optionally numbered 1..3.
        if ((digit != 4 && digit != 5) || (w.size() != 6 && w.size() != 7) ||
            !ValidBaseLine(w[3], w[4], w[5])) {
            return kErr;
        }
        int line = 1;
        if (w.size() == 7) {
            if (w[6].size() != 1 || w[6][0] < '1' || w[6][0] > '3') return kErr;
            line = w[6][0] - '0';
        }
        t.typeName = kTypeNames[digit];
        t.customPlan = {};
        t.baseLine[line - 1] = w[3] == "00000000" ? std::string()
                                                  : std::string(w[3]) + " " + std::string(w[4]) +
                                                        " " + std::string(w[5]);
        changed();
        return kOk;
    }
    if (verb == "CP" && w.size() == 9) {
        const int bank = bankArg(1);
        if (bank < 0 || (w[2] != "A" && w[2] != "B") || (w[3] != "1" && w[3] != "2")) {
            return kErr;
        }
        TrunkBank& t = d_trunk[bank];
        std::string line;
        for (std::size_t i = 2; i < w.size(); ++i) {
            if (i > 2) line += ' ';
            line += w[i];
        }
        t.customPlan[w[3][0] - '1'] = line;
        t.typeName = w[2] == "A" ? kCustomPlanA : kCustomPlanB;
        changed();
        return kOk;
    }
    if (verb == "TC" && w.size() == 2) {
        const int bank = bankArg(1);
        if (bank < 0) return kErr;
        const int plan = d_trunk[bank].controlPlan;
        if (plan == 0) return "TCF " + std::string(w[1]);
        return "TCN " + std::string(w[1]) + " P" + std::to_string(plan);
    }
    if (verb == "TCF" && w.size() == 2) {
        const int bank = bankArg(1);
        if (bank < 0) return kErr;
        d_trunk[bank].controlPlan = 0;
        changed();
        return kOk;
    }
    if (verb == "TCN" && (w.size() == 2 || w.size() == 3)) {
        const int bank = bankArg(1);
        if (bank < 0) return kErr;
        int plan = 1;
        if (w.size() == 3) {
            if (w[2].size() != 2 || w[2][0] != 'P' || w[2][1] < '1' || w[2][1] > '4') return kErr;
            plan = w[2][1] - '0';
        }
        d_trunk[bank].controlPlan = plan;
        changed();
        return kOk;
    }
    // The bank setting flags act on the bank chosen with "TBN".
    struct FlagCommand {
        const char* name;
        bool TrunkBank::*member;
    };
    static constexpr FlagCommand kFlags[] = {
        {"BT", &TrunkBank::statusBit}, {"TD", &TrunkBank::endCode}, {"AF", &TrunkBank::idFormat}};
    if (w.size() == 1) {
        for (const FlagCommand& flag : kFlags) {
            const std::string name = flag.name;
            bool& value = d_trunk[d_trunkBank].*flag.member;
            if (verb == name) return name + Flag(value);
            if (verb == name + "N" || verb == name + "F") {
                value = verb.back() == 'N';
                changed();
                return kOk;
            }
        }
    }
    if (verb == "BC" && w.size() == 2 && w[1].size() == 2) {
        const int bank = BankOf(w[1][0]);
        if (bank < 0 || w[1][1] < '1' || w[1][1] > '3') return kErr;
        const std::string& line = d_trunk[bank].baseLine[w[1][1] - '1'];
        return "BC " + std::string(w[1]) + " " + (line.empty() ? "00000000 0000 000" : line);
    }
    if (verb == "FB" && w.size() == 2) {
        const int bank = bankArg(1);
        if (bank < 0) return kErr;
        std::string reply;
        for (int k = 0; k < kFleetBlocks; ++k) {
            if (k > 0) reply += '\r';
            char block[16];
            std::snprintf(block, sizeof block, "FB %c %d %02d", w[1][0], k, d_trunk[bank].fleet[k]);
            reply += block;
        }
        return reply;
    }
    if (verb == "FB" && w.size() == 4) {
        const int bank = bankArg(1);
        if (bank < 0 || w[2].size() != 1 || w[2][0] < '0' || w[2][0] > '7' || w[3].size() > 2 ||
            !AllDigits(w[3]) || Number(w[3]) > 14) {
            return kErr;
        }
        d_trunk[bank].fleet[w[2][0] - '0'] = Number(w[3]);
        changed();
        return kOk;
    }
    if (verb == "TG" && (w.size() == 3 || w.size() == 4)) {
        const int bank = bankArg(1);
        if (bank < 0 || w[2].size() != 2 || BankOf(w[2][0]) < 0 ||
            !std::isdigit(static_cast<unsigned char>(w[2][1]))) {
            return kErr;
        }
        const int row = BankOf(w[2][0]) * 10 + (w[2][1] - '0');
        std::string& id = d_trunk[bank].ids[row];
        const std::string key = "TG " + std::string(w[1]) + " " + std::string(w[2]);
        if (w.size() == 3) return key + " " + (id.empty() ? std::string("------") : id);
        if (w[3].size() > kIdLength) return kErr;
        // "0" is how the program deletes an ID; "------" is the scanner's own empty mark.
        id = (w[3] == "0" || w[3] == "------") ? std::string() : std::string(w[3]);
        changed();
        return kOk;
    }
    return std::nullopt;
}

std::optional<std::string> Scanner::handleTags(std::string_view command) {
    // "TA B A", "TA L A 0", "TA S A", each optionally followed by a blank and a new text.
    if (command.size() < 6 || command[4] != ' ') return kErr;
    const char kind = command[3];
    const char letter = command[5];
    std::string_view rest = command.substr(6);
    std::string key(command.substr(0, 6));
    std::string* text = nullptr;
    if (kind == 'B') {
        if (BankOf(letter) < 0) return kErr;
        text = &d_bankNames[BankOf(letter)];
    } else if (kind == 'S') {
        if (letter < 'A' || letter >= 'A' + kSearchNames) return kErr;
        text = &d_searchNames[letter - 'A'];
    } else if (kind == 'L') {
        if (letter < 'A' || letter >= 'A' + kListLetters) return kErr;
        // The list index may follow the letter directly or after a blank.
        std::size_t at = 0;
        if (!rest.empty() && rest[0] == ' ') at = 1;
        if (rest.size() <= at || !std::isdigit(static_cast<unsigned char>(rest[at]))) return kErr;
        key = std::string(command.substr(0, 6 + at + 1));
        text = &d_listTags[letter - 'A'][rest[at] - '0'];
        rest.remove_prefix(at + 1);
    } else {
        return kErr;
    }
    if (rest.empty()) {
        if (kind == 'L' && text->empty()) return key + " -";
        return key + " " + *text;
    }
    if (rest[0] != ' ') return kErr;
    std::string value = RightTrimmed(rest.substr(1, kNameLength));
    if (kind == 'L' && value == "-") value.clear();
    *text = value;
    changed();
    return kOk;
}

int Scanner::nextChannel(int from, int step, bool scanning) const {
    for (int i = 1; i <= kChannels; ++i) {
        const int n = ((from - 1 + step * i) % kChannels + kChannels) % kChannels + 1;
        const Channel& c = d_channels[n];
        if (c.frequency == "00000000") continue;
        const char bank = static_cast<char>('A' + (n - 1) / kChannelsPerBank);
        if (scanning && (c.lockout || d_activeBanks.find(bank) == std::string::npos)) continue;
        return n;
    }
    return from;
}

// The memory file: one line per item, words separated by blanks, free text last.
std::string Scanner::save() const {
    std::ostringstream out;
    out << "BCT8SIM MEMORY 1\n";
    for (int n = 1; n <= kChannels; ++n) {
        const Channel& c = d_channels[n];
        out << "CH " << ThreeDigits(n) << ' ' << c.frequency << " T" << Flag(c.trunk) << " D"
            << Flag(c.delay) << " L" << Flag(c.lockout) << '\n';
    }
    out << "ACTIVE " << d_activeBanks << '\n';
    for (int b = 0; b < kBanks; ++b) {
        const char letter = char('A' + b);
        const TrunkBank& t = d_trunk[b];
        out << "PRIO " << letter << ' ' << ThreeDigits(d_priority[b]) << '\n';
        out << "NAME " << letter << ' ' << d_bankNames[b] << '\n';
        out << "TYPE " << letter << ' ' << t.typeName << '\n';
        out << "CONTROL " << letter << ' ' << t.controlPlan << '\n';
        out << "FLAGS " << letter << " BT" << Flag(t.statusBit) << " TD" << Flag(t.endCode) << " AF"
            << Flag(t.idFormat) << '\n';
        for (int i = 0; i < kBaseLines; ++i) {
            out << "BASE " << letter << ' ' << i + 1 << ' ' << t.baseLine[i] << '\n';
        }
        for (int i = 0; i < 2; ++i) {
            out << "PLAN " << letter << ' ' << i + 1 << ' ' << t.customPlan[i] << '\n';
        }
        out << "FLEET " << letter;
        for (int code : t.fleet) out << ' ' << code;
        out << '\n';
        for (int row = 0; row < kIdsPerBank; ++row) {
            if (t.ids[row].empty()) continue;
            out << "ID " << letter << ' ' << char('A' + row / 10) << row % 10 << ' ' << t.ids[row]
                << '\n';
        }
    }
    for (int l = 0; l < kListLetters; ++l) {
        for (int i = 0; i < kListIndexes; ++i) {
            if (d_listTags[l][i].empty()) continue;
            out << "LIST " << char('A' + l) << ' ' << i << ' ' << d_listTags[l][i] << '\n';
        }
    }
    for (int i = 0; i < kSearchNames; ++i) {
        if (!d_searchNames[i].empty())
            out << "SEARCH " << char('A' + i) << ' ' << d_searchNames[i] << '\n';
    }
    for (int i = 0; i < kMenuCount; ++i) {
        out << "SETTING " << kMenu[i].path << ' ' << d_settings[i] + 1 << '\n';
    }
    out << savePanel();
    return out.str();
}

bool Scanner::load(std::string_view text, std::string& error) {
    Scanner loaded;
    int lineNumber = 0;
    bool signature = false;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        auto fail = [&] {
            error = "line " + std::to_string(lineNumber) + ": " + std::string(line);
            return false;
        };
        if (!signature) {
            if (line != "BCT8SIM MEMORY 1") return fail();
            signature = true;
            continue;
        }
        const std::vector<std::string_view> w = Split(line);
        const std::string_view kind = w[0];
        // Free text after "KIND X " (bank names, IDs and tags keep inner blanks).
        auto tail = [&](std::size_t words) {
            std::size_t at = 0;
            for (std::size_t i = 0; i < words; ++i) {
                at = line.find(w[i], at) + w[i].size();
            }
            return at < line.size() ? std::string(line.substr(at + 1)) : std::string();
        };
        const int bank = w.size() > 1 && w[1].size() == 1 ? BankOf(w[1][0]) : -1;
        if (loaded.loadPanelLine(w, line)) {
            // a panel line (panel.cpp)
        } else if (kind == "CH" && w.size() == 6) {
            if (!AllDigits(w[1])) return fail();
            const int n = Number(w[1]);
            if (n < 1 || n > kChannels || !ValidFrequency(w[2])) return fail();
            Channel& c = loaded.d_channels[n];
            c.frequency = std::string(w[2]);
            c.trunk = w[3] == "TN";
            c.delay = w[4] == "DN";
            c.lockout = w[5] == "LN";
        } else if (kind == "ACTIVE" && w.size() == 2) {
            loaded.d_activeBanks = std::string(w[1]);
        } else if (bank < 0) {
            if (kind == "LIST" && w.size() >= 3 && w[1].size() == 1 && w[1][0] >= 'A' &&
                w[1][0] < 'A' + kListLetters && w[2].size() == 1 &&
                std::isdigit(static_cast<unsigned char>(w[2][0]))) {
                loaded.d_listTags[w[1][0] - 'A'][w[2][0] - '0'] = tail(3);
            } else if (kind == "SEARCH" && w.size() >= 2 && w[1].size() == 1 && w[1][0] >= 'A' &&
                       w[1][0] < 'A' + kSearchNames) {
                loaded.d_searchNames[w[1][0] - 'A'] = tail(2);
            } else if (kind == "SETTING" && w.size() == 3 && AllDigits(w[2])) {
                for (int i = 0; i < kMenuCount; ++i) {
                    if (w[1] == kMenu[i].path) loaded.d_settings[i] = std::max(0, Number(w[2]) - 1);
                }
            } else {
                return fail();
            }
        } else if (kind == "PRIO" && w.size() == 3 && AllDigits(w[2])) {
            loaded.d_priority[bank] = Number(w[2]);
        } else if (kind == "NAME") {
            loaded.d_bankNames[bank] = tail(2);
        } else if (kind == "TYPE") {
            loaded.d_trunk[bank].typeName = tail(2);
        } else if (kind == "CONTROL" && w.size() == 3 && AllDigits(w[2])) {
            loaded.d_trunk[bank].controlPlan = std::min(4, Number(w[2]));
        } else if (kind == "FLAGS" && w.size() == 5) {
            loaded.d_trunk[bank].statusBit = w[2] == "BTN";
            loaded.d_trunk[bank].endCode = w[3] == "TDN";
            loaded.d_trunk[bank].idFormat = w[4] == "AFN";
        } else if (kind == "BASE" && w.size() >= 3 && w[2].size() == 1 && w[2][0] >= '1' &&
                   w[2][0] <= '3') {
            loaded.d_trunk[bank].baseLine[w[2][0] - '1'] = tail(3);
        } else if (kind == "PLAN" && w.size() >= 3 && (w[2] == "1" || w[2] == "2")) {
            loaded.d_trunk[bank].customPlan[w[2][0] - '1'] = tail(3);
        } else if (kind == "FLEET" && w.size() == 2 + kFleetBlocks) {
            for (int k = 0; k < kFleetBlocks; ++k) {
                if (!AllDigits(w[2 + k])) return fail();
                loaded.d_trunk[bank].fleet[k] = std::min(14, Number(w[2 + k]));
            }
        } else if (kind == "ID" && w.size() == 4 && w[2].size() == 2 && BankOf(w[2][0]) >= 0 &&
                   std::isdigit(static_cast<unsigned char>(w[2][1]))) {
            loaded.d_trunk[bank].ids[BankOf(w[2][0]) * 10 + (w[2][1] - '0')] = std::string(w[3]);
        } else {
            return fail();
        }
    }
    if (!signature) {
        error = "not a bct8sim memory file";
        return false;
    }
    loaded.d_dirty = false;
    *this = loaded;
    return true;
}

}  // namespace bct8sim
