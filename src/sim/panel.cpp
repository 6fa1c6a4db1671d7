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

std::optional<std::string> Scanner::HandleExtras(std::string_view command) {
    ChannelExtras& current = panel_.extras[current_];
    auto set = [&](bool& flag, bool on) {
        flag = on;
        Changed();
        return kOk;
    };
    if (command == "ARN" || command == "ARF") return set(current.record, command[2] == 'N');
    if (command == "ATN" || command == "ATF") return set(current.attenuator, command[2] == 'N');
    if (command.substr(0, 6) == "BAF C " || command.substr(0, 6) == "BAN C ") {
        const std::string_view digits = command.substr(6);
        if (digits.size() != 3 || !AllDigits(digits)) return kErr;
        const int channel = Number(digits);
        if (channel < 1 || channel > kChannels) return kErr;
        return set(panel_.extras[channel].beepAlert, command[2] == 'N');
    }
    if (command.substr(0, 4) == "DLN ") {  // delay lengths
        static constexpr std::string_view kLengths[] = {"+1", "+2", "+4", "+-", "-2", "-5", "-10"};
        const std::string_view length = command.substr(4);
        if (std::find(std::begin(kLengths), std::end(kLengths), length) == std::end(kLengths)) {
            return kErr;
        }
        channels_[current_].delay = true;
        current.delayLength = std::string(length);
        Changed();
        return kOk;
    }
    // A plain delay switch forgets the length; the channel commands do the rest.
    if (command == "DLN" || command == "DLF") current.delayLength.clear();
    return std::nullopt;
}

std::string Scanner::ModeReply() const {
    if (inMenu_) return "MD MENU";
    int code = static_cast<int>(panel_.mode);
    if (hold_ && panel_.mode != PanelMode::kManual) ++code;
    return "MD " + Digits(code, 2);
}

std::optional<std::string> Scanner::HandleKey(std::string_view command) {
    if (command == "LCD") return Display();
    if (command == "MD") return ModeReply();
    if (command == "SQ") return std::string(receiving_ ? "SQ 1" : "SQ 0");

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
        return TypeDigit(rest[1]);
    }
    if (rest == "H") {
        if (key != 4 && key != 5 && key != 6 && key != 13) return kErr;
        return PressKey(key, true);
    }
    if (!rest.empty()) return kErr;
    return PressKey(key, false);
}

std::optional<std::string> Scanner::TypeDigit(char digit) {
    if (inMenu_) {
        int count = 0;
        const MenuSetting* menu = Settings(count);
        for (int i = 0; i < count; ++i) {
            if (menuPath_ != menu[i].path) continue;
            // On a setting's screen the digit picks one of its options.
            const int choice = digit - '1';
            int options = 0;
            while (options < 3 && menu[i].options[options]) ++options;
            if (choice < 0 || choice >= options || menu[i].readOnly) return kErr;
            settings_[i] = choice;
            menuPath_.clear();
            inMenu_ = false;
            Changed();
            return kOk;
        }
        menuPath_ += digit;
        return kOk;
    }
    if (hold_ || panel_.mode == PanelMode::kManual) {
        if (panel_.entry.size() < 9) panel_.entry += digit;
        return kOk;
    }
    // While scanning, the digits 1..5 switch their bank in and out of the scan; one bank
    // always stays in.
    if (digit < '1' || digit > '5') return kOk;
    const char bank = static_cast<char>('A' + (digit - '1'));
    const std::size_t at = activeBanks_.find(bank);
    if (at != std::string::npos) {
        if (activeBanks_.size() > 1) activeBanks_.erase(at, 1);
    } else {
        activeBanks_ += bank;
        std::sort(activeBanks_.begin(), activeBanks_.end());
    }
    Changed();
    return kOk;
}

std::optional<std::string> Scanner::PressKey(int key, bool held) {
    Channel& shown = channels_[shown_];
    const int bank = (shown_ - 1) / kChannelsPerBank;
    switch (key) {
        case 0:  // HLD/RES: hold where it is, or resume
            if (inMenu_) return kOk;
            hold_ = !hold_;
            if (panel_.mode == PanelMode::kManual) {
                panel_.mode = PanelMode::kPrivateScan;
                hold_ = false;
            }
            panel_.entry.clear();
            break;
        case 1:  // PVT: back to scanning the memory
            panel_.mode = PanelMode::kPrivateScan;
            hold_ = inMenu_ = false;
            panel_.entry.clear();
            break;
        case 3:  // "."
            if ((hold_ || panel_.mode == PanelMode::kManual) && panel_.entry.size() < 9 &&
                panel_.entry.find('.') == std::string::npos) {
                panel_.entry += '.';
            }
            return kOk;
        case 4: {  // ENTER: go to the channel or frequency typed while held
            if (held || panel_.entry.empty()) return kOk;
            const std::string entry = std::exchange(panel_.entry, {});
            const std::size_t point = entry.find('.');
            if (point == std::string::npos) {
                const int channel = Number(entry);
                if (channel < 1 || channel > kChannels) return kErr;
                shown_ = current_ = channel;
                hold_ = true;
                if (panel_.mode == PanelMode::kManual) panel_.mode = PanelMode::kPrivateScan;
                break;
            }
            const std::string whole = entry.substr(0, point);
            std::string fraction = entry.substr(point + 1);
            fraction.resize(4, '0');
            if (whole.empty() || whole.size() > 4 || !AllDigits(whole) || !AllDigits(fraction)) {
                return kErr;
            }
            panel_.manualFrequency = Digits(Number(whole), 4) + fraction;
            panel_.mode = PanelMode::kManual;
            hold_ = false;
            break;
        }
        case 5:  // PRI: priority checks on and off; held: this channel becomes the priority
            if (held) {
                priority_[bank] = shown_;
            } else {
                panel_.priority = !panel_.priority;
            }
            break;
        case 6:  // L/O: lock the shown channel out (or in); held: unlock every channel
            if (held) {
                for (Channel& c : channels_) c.lockout = false;
            } else if (shown.frequency != kEmpty) {
                shown.lockout = !shown.lockout;
                // A channel locked out while scanning is left at once.
                if (shown.lockout && !hold_) shown_ = NextChannel(shown_, 1, true);
            }
            break;
        case 7:  // UP, DOWN: step while held, choose the direction while scanning; UP also
        case 8:  // leaves the menu
            if (inMenu_ && key == 7) {
                inMenu_ = false;
                menuPath_.clear();
            } else if (hold_) {
                shown_ = current_ = NextChannel(shown_, key == 7 ? 1 : -1, false);
            } else if (Searching(panel_.mode)) {
                panel_.searchStep = std::max(0, panel_.searchStep + (key == 7 ? 1 : -1));
            } else {
                panel_.scanDown = key == 8;
            }
            return kOk;
        case 9:  // SRCH
            panel_.mode = PanelMode::kBandSearch;
            hold_ = false;
            break;
        case 10:  // SVC
            panel_.mode = PanelMode::kServiceSearch;
            hold_ = false;
            break;
        case 11:  // DATA: the menu
            inMenu_ = true;
            menuPath_.clear();
            return kOk;
        case 12:  // DELAY
            if (shown.frequency == kEmpty) return kOk;
            shown.delay = !shown.delay;
            panel_.extras[shown_].delayLength.clear();
            break;
        case 13: {  // TRUNK: ID scan of a trunked bank; held: the channel's trunk flag
            if (held) {
                Channel& c = channels_[current_];
                if (c.frequency != kEmpty) c.trunk = !c.trunk;
                break;
            }
            const std::string& type = trunk_[bank].typeName;
            if (type.empty()) return kOk;
            if (TrunkScan(panel_.mode)) {
                panel_.mode = PanelMode::kPrivateScan;
            } else if (type.rfind("EDCS", 0) == 0) {
                panel_.mode = PanelMode::kEdacsScan;
            } else if (type.rfind("LT", 0) == 0) {
                panel_.mode = PanelMode::kLtrScan;
            } else {
                panel_.mode = PanelMode::kMotorolaScan;
            }
            hold_ = false;
            break;
        }
        case 14:  // STATE: the highway channels
            panel_.mode = PanelMode::kHighwayScan;
            hold_ = false;
            break;
        default:
            return kOk;
    }
    Changed();
    return kOk;
}

// While scanning, each step moves to the next channel that is programmed, not locked out and
// in an active bank; every fourth step the scanner stops on a channel that is receiving
// (squelch open, "FLASH" on, and for a trunked channel one of its bank's IDs on the second line).
void Scanner::Tick() {
    if (inMenu_ || hold_) {
        receiving_ = false;
        return;
    }
    ++polls_;
    if (Searching(panel_.mode)) {
        receiving_ = polls_ % 5 == 0;
        if (!receiving_) ++panel_.searchStep;
        return;
    }
    if (panel_.mode == PanelMode::kManual) {
        receiving_ = polls_ % 4 == 0;
        return;
    }
    receiving_ = polls_ % 4 == 0 && channels_[shown_].frequency != kEmpty;
    if (!receiving_) shown_ = NextChannel(shown_, panel_.scanDown ? -1 : 1, true);
}

std::string Scanner::Display() {
    if (!scanByTime_) Tick();
    const PanelMode mode = panel_.mode;
    const bool search = Searching(mode);
    const bool manual = mode == PanelMode::kManual;
    const bool scanning = !inMenu_ && !hold_;
    const Channel& c = channels_[shown_];
    const int bank = (shown_ - 1) / kChannelsPerBank;
    const TrunkBank& t = trunk_[bank];
    const int service = panel_.searchStep % kServiceCount;

    std::string line1;
    if (inMenu_) {
        line1 = Line("MENU " + menuPath_);
        int count = 0;
        const MenuSetting* menu = Settings(count);
        for (int i = 0; i < count; ++i) {
            if (menuPath_ == menu[i].path)
                line1 = std::string(menu[i].options[settings_[i]]) + "][*****";
        }
    } else if (!panel_.entry.empty()) {
        line1 = Line("ENTER " + panel_.entry);
    } else {
        const char* name = "PRIVATE";
        if (mode == PanelMode::kBandSearch) name = "BAND SEARCH";
        if (mode == PanelMode::kServiceSearch) name = "SERVICE";
        if (mode == PanelMode::kHighwayScan) name = "HIGHWAY";
        if (TrunkScan(mode)) name = "ID";
        if (manual) {
            line1 = Line("MANUAL");
        } else {
            line1 = Line(std::string(name) + (hold_ ? " HOLD" : search ? "" : " SCAN"));
        }
    }
    std::string line2 = bankNames_[bank];
    if (receiving_ && c.trunk && !search && !manual) {
        std::vector<const std::string*> ids;
        for (const std::string& id : t.ids) {
            if (!id.empty()) ids.push_back(&id);
        }
        if (!ids.empty()) line2 = "ID:" + *ids[static_cast<std::size_t>(polls_ / 4) % ids.size()];
    }
    if (search) line2.clear();
    line2.resize(16, ' ');

    std::string reply = "LCD";
    auto indicator = [&](const char* name, bool on) {
        reply += ' ';
        reply += name;
        reply += on ? " +" : " -";
    };
    const bool memory = !inMenu_ && !search && !manual;
    indicator("TRUNK", memory && c.trunk);
    indicator("M", manual);
    indicator("E", !panel_.entry.empty());
    indicator("L", false);
    indicator("LIST", TrunkScan(mode));
    indicator("BANK", memory);
    indicator("RMT", true);
    indicator("MLOCK", false);
    indicator("HWY", mode == PanelMode::kHighwayScan);
    indicator("PVT", mode == PanelMode::kPrivateScan && !inMenu_);
    for (int i = 0; i < kServiceCount; ++i) {
        if (i == 4) {
            for (const char* other : {"NEWS", "CB"}) indicator(other, false);
        }
        indicator(kServiceNames[i], mode == PanelMode::kServiceSearch && service == i);
    }
    indicator("RR", false);
    indicator("HOLD", hold_);
    indicator("UP", scanning && !panel_.scanDown && !manual);
    indicator("SRCH", search);
    indicator("DOWN", scanning && panel_.scanDown && !manual);
    indicator("PRI", panel_.priority);
    indicator("LOUT", memory && c.lockout);
    indicator("DLY", memory && c.delay);
    indicator("DATA", inMenu_);
    indicator("FLASH", receiving_);
    indicator("P", memory && priority_[bank] == shown_);
    reply += " BNK ";
    for (int b = 0; b < kBanks; ++b) {
        reply += activeBanks_.find(static_cast<char>('A' + b)) != std::string::npos ? '*' : '-';
    }
    std::string frequency = c.frequency;
    if (search) {
        frequency = mode == PanelMode::kBandSearch ? SearchFrequency(panel_.searchStep)
                                                   : kServiceFrequencies[service];
    }
    if (manual) frequency = panel_.manualFrequency;
    reply += " CHN [" + (memory ? Digits(shown_, 3) : std::string("---")) + "]";
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
std::string Scanner::SavePanel() const {
    std::string out;
    out += ModeReply().replace(0, 3, "PANEL MODE ") + "\n";
    out += "PANEL CHANNEL " + Digits(shown_, 3) + "\n";
    out += std::string("PANEL PRIORITY ") + Flag(panel_.priority) + "\n";
    out += std::string("PANEL DIRECTION ") + (panel_.scanDown ? "DOWN" : "UP") + "\n";
    if (!panel_.manualFrequency.empty()) out += "PANEL MANUAL " + panel_.manualFrequency + "\n";
    for (int n = 1; n <= kChannels; ++n) {
        const ChannelExtras& e = panel_.extras[n];
        if (e == ChannelExtras{}) continue;
        out += "EXTRA " + Digits(n, 3) + " AR" + Flag(e.record) + " BA" + Flag(e.beepAlert) +
               " AT" + Flag(e.attenuator) + " DL" + (e.delayLength.empty() ? "=" : e.delayLength) +
               "\n";
    }
    return out;
}

bool Scanner::LoadPanelLine(const std::vector<std::string_view>& w, std::string_view) {
    if (w.size() == 3 && w[0] == "PANEL") {
        if (w[1] == "MODE") {
            if (w[2] == "MENU") return true;  // the menu is left on a restart
            if (!AllDigits(w[2])) return false;
            // A held mode is its mode's code plus one.
            static constexpr int kModes[] = {0, 2, 4, 6, 13, 17, 21, 23};
            const int code = Number(w[2]);
            for (int mode : kModes) {
                if (code == mode || (code == mode + 1 && mode != 23)) {
                    panel_.mode = static_cast<PanelMode>(mode);
                    hold_ = code != mode;
                    return true;
                }
            }
            return false;
        }
        if (w[1] == "CHANNEL" && AllDigits(w[2])) {
            shown_ = current_ = std::clamp(Number(w[2]), 1, kChannels);
            return true;
        }
        if (w[1] == "PRIORITY") {
            panel_.priority = w[2] == "N";
            return true;
        }
        if (w[1] == "DIRECTION") {
            panel_.scanDown = w[2] == "DOWN";
            return true;
        }
        if (w[1] == "MANUAL" && w[2].size() == 8 && AllDigits(w[2])) {
            panel_.manualFrequency = std::string(w[2]);
            return true;
        }
        return false;
    }
    if (w.size() == 6 && w[0] == "EXTRA" && AllDigits(w[1])) {
        const int n = Number(w[1]);
        if (n < 1 || n > kChannels || w[5].size() < 3) return false;
        ChannelExtras& e = panel_.extras[n];
        e.record = w[2] == "ARN";
        e.beepAlert = w[3] == "BAN";
        e.attenuator = w[4] == "ATN";
        e.delayLength = w[5].substr(2) == "=" ? std::string() : std::string(w[5].substr(2));
        return true;
    }
    return false;
}

}  // namespace bct8sim
