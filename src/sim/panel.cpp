// The simulated scanner's front panel: keys, the display ("LCD"), the mode ("MD"), the squelch
// ("SQ") and the per-channel commands of the easy programming dialog.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

#include "scanner.h"

namespace bct8sim {
namespace {

const std::string kOk = "OK";
const std::string kErr = "ERR";
constexpr const char* kEmpty = "00000000";

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

std::string Digits(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

// "[TEXT            ]": sixteen characters between brackets.
std::string Line(std::string text) {
    text.resize(16, ' ');
    return "[" + text + "]";
}

char Flag(bool on) {
    return on ? 'N' : 'F';
}

// The service search walks these (police, fire, air, weather, marine).
constexpr const char* kServiceFrequencies[] = {"01550000", "01544300", "01210000", "01625500",
                                               "01568000"};
constexpr const char* kServiceNames[] = {"POL", "FIRE", "AIR", "WX", "MRN"};
constexpr int kServiceCount = 5;

// The band search steps 12.5 kHz through 851..869 MHz.
std::string SearchFrequency(int step) {
    const int units = 8510000 + (step % 1440) * 125;
    return Digits(units, 8);
}

bool Searching(PanelMode mode) {
    return mode == PanelMode::kBandSearch || mode == PanelMode::kServiceSearch;
}

bool TrunkScan(PanelMode mode) {
    return mode == PanelMode::kMotorolaScan || mode == PanelMode::kEdacsScan ||
           mode == PanelMode::kLtrScan;
}

}  // namespace

std::optional<std::string> Scanner::handleExtras(std::string_view command) {
    ChannelExtras& current = d_panel.extras[d_current];
    auto set = [&](bool& flag, bool on) {
        flag = on;
        changed();
        return kOk;
    };
    if (command == "ARN" || command == "ARF") return set(current.record, command[2] == 'N');
    if (command == "ATN" || command == "ATF") return set(current.attenuator, command[2] == 'N');
    if (command.substr(0, 6) == "BAF C " || command.substr(0, 6) == "BAN C ") {
        const std::string_view digits = command.substr(6);
        if (digits.size() != 3 || !AllDigits(digits)) return kErr;
        const int channel = Number(digits);
        if (channel < 1 || channel > kChannels) return kErr;
        return set(d_panel.extras[channel].beepAlert, command[2] == 'N');
    }
    if (command.substr(0, 4) == "DLN ") {  // delay lengths
        static constexpr std::string_view kLengths[] = {"+1", "+2", "+4", "+-", "-2", "-5", "-10"};
        const std::string_view length = command.substr(4);
        if (std::find(std::begin(kLengths), std::end(kLengths), length) == std::end(kLengths)) {
            return kErr;
        }
        d_channels[d_current].delay = true;
        current.delayLength = std::string(length);
        changed();
        return kOk;
    }
    // A plain delay switch forgets the length; the channel commands do the rest.
    if (command == "DLN" || command == "DLF") current.delayLength.clear();
    return std::nullopt;
}

std::string Scanner::modeReply() const {
    if (d_inMenu) return "MD MENU";
    int code = static_cast<int>(d_panel.mode);
    if (d_hold && d_panel.mode != PanelMode::kManual) ++code;
    return "MD " + Digits(code, 2);
}

std::optional<std::string> Scanner::handleKey(std::string_view command) {
    if (command == "LCD") return display();
    if (command == "MD") return modeReply();
    if (command == "SQ") return std::string(d_receiving ? "SQ 1" : "SQ 0");

    // "KEYnn", "KEYnnH", "KEY02 d".
    std::string_view rest = command.substr(3);
    if (rest.size() < 2 || !AllDigits(rest.substr(0, 2))) return kErr;
    const int key = Number(rest.substr(0, 2));
    rest.remove_prefix(2);
    if (key > 14) return kErr;
    if (key == 2) {
        if (rest.size() != 2 || rest[0] != ' ' ||
            !std::isdigit(static_cast<unsigned char>(rest[1]))) {
            return kErr;
        }
        return typeDigit(rest[1]);
    }
    if (rest == "H") {
        if (key != 4 && key != 5 && key != 6 && key != 13) return kErr;
        return pressKey(key, true);
    }
    if (!rest.empty()) return kErr;
    return pressKey(key, false);
}

std::optional<std::string> Scanner::typeDigit(char digit) {
    if (d_inMenu) {
        int count = 0;
        const MenuSetting* menu = settings(count);
        for (int i = 0; i < count; ++i) {
            if (d_menuPath != menu[i].path) continue;
            // On a setting's screen the digit picks one of its options.
            const int choice = digit - '1';
            int options = 0;
            while (options < 3 && menu[i].options[options]) ++options;
            if (choice < 0 || choice >= options || menu[i].readOnly) return kErr;
            d_settings[i] = choice;
            d_menuPath.clear();
            d_inMenu = false;
            changed();
            return kOk;
        }
        d_menuPath += digit;
        return kOk;
    }
    if (d_hold || d_panel.mode == PanelMode::kManual) {
        if (d_panel.entry.size() < 9) d_panel.entry += digit;
        return kOk;
    }
    // While scanning, the digits 1..5 switch their bank in and out of the scan; one bank
    // always stays in.
    if (digit < '1' || digit > '5') return kOk;
    const char bank = static_cast<char>('A' + (digit - '1'));
    const std::size_t at = d_activeBanks.find(bank);
    if (at != std::string::npos) {
        if (d_activeBanks.size() > 1) d_activeBanks.erase(at, 1);
    } else {
        d_activeBanks += bank;
        std::sort(d_activeBanks.begin(), d_activeBanks.end());
    }
    changed();
    return kOk;
}

std::optional<std::string> Scanner::pressKey(int key, bool held) {
    Channel& shown = d_channels[d_shown];
    const int bank = (d_shown - 1) / kChannelsPerBank;
    switch (key) {
        case 0:  // HLD/RES: hold where it is, or resume
            if (d_inMenu) return kOk;
            d_hold = !d_hold;
            if (d_panel.mode == PanelMode::kManual) {
                d_panel.mode = PanelMode::kPrivateScan;
                d_hold = false;
            }
            d_panel.entry.clear();
            break;
        case 1:  // PVT: back to scanning the memory
            d_panel.mode = PanelMode::kPrivateScan;
            d_hold = d_inMenu = false;
            d_panel.entry.clear();
            break;
        case 3:  // "."
            if ((d_hold || d_panel.mode == PanelMode::kManual) && d_panel.entry.size() < 9 &&
                d_panel.entry.find('.') == std::string::npos) {
                d_panel.entry += '.';
            }
            return kOk;
        case 4: {  // ENTER: go to the channel or frequency typed while held
            if (held || d_panel.entry.empty()) return kOk;
            const std::string entry = std::exchange(d_panel.entry, {});
            const std::size_t point = entry.find('.');
            if (point == std::string::npos) {
                const int channel = Number(entry);
                if (channel < 1 || channel > kChannels) return kErr;
                d_shown = d_current = channel;
                d_hold = true;
                if (d_panel.mode == PanelMode::kManual) d_panel.mode = PanelMode::kPrivateScan;
                break;
            }
            const std::string whole = entry.substr(0, point);
            std::string fraction = entry.substr(point + 1);
            fraction.resize(4, '0');
            if (whole.empty() || whole.size() > 4 || !AllDigits(whole) || !AllDigits(fraction)) {
                return kErr;
            }
            d_panel.manualFrequency = Digits(Number(whole), 4) + fraction;
            d_panel.mode = PanelMode::kManual;
            d_hold = false;
            break;
        }
        case 5:  // PRI: priority checks on and off; held: this channel becomes the priority
            if (held) {
                d_priority[bank] = d_shown;
            } else {
                d_panel.priority = !d_panel.priority;
            }
            break;
        case 6:  // L/O: lock the shown channel out (or in); held: unlock every channel
            if (held) {
                for (Channel& c : d_channels) c.lockout = false;
            } else if (shown.frequency != kEmpty) {
                shown.lockout = !shown.lockout;
                // A channel locked out while scanning is left at once.
                if (shown.lockout && !d_hold) d_shown = nextChannel(d_shown, 1, true);
            }
            break;
        case 7:  // UP, DOWN: step while held, choose the direction while scanning; UP also
        case 8:  // leaves the menu
            if (d_inMenu && key == 7) {
                d_inMenu = false;
                d_menuPath.clear();
            } else if (d_hold) {
                d_shown = d_current = nextChannel(d_shown, key == 7 ? 1 : -1, false);
            } else if (Searching(d_panel.mode)) {
                d_panel.searchStep = std::max(0, d_panel.searchStep + (key == 7 ? 1 : -1));
            } else {
                d_panel.scanDown = key == 8;
            }
            return kOk;
        case 9:  // SRCH
            d_panel.mode = PanelMode::kBandSearch;
            d_hold = false;
            break;
        case 10:  // SVC
            d_panel.mode = PanelMode::kServiceSearch;
            d_hold = false;
            break;
        case 11:  // DATA: the menu
            d_inMenu = true;
            d_menuPath.clear();
            return kOk;
        case 12:  // DELAY
            if (shown.frequency == kEmpty) return kOk;
            shown.delay = !shown.delay;
            d_panel.extras[d_shown].delayLength.clear();
            break;
        case 13: {  // TRUNK: ID scan of a trunked bank; held: the channel's trunk flag
            if (held) {
                Channel& c = d_channels[d_current];
                if (c.frequency != kEmpty) c.trunk = !c.trunk;
                break;
            }
            const std::string& type = d_trunk[bank].typeName;
            if (type.empty()) return kOk;
            if (TrunkScan(d_panel.mode)) {
                d_panel.mode = PanelMode::kPrivateScan;
            } else if (type.rfind("EDCS", 0) == 0) {
                d_panel.mode = PanelMode::kEdacsScan;
            } else if (type.rfind("LT", 0) == 0) {
                d_panel.mode = PanelMode::kLtrScan;
            } else {
                d_panel.mode = PanelMode::kMotorolaScan;
            }
            d_hold = false;
            break;
        }
        case 14:  // STATE: the highway channels
            d_panel.mode = PanelMode::kHighwayScan;
            d_hold = false;
            break;
        default:
            return kOk;
    }
    changed();
    return kOk;
}

// While scanning, each step moves to the next channel that is programmed, not locked out and
// in an active bank; every fourth step the scanner stops on a channel that is receiving
// (squelch open, "FLASH" on, and for a trunked channel one of its bank's IDs on the second line).
void Scanner::tick() {
    if (d_inMenu || d_hold) {
        d_receiving = false;
        return;
    }
    ++d_polls;
    if (Searching(d_panel.mode)) {
        d_receiving = d_polls % 5 == 0;
        if (!d_receiving) ++d_panel.searchStep;
        return;
    }
    if (d_panel.mode == PanelMode::kManual) {
        d_receiving = d_polls % 4 == 0;
        return;
    }
    d_receiving = d_polls % 4 == 0 && d_channels[d_shown].frequency != kEmpty;
    if (!d_receiving) d_shown = nextChannel(d_shown, d_panel.scanDown ? -1 : 1, true);
}

std::string Scanner::display() {
    if (!d_scanByTime) tick();
    const PanelMode mode = d_panel.mode;
    const bool search = Searching(mode);
    const bool manual = mode == PanelMode::kManual;
    const bool scanning = !d_inMenu && !d_hold;
    const Channel& c = d_channels[d_shown];
    const int bank = (d_shown - 1) / kChannelsPerBank;
    const TrunkBank& t = d_trunk[bank];
    const int service = d_panel.searchStep % kServiceCount;

    std::string line1;
    if (d_inMenu) {
        line1 = Line("MENU " + d_menuPath);
        int count = 0;
        const MenuSetting* menu = settings(count);
        for (int i = 0; i < count; ++i) {
            if (d_menuPath == menu[i].path)
                line1 = std::string(menu[i].options[d_settings[i]]) + "][*****";
        }
    } else if (!d_panel.entry.empty()) {
        line1 = Line("ENTER " + d_panel.entry);
    } else {
        const char* name = "PRIVATE";
        if (mode == PanelMode::kBandSearch) name = "BAND SEARCH";
        if (mode == PanelMode::kServiceSearch) name = "SERVICE";
        if (mode == PanelMode::kHighwayScan) name = "HIGHWAY";
        if (TrunkScan(mode)) name = "ID";
        if (manual) {
            line1 = Line("MANUAL");
        } else {
            line1 = Line(std::string(name) + (d_hold ? " HOLD" : search ? "" : " SCAN"));
        }
    }
    std::string line2 = d_bankNames[bank];
    if (d_receiving && c.trunk && !search && !manual) {
        std::vector<const std::string*> ids;
        for (const std::string& id : t.ids) {
            if (!id.empty()) ids.push_back(&id);
        }
        if (!ids.empty()) line2 = "ID:" + *ids[static_cast<std::size_t>(d_polls / 4) % ids.size()];
    }
    if (search) line2.clear();
    line2.resize(16, ' ');

    std::string reply = "LCD";
    auto indicator = [&](const char* name, bool on) {
        reply += ' ';
        reply += name;
        reply += on ? " +" : " -";
    };
    const bool memory = !d_inMenu && !search && !manual;
    indicator("TRUNK", memory && c.trunk);
    indicator("M", manual);
    indicator("E", !d_panel.entry.empty());
    indicator("L", false);
    indicator("LIST", TrunkScan(mode));
    indicator("BANK", memory);
    indicator("RMT", true);
    indicator("MLOCK", false);
    indicator("HWY", mode == PanelMode::kHighwayScan);
    indicator("PVT", mode == PanelMode::kPrivateScan && !d_inMenu);
    for (int i = 0; i < kServiceCount; ++i) {
        if (i == 4) {
            for (const char* other : {"NEWS", "CB"}) indicator(other, false);
        }
        indicator(kServiceNames[i], mode == PanelMode::kServiceSearch && service == i);
    }
    indicator("RR", false);
    indicator("HOLD", d_hold);
    indicator("UP", scanning && !d_panel.scanDown && !manual);
    indicator("SRCH", search);
    indicator("DOWN", scanning && d_panel.scanDown && !manual);
    indicator("PRI", d_panel.priority);
    indicator("LOUT", memory && c.lockout);
    indicator("DLY", memory && c.delay);
    indicator("DATA", d_inMenu);
    indicator("FLASH", d_receiving);
    indicator("P", memory && d_priority[bank] == d_shown);
    reply += " BNK ";
    for (int b = 0; b < kBanks; ++b) {
        reply += d_activeBanks.find(static_cast<char>('A' + b)) != std::string::npos ? '*' : '-';
    }
    std::string frequency = c.frequency;
    if (search) {
        frequency = mode == PanelMode::kBandSearch ? SearchFrequency(d_panel.searchStep)
                                                   : kServiceFrequencies[service];
    }
    if (manual) frequency = d_panel.manualFrequency;
    reply += " CHN [" + (memory ? Digits(d_shown, 3) : std::string("---")) + "]";
    if (frequency == kEmpty) {
        reply += " FRQ [-- ---]";
    } else {
        reply += " FRQ [" + frequency.substr(0, 4) + "." + frequency.substr(4) + "]";
    }
    reply += " LCD1 " + line1 + " LCD2 [" + line2 + "]";
    return reply;
}

// Memory file lines: "PANEL MODE 01", "PANEL CHANNEL 005", "PANEL PRIORITY N",
// "PANEL DIRECTION UP", "PANEL MANUAL 01625500", and per channel with extras
// "EXTRA 005 ARN BAF ATF DL+2".
std::string Scanner::savePanel() const {
    std::string out;
    out += modeReply().replace(0, 3, "PANEL MODE ") + "\n";
    out += "PANEL CHANNEL " + Digits(d_shown, 3) + "\n";
    out += std::string("PANEL PRIORITY ") + Flag(d_panel.priority) + "\n";
    out += std::string("PANEL DIRECTION ") + (d_panel.scanDown ? "DOWN" : "UP") + "\n";
    if (!d_panel.manualFrequency.empty()) out += "PANEL MANUAL " + d_panel.manualFrequency + "\n";
    for (int n = 1; n <= kChannels; ++n) {
        const ChannelExtras& e = d_panel.extras[n];
        if (e == ChannelExtras{}) continue;
        out += "EXTRA " + Digits(n, 3) + " AR" + Flag(e.record) + " BA" + Flag(e.beepAlert) +
               " AT" + Flag(e.attenuator) + " DL" + (e.delayLength.empty() ? "=" : e.delayLength) +
               "\n";
    }
    return out;
}

bool Scanner::loadPanelLine(const std::vector<std::string_view>& w, std::string_view) {
    if (w.size() == 3 && w[0] == "PANEL") {
        if (w[1] == "MODE") {
            if (w[2] == "MENU") return true;  // the menu is left on a restart
            if (!AllDigits(w[2])) return false;
            // A held mode is its mode's code plus one.
            static constexpr int kModes[] = {0, 2, 4, 6, 13, 17, 21, 23};
            const int code = Number(w[2]);
            for (int mode : kModes) {
                if (code == mode || (code == mode + 1 && mode != 23)) {
                    d_panel.mode = static_cast<PanelMode>(mode);
                    d_hold = code != mode;
                    return true;
                }
            }
            return false;
        }
        if (w[1] == "CHANNEL" && AllDigits(w[2])) {
            d_shown = d_current = std::clamp(Number(w[2]), 1, kChannels);
            return true;
        }
        if (w[1] == "PRIORITY") {
            d_panel.priority = w[2] == "N";
            return true;
        }
        if (w[1] == "DIRECTION") {
            d_panel.scanDown = w[2] == "DOWN";
            return true;
        }
        if (w[1] == "MANUAL" && w[2].size() == 8 && AllDigits(w[2])) {
            d_panel.manualFrequency = std::string(w[2]);
            return true;
        }
        return false;
    }
    if (w.size() == 6 && w[0] == "EXTRA" && AllDigits(w[1])) {
        const int n = Number(w[1]);
        if (n < 1 || n > kChannels || w[5].size() < 3) return false;
        ChannelExtras& e = d_panel.extras[n];
        e.record = w[2] == "ARN";
        e.beepAlert = w[3] == "BAN";
        e.attenuator = w[4] == "ATN";
        e.delayLength = w[5].substr(2) == "=" ? std::string() : std::string(w[5].substr(2));
        return true;
    }
    return false;
}

}  // namespace bct8sim
