#include "scripted_scanner.h"

#include <algorithm>

namespace vex::test {

namespace {
bool StartsWith(const std::string& s, std::string_view p) {
    return s.compare(0, p.size(), p) == 0;
}
}  // namespace

ScriptedScanner::ScriptedScanner(FakeScheduler& clock) : d_clock(clock) {}

TransportStatus ScriptedScanner::open() {
    ++opens;
    if (openStatus.ok()) d_open = true;
    return openStatus;
}

std::vector<std::string> ScriptedScanner::texts() const {
    std::vector<std::string> out;
    for (const SentCommand& c : sent) out.push_back(c.text);
    return out;
}

std::vector<std::string> ScriptedScanner::textsFrom(const std::string& from) const {
    std::vector<std::string> all = texts();
    auto it = std::find(all.begin(), all.end(), from);
    return std::vector<std::string>(it, all.end());
}

void ScriptedScanner::write(std::string_view bytes) {
    if (!d_open) return;
    d_partial.append(bytes);
    // Commands end with CR LF, band plan lines with CR alone.
    std::size_t end;
    while ((end = d_partial.find('\r')) != std::string::npos) {
        std::string command = d_partial.substr(0, end);
        std::size_t skip = end + 1;
        if (skip < d_partial.size() && d_partial[skip] == '\n') ++skip;
        d_partial.erase(0, skip);
        sent.push_back({d_clock.now(), command});
        const int count = ++d_counts[command];
        if (disconnectAfter > 0 && static_cast<int>(sent.size()) >= disconnectAfter) {
            d_open = false;
            d_clock.startTimer(1, [this] {
                fault({TransportFault::Disconnected, "The scanner is no longer connected.",
                       "Input/output error"});
            });
            return;
        }
        std::optional<std::string> reply = answer(command);
        if (override_) {
            if (auto replaced = override_(command, count)) reply = *replaced;
        }
        if (reply) deliverLater(*reply);
    }
}

void ScriptedScanner::deliverLater(std::string reply) {
    const int parts = std::max(1, std::min<int>(pieces, static_cast<int>(reply.size())));
    const std::size_t size = reply.size() / static_cast<std::size_t>(parts);
    for (int i = 0; i < parts; ++i) {
        const std::size_t from = size * static_cast<std::size_t>(i);
        std::string piece = i == parts - 1 ? reply.substr(from) : reply.substr(from, size);
        d_clock.startTimer(latencyMs + i, [this, piece] {
            if (d_open) deliver(piece);
        });
    }
}

std::optional<std::string> ScriptedScanner::answer(const std::string& c) {
    auto channelOf = [](const std::string& digits) {
        const int n = std::stoi(digits);
        return n == 0 ? 1000 : n;
    };
    if (c.empty()) return std::nullopt;
    if (c == "SI") return identification + "\r";
    if (c == "VR") return std::string("VR 1.04\r");
    if (StartsWith(c, "KEY")) return std::string("OK\r");
    if ((StartsWith(c, "MA") || StartsWith(c, "PM")) && c.size() == 5) {
        const int n = channelOf(c.substr(2, 3));
        if (n < 1 || n > 250) return std::string("ERR\r");
        const ScannerChannel& ch = channels[static_cast<std::size_t>(n)];
        return "C" + c.substr(2, 3) + " F" + ch.wire + " T" + ch.trunk + " D" + ch.delay + " L" +
               ch.lockout + "\r";
    }
    if (StartsWith(c, "PM") && c.size() == 14) {
        const int n = channelOf(c.substr(2, 3));
        if (n < 1 || n > 250) return std::string("ERR\r");
        ScannerChannel& ch = channels[static_cast<std::size_t>(n)];
        ch.wire = c.substr(6, 8);
        ch.trunk = c[5] == 'T' ? 'N' : 'F';
        d_lastProgrammed = n;
        return std::string("OK\r");
    }
    if (c == "LON" || c == "LOF") {
        channels[static_cast<std::size_t>(d_lastProgrammed)].lockout = c[2];
        return std::string("OK\r");
    }
    if (c == "DLN" || c == "DLF") {
        channels[static_cast<std::size_t>(d_lastProgrammed)].delay = c[2];
        return std::string("OK\r");
    }
    if (StartsWith(c, "PC ") && c.size() == 4) {
        const int b = c[3] - 'A';
        if (b < 0 || b > 4) return std::string("ERR\r");
        char digits[8];
        std::snprintf(digits, sizeof digits, "%03d", priority[static_cast<std::size_t>(b)]);
        return c + digits + "\r";
    }
    if (StartsWith(c, "TB ") && c.size() == 4) {
        const int b = c[3] - 'A';
        if (b < 0 || b > 4) return c + " \r";
        return c + " " + typeNames[static_cast<std::size_t>(b)] + "\r";
    }
    if (StartsWith(c, "TA B ") && c.size() == 6) {
        const int b = c[5] - 'A';
        if (b < 0 || b > 4) return std::string("ERR\r");
        return c + " " + bankNames[static_cast<std::size_t>(b)] + "\r";
    }
    if (StartsWith(c, "TA L ") && c.size() == 8 && c[6] == ' ') {
        const int l = c[5] - 'A';
        const int i = c[7] - '0';
        if (l < 0 || l >= listLetters || i < 0 || i > 9) return std::string("ERR\r");
        const std::string& tag = listTags[static_cast<std::size_t>(l)][static_cast<std::size_t>(i)];
        return c + " " + (tag.empty() ? std::string("-") : tag) + "\r";
    }
    if (StartsWith(c, "TA S ") && c.size() == 6) {
        const int r = c[5] - 'A';
        if (r < 0 || r > 8) return std::string("ERR\r");
        return c + " " + searchNames[static_cast<std::size_t>(r)] + "\r";
    }
    if (StartsWith(c, "TBN ")) {
        d_bankSelected = c[4] - 'A';
        return std::string("OK\r");
    }
    if (StartsWith(c, "TR ") && c.size() > 9) {
        // "TR A 4 04160000 0125 381 1": a base line of a Type 2 VHF/UHF bank.
        const std::string line = c.substr(7);
        const std::size_t last = line.rfind(' ');
        if (last != std::string::npos)
            settings["BC " + std::string(1, c[3]) + line.substr(last + 1)] = line.substr(0, last);
        return std::string("OK\r");
    }
    if (StartsWith(c, "TR ") || StartsWith(c, "CP ") || StartsWith(c, "SB ") ||
        (StartsWith(c, "FB ") && c.size() > 4) || StartsWith(c, "TCF ") || StartsWith(c, "TCN ")) {
        if (StartsWith(c, "TCF ") || StartsWith(c, "TCN "))
            settings["TC " + std::string(1, c[4])] = c;
        if (StartsWith(c, "FB ")) settings[c.substr(0, 6)] = c.substr(7);
        return std::string("OK\r");
    }
    if (c == "BTN" || c == "BTF" || c == "TDN" || c == "TDF" || c == "AFN" || c == "AFF") {
        settings[c.substr(0, 2) + " " + std::string(1, static_cast<char>('A' + d_bankSelected))] =
            c;
        return std::string("OK\r");
    }
    if (c == "BT" || c == "TD" || c == "AF") {
        auto it = settings.find(c + " " + std::string(1, static_cast<char>('A' + d_bankSelected)));
        return (it == settings.end() ? c + "F" : it->second) + "\r";
    }
    if (StartsWith(c, "TC ") && c.size() == 4) {
        auto it = settings.find(c);
        return (it == settings.end() ? std::string("TCF") : it->second) + "\r";
    }
    if (StartsWith(c, "BC ") && c.size() == 5) {
        auto it = settings.find(c);
        return c + " " + (it == settings.end() ? std::string("00000000 0000 000") : it->second) +
               "\r";
    }
    if (StartsWith(c, "FB ") && c.size() == 4) {
        std::string reply = c;
        for (int k = 0; k < 8; ++k) {
            auto it = settings.find(c + " " + std::to_string(k));
            reply += " " + std::string(1, c[3]) + " " + std::to_string(k) + " " +
                     (it == settings.end() ? std::string("00") : it->second);
        }
        return reply + "\r";
    }
    if (StartsWith(c, "TG ")) {
        if (c.size() == 7) {
            if (c[5] < 'A' || c[5] > 'E') return std::string("ERR\r");
            auto it = ids.find(c);
            return c + " " +
                   (it == ids.end() || it->second.empty() ? std::string("------") : it->second) +
                   "\r";
        }
        const std::string key = c.substr(0, 7);
        const std::string value = c.substr(8);
        ids[key] = value == "0" || value == "------" ? std::string() : value;
        return std::string("OK\r");
    }
    return std::string("ERR\r");
}

}  // namespace vex::test
