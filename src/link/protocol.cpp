#include "link/protocol.h"

#include <algorithm>
#include <cstdio>

#include "core/frequency.h"
#include "core/numeric.h"
#include "core/text.h"
#include "link/trunk_groups.h"

namespace vex {
namespace {

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!IsDigit(c)) return false;
    return true;
}

// The text from `from` up to the carriage return (or the end), without trailing blanks.
std::string ValueUntilReplyEnd(std::string_view reply, std::size_t from) {
    if (from > reply.size()) return {};
    std::size_t end = reply.find(kReplyEnd, from);
    if (end == std::string_view::npos) end = reply.size();
    std::string_view value = reply.substr(from, end - from);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\n' || value.back() == '\t'))
        value.remove_suffix(1);
    return std::string(value);
}

std::string Padded(long value, int width) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%0*ld", width, value);
    return buffer;
}

std::string Letter(int bank) {
    return std::string(1, BankLetter(bank));
}

// Splits at blanks, carriage returns and line feeds.
std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\r' || text[i] == '\n')) ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\r' && text[i] != '\n') ++i;
        if (i > start) tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

}  // namespace

std::string ChannelDigits(int channel) {
    return Padded(((channel % 1000) + 1000) % 1000, 3);
}

char BankLetter(int bank) {
    return static_cast<char>('A' + bank);
}

bool IsRefusal(std::string_view reply) {
    return reply.find("ERR") != std::string_view::npos;
}

std::optional<std::string> WireFrequency(std::string_view stored) {
    // Only a plain number is taken: a text the lenient parse would read differently ("162,55"
    // as 162, "abc" as an empty channel) would give the scanner another channel than the table
    // shows.
    while (!stored.empty() && stored.front() == ' ') stored.remove_prefix(1);
    while (!stored.empty() && stored.back() == ' ') stored.remove_suffix(1);
    if (stored.empty()) return std::string(kEmptyWireFrequency);
    const std::size_t point = stored.find('.');
    std::string_view whole = stored.substr(0, point);
    std::string_view decimals =
        point == std::string_view::npos ? std::string_view() : stored.substr(point + 1);
    if ((!whole.empty() && !AllDigits(whole)) || (!decimals.empty() && !AllDigits(decimals)) ||
        (whole.empty() && decimals.empty()))
        return std::nullopt;
    while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
    // Steps finer than 100 Hz cannot be sent without changing the frequency.
    while (decimals.size() > 4 && decimals.back() == '0') decimals.remove_suffix(1);
    if (whole.size() > 4 || decimals.size() > 4) return std::nullopt;
    std::string wire(4 - whole.size(), '0');
    wire += whole;
    wire += decimals;
    wire.append(8 - wire.size(), '0');
    if (wire == kEmptyWireFrequency) return wire;
    if (!BandEdgeFor(IntegerValue(wire.substr(0, 4))).empty()) return std::nullopt;
    return wire;
}

std::string MemoryFrequency(std::string_view wire) {
    return std::string(wire.substr(0, 4)) + "." + std::string(wire.substr(4, 4));
}

std::string ChannelReadCommand(int channel) {
    return "MA" + ChannelDigits(channel);
}
std::string ChannelFirstReadCommand(int channel) {
    return "PM" + ChannelDigits(channel);
}

std::string ChannelWriteCommand(int channel, std::string_view wireFrequency, bool trunked) {
    return "PM" + ChannelDigits(channel) + (trunked ? "T" : " ") + std::string(wireFrequency);
}

std::string ChannelClearCommand(int channel) {
    return "PM" + ChannelDigits(channel) + " " + std::string(kEmptyWireFrequency);
}

std::string LockoutCommand(std::string_view field) {
    return field == "1" ? "LON" : "LOF";
}
std::string DelayCommand(std::string_view field) {
    return field == "1" ? "DLN" : "DLF";
}

ReplyStatus ParseChannelReply(std::string_view reply, int channel, ChannelReply& out) {
    const std::string marker = "C" + ChannelDigits(channel);
    const std::size_t at = reply.find(marker);
    const ReplyStatus failure = IsRefusal(reply) ? ReplyStatus::Refused : ReplyStatus::Malformed;
    if (at == std::string_view::npos) return failure;
    const std::string_view rest = reply.substr(at + marker.size());
    const std::size_t f = rest.find(" F");
    ChannelReply parsed;
    if (f == std::string_view::npos) {
        // The marker alone is a valid answer that changes nothing.
        out = std::move(parsed);
        return ReplyStatus::Ok;
    }
    if (f + 10 > rest.size() || !AllDigits(rest.substr(f + 2, 8))) return failure;
    parsed.frequency = MemoryFrequency(rest.substr(f + 2, 8));
    auto flag = [&](std::string_view token) -> char {
        const std::size_t t = rest.find(token);
        if (t == std::string_view::npos || t + 2 >= rest.size()) return 0;
        const char c = rest[t + 2];
        return c == 'N' || c == 'F' ? c : 0;
    };
    parsed.trunk = flag(" T");
    parsed.delay = flag(" D");
    parsed.lockout = flag(" L");
    out = std::move(parsed);
    return ReplyStatus::Ok;
}

void ApplyChannelReply(const ChannelReply& reply, Channel& channel) {
    if (reply.frequency.empty()) return;
    channel[kFieldFrequency] = reply.frequency;
    auto set = [](char flag, std::string& field) {
        if (flag == 'N') field = "1";
        if (flag == 'F') field = "0";
    };
    set(reply.trunk, channel[kFieldTrunk]);
    set(reply.delay, channel[kFieldDelay]);
    set(reply.lockout, channel[kFieldLockout]);
}

std::string PriorityReadCommand(int bank) {
    return "PC " + Letter(bank);
}

std::optional<int> ParsePriorityReply(std::string_view reply, int bank) {
    while (!reply.empty() && (reply.front() == '\r' || reply.front() == '\n'))
        reply.remove_prefix(1);
    const std::string key = "PC " + Letter(bank);
    if (reply.substr(0, key.size()) != key) return std::nullopt;
    std::size_t i = key.size();
    while (i < reply.size() && reply[i] == ' ') ++i;
    std::size_t j = i;
    while (j < reply.size() && j - i < 3 && IsDigit(reply[j])) ++j;
    if (j == i) return std::nullopt;
    const int channel = IntegerValue(reply.substr(i, j - i));
    if (channel < 1 || channel > kTotalChannels) return std::nullopt;
    return channel;
}

bool IsBct8Identification(std::string_view text) {
    return text.find("BCT8") != std::string_view::npos;
}

std::string BankNameReadCommand(int bank) {
    return "TA B " + Letter(bank);
}

std::optional<std::string> ParseBankNameReply(std::string_view reply, int bank) {
    const std::string key = BankNameReadCommand(bank);
    std::string name;
    const std::size_t at = reply.find(key + " ");
    if (at != std::string_view::npos) {
        name = ValueUntilReplyEnd(reply, at + key.size() + 1);
    } else if (reply.find(key + std::string(1, kReplyEnd)) == std::string_view::npos) {
        return std::nullopt;
    }
    if (name.empty()) return std::string("_");
    for (char& c : name)
        if (c == ',') c = ';';
    return name;
}

std::string TrunkTypeReadCommand(int bank) {
    return "TB " + Letter(bank);
}

std::optional<std::string> ParseTrunkTypeReply(std::string_view reply, int bank) {
    const std::string key = "TB " + Letter(bank);
    std::size_t at = reply.find(key + " ");
    if (at == std::string_view::npos) {
        // An empty name may come right before the carriage return.
        at = reply.find(key + std::string(1, kReplyEnd));
        if (at == std::string_view::npos) return std::nullopt;
        return std::string();
    }
    return ValueUntilReplyEnd(reply, at + key.size() + 1);
}

std::optional<std::string> TrunkTypeCodeForName(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kNames[] = {
        {"E2-8", "1"},   {"TYPE", "2"},    {"E2-9", "3"},    {"E2-U", "4"},
        {"E2-V", "5"},   {"EDCS W", "6"},  {"EDCS N", "7"},  {"LT", "8"},
        {"EDCS S", "9"}, {"E2-CUS", "10"}, {"E1-CUS", "11"},
    };
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    if (name.empty()) return std::string("0");
    for (const auto& [prefix, code] : kNames)
        if (name.substr(0, prefix.size()) == prefix) return std::string(code);
    return std::nullopt;
}

std::string BaseLineWire(const std::array<std::string, kTrunkBaseFields>& row, int line) {
    const std::optional<std::string> base = WireFrequency(row[0]);
    if (NumericValue(row[0]) <= 0 || !base) return "00000000 0000 000 " + std::to_string(line);
    // The step is held in kHz ("012.50"); the wire counts hundreds of hertz.
    const long step = static_cast<long>(NumericValue(row[1]) * 10 + 0.5);
    long offset = IntegerValue(row[2]);
    if (offset < 0) offset = 0;
    return *base + " " + Padded(step % 10000, 4) + " " + Padded(offset % 1000, 3) + " " +
           std::to_string(line);
}

std::vector<WireLine> TrunkTypeCommands(
    int bank, int typeCode, bool fixedBase,
    const std::array<std::array<std::string, kTrunkBaseFields>, kTrunkBaseRows>* base) {
    static constexpr std::string_view kDigit[] = {"",  "2", "1", "3", "4", "5",
                                                  "6", "7", "8", "9", "2", "1"};
    std::vector<WireLine> lines;
    if (typeCode <= kTrunkUnknown || typeCode >= kTrunkTypeListSize) return lines;
    const std::string tr = "TR " + Letter(bank) + " " + std::string(kDigit[typeCode]);
    if (HasBaseLines(typeCode)) {
        if (fixedBase || !base) {
            lines.push_back({tr + (typeCode == kTrunkMotorola2_Uhf ? " 04160000 0125 381"
                                                                   : " 01360000 0125 381")});
        } else {
            for (int n = 1; n <= kTrunkBaseRows; ++n)
                lines.push_back({tr + " " + BaseLineWire((*base)[n - 1], n)});
        }
        return lines;
    }
    lines.push_back({tr});
    if (typeCode == kTrunkMotorola2_Rebanded || typeCode == kTrunkMotorola1_Rebanded) {
        const std::string cp =
            "CP " + Letter(bank) + (typeCode == kTrunkMotorola2_Rebanded ? " A" : " B");
        lines.push_back({cp + " 1 08510250 08540000 0250 0440 +", "\r"});
        lines.push_back({cp + " 2 08510125 08689875 0250 0000 +", "\r"});
    }
    return lines;
}

std::string BankSelectCommand(int bank) {
    return "TBN " + Letter(bank);
}
std::string ControlChannelReadCommand(int bank) {
    return "TC " + Letter(bank);
}

std::optional<std::string> ParseControlChannelReply(std::string_view reply) {
    if (reply.find("TCF") != std::string_view::npos) return std::string("0");
    if (reply.find("TCN") == std::string_view::npos) return std::nullopt;
    for (char p = '1'; p <= '4'; ++p)
        if (reply.find(std::string("P") + p) != std::string_view::npos) return std::string(1, p);
    return std::string("1");
}

std::optional<std::string> ControlChannelCommand(int bank, std::string_view field) {
    if (field == "0") return "TCF " + Letter(bank);
    if (field.size() == 1 && field[0] >= '1' && field[0] <= '4')
        return "TCN " + Letter(bank) + " P" + std::string(field);
    return std::nullopt;
}

std::optional<std::string> ParseFlagReply(std::string_view reply, std::string_view command) {
    const std::string on = std::string(command) + "N";
    const std::string off = std::string(command) + "F";
    if (reply.find(on) != std::string_view::npos) return std::string("1");
    if (reply.find(off) != std::string_view::npos) return std::string("0");
    return std::nullopt;
}

std::optional<std::string> FlagCommand(std::string_view command, std::string_view field) {
    if (field == "1") return std::string(command) + "N";
    if (field == "0") return std::string(command) + "F";
    return std::nullopt;
}

std::string BaseLineReadCommand(int bank, int line) {
    return "BC " + Letter(bank) + std::to_string(line);
}

bool ParseBaseLineReply(std::string_view reply, std::array<std::string, kTrunkBaseFields>& row) {
    const std::size_t at = reply.find("BC");
    if (at == std::string_view::npos) return false;
    const std::vector<std::string_view> tokens = Tokens(reply.substr(at + 2));
    std::size_t i = 0;
    auto isBase = [](std::string_view t) {
        return (t.size() == 8 && AllDigits(t)) ||
               (t.size() == 9 && t[4] == '.' && AllDigits(t.substr(0, 4)) &&
                AllDigits(t.substr(5)));
    };
    while (i < tokens.size() && !isBase(tokens[i])) ++i;
    if (i + 2 >= tokens.size()) return false;
    std::string base(tokens[i]);
    if (base.size() == 8) base = MemoryFrequency(base);
    const std::string_view stepText = tokens[i + 1];
    const std::string_view offsetText = tokens[i + 2];
    if (!AllDigits(offsetText) || offsetText.size() > 3) return false;
    double stepKhz = 0;
    if (AllDigits(stepText) && stepText.size() == 4) {
        stepKhz = IntegerValue(stepText) / 10.0;
    } else {
        const std::size_t point = stepText.find('.');
        if (point == std::string_view::npos || !AllDigits(stepText.substr(0, point)) ||
            !AllDigits(stepText.substr(point + 1)))
            return false;
        stepKhz = NumericValue(stepText);
    }
    if (NumericValue(base) == 0) {
        row[0].clear();
        row[1].clear();
        row[2].clear();
        return true;
    }
    char step[16];
    std::snprintf(step, sizeof step, "%06.2f", stepKhz);
    row[0] = base;
    row[1] = step;
    row[2] = std::to_string(IntegerValue(offsetText));
    return true;
}

std::string FleetMapReadCommand(int bank) {
    return "FB " + Letter(bank);
}

bool ParseFleetMapReply(std::string_view reply, int bank, std::array<std::string, 8>& blocks) {
    const std::size_t at = reply.find("FB");
    if (at == std::string_view::npos) return false;
    const std::string_view body = reply.substr(at + 2);
    std::array<std::string, 8> found;
    for (int k = 0; k < 8; ++k) {
        const std::string key = Letter(bank) + " " + std::to_string(k);
        std::size_t from = 0;
        bool ok = false;
        while (!ok) {
            const std::size_t p = body.find(key, from);
            if (p == std::string_view::npos) break;
            std::size_t i = p + key.size();
            while (i < body.size() && body[i] == ' ') ++i;
            if (i + 2 <= body.size() && AllDigits(body.substr(i, 2)) &&
                (i + 2 == body.size() || !IsDigit(body[i + 2]))) {
                const int code = IntegerValue(body.substr(i, 2));
                if (code > kFleetMapMaxCode) return false;
                found[static_cast<std::size_t>(k)] = std::to_string(code);
                ok = true;
            }
            from = p + 1;
        }
        if (!ok) return false;
    }
    blocks = found;
    return true;
}

std::string FleetMapBlockCommand(int bank, int block, int code) {
    return "FB " + Letter(bank) + " " + std::to_string(block) + " " + Padded(code, 2);
}

std::string TrunkIdKey(int bank, int row) {
    return "TG " + Letter(bank) + " " + std::string(1, static_cast<char>('A' + row / 10)) +
           std::to_string(row % 10);
}

std::string TrunkIdReadCommand(int bank, int row) {
    return TrunkIdKey(bank, row);
}

std::optional<std::string> ParseTrunkIdReply(std::string_view reply, int bank, int row) {
    const std::string key = TrunkIdKey(bank, row);
    std::size_t from = 0;
    while (true) {
        const std::size_t at = reply.find(key, from);
        if (at == std::string_view::npos) return std::nullopt;
        const std::size_t after = at + key.size();
        // The key must end there: "TG A A1" is not the start of "TG A A10".
        if (after == reply.size() || reply[after] == kReplyEnd) return std::string();
        if (reply[after] == ' ') {
            std::string value = ValueUntilReplyEnd(reply, after + 1);
            while (!value.empty() && value.front() == ' ') value.erase(0, 1);
            if (value == "ERR") return std::nullopt;
            if (IsEmptyTrunkId(value)) value.clear();
            return value;
        }
        from = at + 1;
    }
}

std::string TrunkIdWriteCommand(int bank, int row, std::string_view id) {
    return TrunkIdKey(bank, row) + " " +
           (IsEmptyTrunkId(id) ? std::string("------") : std::string(id));
}

std::string TrunkIdDeleteCommand(int bank, int row) {
    return TrunkIdKey(bank, row) + " 0";
}

bool IsEmptyTrunkId(std::string_view id) {
    while (!id.empty() && id.front() == ' ') id.remove_prefix(1);
    while (!id.empty() && id.back() == ' ') id.remove_suffix(1);
    return id.empty() || id.front() == '-';
}

std::string ListTagReadCommand(int list, int index) {
    return "TA L " + Letter(list) + " " + std::to_string(index);
}

std::optional<std::string> ParseListTagReply(std::string_view reply, int list, int index) {
    // The scanner echoes the key as it was asked; both spellings name the same list.
    const std::string keys[] = {ListTagReadCommand(list, index),
                                "TA L " + Letter(list) + std::to_string(index)};
    for (const std::string& key : keys) {
        std::size_t from = 0;
        while (true) {
            const std::size_t at = reply.find(key, from);
            if (at == std::string_view::npos) break;
            const std::size_t after = at + key.size();
            // "TA L A 1" must not be taken from "TA L A 10..." or "TA L A 12".
            if (after == reply.size() || reply[after] == kReplyEnd) return std::string();
            if (reply[after] == ' ') {
                std::string tag = ValueUntilReplyEnd(reply, after + 1);
                if (tag == "-") tag.clear();
                return tag;
            }
            from = at + 1;
        }
    }
    return std::nullopt;
}

std::string SearchRangeNameReadCommand(int range) {
    return "TA S " + Letter(range);
}

std::optional<std::string> ParseSearchRangeNameReply(std::string_view reply, int range) {
    const std::string key = SearchRangeNameReadCommand(range);
    const std::size_t at = reply.find(key + " ");
    if (at == std::string_view::npos) {
        if (reply.find(key + std::string(1, kReplyEnd)) != std::string_view::npos)
            return std::string();
        return std::nullopt;
    }
    const std::size_t from = at + key.size() + 1;
    std::size_t end = reply.find(kReplyEnd, from);
    if (end == std::string_view::npos) end = reply.size();
    end = std::min(end, from + kSearchRangeNameLength);
    std::string name(reply.substr(from, end - from));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\n' || name.back() == '\t'))
        name.pop_back();
    return name;
}

std::optional<std::string> ActiveBanksCommand(const Image& image) {
    std::string letters;
    for (int b = 0; b < kScannerBanks; ++b)
        if (image.ActiveBank[static_cast<std::size_t>(b)] == 1) letters += BankLetter(b);
    if (letters.empty()) return std::nullopt;
    return "SB " + letters;
}

}  // namespace vex
