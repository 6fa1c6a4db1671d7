#include "settings/ini.h"

#include <algorithm>
#include <system_error>

#include "core/delimited.h"
#include "core/plain_file.h"

namespace vex {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

IniData IniData::parse(std::string_view text) {
    IniData data;
    std::string section;
    ForEachLine(text, [&](std::string_view raw) {
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line.front() == ';') return;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = Lower(TrimBlanks(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            return;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return;
        std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.size() > kIniValueMax) value = value.substr(0, kIniValueMax);
        data.d_entries.push_back(
            {section, Lower(TrimBlanks(line.substr(0, equals))), std::string(value)});
    });
    return data;
}

const IniData::Entry* IniData::find(std::string_view section, std::string_view key) const {
    for (const Entry& entry : d_entries)
        if (EqualNoCase(entry.section, section) && EqualNoCase(entry.key, key)) return &entry;
    return nullptr;
}

std::string IniData::get(std::string_view section, std::string_view key,
                         std::string_view fallback) const {
    const Entry* entry = find(section, key);
    return entry ? entry->value : std::string(fallback);
}

bool IniData::has(std::string_view section, std::string_view key) const {
    return find(section, key) != nullptr;
}

std::string ReadSettingsFile(const std::filesystem::path& file, FileNotes* notes) {
    std::string content;
    const FileOutcome read = ReadPlainFile(file, content, kMaxSettingsFileSize);
    if (!read && read.problem != FileProblem::Missing && notes)
        notes->push_back({file, read.reason});
    return content;
}

std::string GetIniValue(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view fallback) {
    return IniData::parse(ReadSettingsFile(file)).get(section, key, fallback);
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, std::string_view name) {
    const std::filesystem::path exact = folder / std::string(name);
    std::error_code ec;
    if (std::filesystem::exists(exact, ec)) return exact;
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (EqualNoCase(candidate, name)) matches.push_back(candidate);
    }
    if (matches.empty()) return exact;
    return folder / *std::min_element(matches.begin(), matches.end());
}

}  // namespace vex
