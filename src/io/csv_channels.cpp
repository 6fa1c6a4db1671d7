#include "io/csv_channels.h"

#include <algorithm>
#include <array>

#include "core/delimited.h"
#include "core/frequency.h"
#include "core/numeric.h"

namespace vex {
namespace {

enum Column { kBank, kChannel, kFrequency, kTag, kTrunk, kDelay, kLockout, kColumnCount };

constexpr int kHeaderSearchLines = 20;
constexpr int kMaxProblems = 200;

std::string Lower(std::string_view text) {
    std::string out(TrimBlanks(text));
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

int ColumnOf(std::string_view header) {
    const std::string name = Lower(header);
    struct Alias {
        std::string_view name;
        Column column;
    };
    static constexpr Alias kAliases[] = {
        {"bank", kBank},
        {"channel", kChannel},
        {"frequency", kFrequency},
        {"frequency (mhz)", kFrequency},
        {"freq", kFrequency},
        {"freq. (mhz)", kFrequency},
        {"tag", kTag},
        {"tag/name", kTag},
        {"name", kTag},
        {"trunk", kTrunk},
        {"trunk on/off", kTrunk},
        {"delay", kDelay},
        {"delay time", kDelay},
        {"delay on/off", kDelay},
        {"lockout", kLockout},
        {"lock out", kLockout},
    };
    for (const Alias& a : kAliases)
        if (name == a.name) return a.column;
    return -1;
}

char SeparatorOf(std::string_view line) {
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        commas += c == ',';
        semicolons += c == ';';
    }
    return semicolons > commas ? ';' : ',';
}

// "On", "1", "Yes", "Y", "True" (any case) are on; anything else off.
const char* Flag(std::string_view text) {
    const std::string v = Lower(text);
    return (v == "on" || v == "1" || v == "yes" || v == "y" || v == "true") ? "1" : "0";
}

// The export's formula guard undone: "'=..." back to "=...".
std::string_view Unguarded(std::string_view text) {
    if (text.size() > 1 && text[0] == '\'' && (text[1] == '=' || text[1] == '+' || text[1] == '@'))
        text.remove_prefix(1);
    return text;
}

}  // namespace

std::vector<std::string> SplitCsvLine(std::string_view line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && TrimBlanks(field).empty() && !wasQuoted) {
            field.clear();
            quoted = wasQuoted = true;
        } else if (c == separator) {
            fields.push_back(field);
            field.clear();
            wasQuoted = false;
        } else if (!wasQuoted) {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

CsvChannelImport ParseCsvChannels(std::string_view text) {
    CsvChannelImport result;
    std::array<int, kColumnCount> at{};
    at.fill(-1);
    char separator = ',';
    int lineNumber = 0;
    bool haveHeader = false;
    int next = 0;  // 0-based absolute position of the next line without a channel number
    int lines = 0;
    const auto problem = [&result](int line, std::string text) {
        if (static_cast<int>(result.problems.size()) < kMaxProblems)
            result.problems.push_back({line, "Line " + std::to_string(line) + ": " + text});
    };
    ForEachLine(text, [&](std::string_view line) {
        ++lineNumber;
        if (!haveHeader) {
            if (lineNumber > kHeaderSearchLines) return;
            separator = SeparatorOf(line);
            const std::vector<std::string> names = SplitCsvLine(line, separator);
            for (std::size_t i = 0; i < names.size(); ++i) {
                const int column = ColumnOf(names[i]);
                if (column >= 0 && at[column] < 0) at[column] = static_cast<int>(i);
            }
            haveHeader = at[kFrequency] >= 0;
            if (!haveHeader) at.fill(-1);
            return;
        }
        if (TrimBlanks(line).empty()) return;
        ++lines;
        const std::vector<std::string> fields = SplitCsvLine(line, separator);
        const auto field = [&](Column c) -> std::string_view {
            return at[c] >= 0 && at[c] < static_cast<int>(fields.size()) ? fields[at[c]]
                                                                         : std::string_view();
        };
        int position = next;
        const int channel = IntegerValue(field(kChannel));
        const int bank = IntegerValue(field(kBank));
        if (channel >= 1 && channel <= ChannelsPerBank && bank >= 1 && bank <= kBankCount)
            position = (bank - 1) * ChannelsPerBank + channel - 1;
        else if (channel >= 1)
            position = channel - 1;
        else if (bank >= 1 && bank <= kBankCount && position / ChannelsPerBank != bank - 1)
            position = (bank - 1) * ChannelsPerBank;
        // Past the last channel every further line is refused too; no count may overflow.
        next = std::min(position, kBankCount * ChannelsPerBank) + 1;
        std::string frequency(field(kFrequency));
        // Spreadsheets that separate fields with ";" write a decimal comma.
        if (separator == ';') std::replace(frequency.begin(), frequency.end(), ',', '.');
        const bool empty = NumericValue(frequency) == 0;
        if (position >= kBankCount * ChannelsPerBank) {
            if (!empty) problem(lineNumber, "no such channel in the scanner; not imported.");
            return;
        }
        ChannelPut put;
        put.bank = position / ChannelsPerBank;
        put.slot = position % ChannelsPerBank + 1;
        put.value = Channel{"", "0000.0000", "", "0", "0", "0", ""};
        if (!empty && !InScannerBand(frequency)) {
            problem(lineNumber,
                    frequency + " MHz lies outside the scanner's bands; channel left empty.");
        } else if (!empty) {
            put.value[kFieldFrequency] = CanonicalFrequency(frequency);
            put.value[kFieldTag] = CleanTag(Unguarded(field(kTag)));
            put.value[kFieldTrunk] = Flag(field(kTrunk));
            put.value[kFieldDelay] = Flag(field(kDelay));
            put.value[kFieldLockout] = Flag(field(kLockout));
        }
        result.plan.channels.push_back(std::move(put));
    });
    if (!haveHeader) {
        result.message = kMsgNoFrequencyColumn;
        return result;
    }
    if (lines == 0) {
        result.message = kMsgNoChannels;
        return result;
    }
    for (const Diagnostic& d : result.problems) result.plan.notes.push_back(d.text);
    result.ok = true;
    return result;
}

}  // namespace vex
