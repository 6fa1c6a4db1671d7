#include "link/scanner_jobs.h"

#include <algorithm>
#include <cstdio>

#include "link/protocol.h"

namespace vex {

const std::array<MenuSettingInfo, kMenuSettings> kMenuSettingInfo{{
    {"Dimmer Light:",
     {"3", "1", "1"},
     {"[ 1:HIGH         ", "[ 2:MEDIUM       "},
     {"High", "Medium"},
     true},
    {"Dimmer Time:",
     {"3", "1", "2"},
     {"[ 1:15SECONDS    ", "[ 2:INFINITE     "},
     {"15 sec.", "Infinite"},
     true},
    {"Screen Mask:", {"3", "2"}, {"[1:ON            ", "[2:OFF           "}, {"On", "Off"}, true},
    {"Key Beep:", {"3", "3"}, {"[1:ON            ", "[2:OFF           "}, {"On", "Off"}, true},
    {"Enter Lock:", {"3", "4"}, {"[1:ON            ", "[2:OFF           "}, {"On", "Off"}, true},
    {"Data Skip:", {"3", "7"}, {"[1:ON            ", "[2:OFF           "}, {"On", "Off"}, true},
    {"SQ Mode:",
     {"3", "8"},
     {"[ 1:CSQ          ", "[ 2:TONE SQ      ", "[ 3:TONE SEARCH  "},
     {"CSQ", "Tone SQ", "Search"},
     true},
    {"Apco Card:",
     {"3", "0"},
     {"[ 1:ENABLE       ", "[ 2:DISABLE      "},
     {"Enable", "Disable"},
     true},
    {"Clone:", {"3", "6"}, {"[MASTER          ", "[SLAVE           "}, {"MASTER", "SLAVE"}, false},
}};

namespace {

constexpr std::string_view kDelayCommands[] = {"DLF",    "DLN +1", "DLN +2", "DLN +4",
                                               "DLN +-", "DLN -2", "DLN -5", "DLN -10"};

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string Three(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%03d", std::clamp(n, 0, 999));
    return text;
}

std::string OnOff(std::string_view prefix, bool on) {
    return std::string(prefix) + (on ? "N" : "F");
}

}  // namespace

std::string_view DelayLengthCommand(int choice) {
    return kDelayCommands[std::clamp(choice, 0, 7)];
}

Task<ScannerJobResult> ScannerJobs::command(std::string text, std::string* reply) {
    const Reply answer = co_await d_link.request(text, kReplyTimeoutMs);
    if (answer.timedOut) {
        co_return ScannerJobResult{false, "The scanner did not answer \"" + text +
                                              "\". Check that it is switched on, connected and "
                                              "in remote mode."};
    }
    std::string line = Trimmed(answer.text);
    if (IsRefusal(line)) co_return ScannerJobResult{false, "The scanner refused \"" + text + "\"."};
    if (reply) *reply = std::move(line);
    co_await d_link.wait(d_settleMs);
    co_return ScannerJobResult{true, {}};
}

Task<ScannerJobResult> ScannerJobs::handshake(bool privateKeyTwice) {
    co_await d_link.wait(d_settleMs);
    d_link.discardInput();
    std::vector<std::string> commands;
    if (privateKeyTwice) {
        commands = {"KEY01", "KEY01"};
    } else {
        commands = {"KEY07"};
    }
    for (const char* c : {"IDF", "CDF", "QUF"}) commands.emplace_back(c);
    for (std::string& c : commands) {
        const ScannerJobResult r = co_await command(std::move(c));
        if (!r.ok) co_return r;
    }
    co_return ScannerJobResult{true, {}};
}

Task<ScannerJobResult> ScannerJobs::readPriorities(std::array<int, 5>& channels) {
    for (int bank = 0; bank < 5; ++bank) {
        std::string reply;
        const ScannerJobResult r = co_await command(PriorityReadCommand(bank), &reply);
        if (!r.ok) co_return r;
        const std::optional<int> channel = ParsePriorityReply(reply, bank);
        if (!channel) {
            co_return ScannerJobResult{false, "The scanner's answer to \"" +
                                                  PriorityReadCommand(bank) +
                                                  "\" is not a priority channel: " + reply};
        }
        channels[static_cast<std::size_t>(bank)] = *channel;
    }
    co_return ScannerJobResult{true, {}};
}

Task<ScannerJobResult> ScannerJobs::sendPriorities(std::array<int, 5> channels) {
    for (int bank = 0; bank < 5; ++bank) {
        const ScannerJobResult r = co_await command(
            PriorityReadCommand(bank) + Three(channels[static_cast<std::size_t>(bank)]));
        if (!r.ok) co_return r;
    }
    co_return ScannerJobResult{true, {}};
}

Task<ScannerJobResult> ScannerJobs::sendBankNames(std::array<std::string, 5> names) {
    for (int bank = 0; bank < 5; ++bank) {
        std::string name = names[static_cast<std::size_t>(bank)].substr(0, 16);
        const ScannerJobResult r = co_await command(BankNameReadCommand(bank) + " " + name);
        if (!r.ok) co_return r;
    }
    co_return ScannerJobResult{true, {}};
}

Task<ScannerJobResult> ScannerJobs::easyProgram(EasyProgramRequest request,
                                                std::function<void(int)> progress) {
    const int first = std::clamp(std::min(request.start, request.end), 1, 250);
    const int last = std::clamp(std::max(request.start, request.end), 1, 250);
    for (int channel = first; channel <= last; ++channel) {
        if (progress) progress(channel);
        std::string reply;
        ScannerJobResult r = co_await command(ChannelReadCommand(channel), &reply);
        if (!r.ok) co_return r;
        std::vector<std::string> commands;
        if (request.trunk) {
            // The held TRUNK key switches the flag over: sent only when it must change.
            ChannelReply parsed;
            const bool known = ParseChannelReply(reply, channel, parsed) == ReplyStatus::Ok;
            const bool trunked = parsed.trunk == 'N';
            if (known && parsed.frequency != "0000.0000" && trunked != *request.trunk)
                commands.emplace_back("KEY13H");
        }
        if (request.delay) commands.emplace_back(DelayLengthCommand(*request.delay));
        if (request.record) commands.push_back(OnOff("AR", *request.record));
        if (request.beepAlert)
            commands.push_back(OnOff("BA", *request.beepAlert) + " C " + Three(channel));
        if (request.lockout) commands.push_back(OnOff("LO", *request.lockout));
        if (request.attenuator) commands.push_back(OnOff("AT", *request.attenuator));
        for (std::string& c : commands) {
            r = co_await command(std::move(c));
            if (!r.ok) co_return r;
        }
    }
    co_return ScannerJobResult{true, {}};
}

Task<ScannerJobResult> ScannerJobs::readSettings(std::array<int, kMenuSettings>& choices) {
    for (int i = 0; i < kMenuSettings; ++i) {
        const MenuSettingInfo& s = kMenuSettingInfo[static_cast<std::size_t>(i)];
        std::vector<std::string> keys{"MA001", "KEY11"};
        for (std::string_view k : s.keys)
            if (!k.empty()) keys.push_back("KEY02 " + std::string(k));
        for (std::string& k : keys) {
            const ScannerJobResult r = co_await command(std::move(k));
            if (!r.ok) co_return r;
        }
        d_link.discardInput();
        std::string display;
        ScannerJobResult r = co_await command("LCD", &display);
        if (!r.ok) co_return r;
        const std::size_t at = display.find("LCD1 ");
        const std::string line = at == std::string::npos ? std::string() : display.substr(at + 5);
        for (int option = 0; option < 3; ++option) {
            const std::string_view text = s.displayed[option];
            if (!text.empty() && line.find(std::string(text) + "][*****") != std::string::npos)
                choices[static_cast<std::size_t>(i)] = option;
        }
        r = co_await command("KEY07");
        if (!r.ok) co_return r;
    }
    co_return ScannerJobResult{true, {}};
}

Task<ScannerJobResult> ScannerJobs::sendSettings(std::array<int, kMenuSettings> choices) {
    for (int i = 0; i < kMenuSettings; ++i) {
        const MenuSettingInfo& s = kMenuSettingInfo[static_cast<std::size_t>(i)];
        const int choice = choices[static_cast<std::size_t>(i)];
        if (!s.written || choice < 0) continue;
        std::vector<std::string> keys{"KEY07", "KEY11"};
        for (std::string_view k : s.keys)
            if (!k.empty()) keys.push_back("KEY02 " + std::string(k));
        keys.push_back("KEY02 " + std::to_string(choice + 1));
        for (std::string& k : keys) {
            const ScannerJobResult r = co_await command(std::move(k));
            if (!r.ok) co_return r;
        }
    }
    co_return ScannerJobResult{true, {}};
}

Task<ScannerJobResult> ScannerJobs::clearMemory() {
    co_return co_await command("AC");
}

}  // namespace vex
