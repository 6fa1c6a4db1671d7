#include "settings/state_files.h"

#include <algorithm>

#include "core/delimited.h"
#include "core/normalise.h"
#include "core/numeric.h"
#include "settings/ini.h"

namespace vex {
namespace {

// Values are cut to these sizes as they are read: a damaged file cannot hand megabytes on.
constexpr std::size_t kMaxValueLength = 32;
constexpr std::size_t kMaxPathLength = 4096;

std::filesystem::path In(const std::filesystem::path& folder, std::string_view name) {
    return folder / std::string(name);
}

// The first `count` fields of a text, one number per line in these files.
std::vector<std::string> Fields(std::string_view text, std::size_t count) {
    std::vector<std::string> fields;
    DelimitedReader in(text);
    std::string field;
    while (fields.size() < count && in.readField(field)) fields.push_back(field);
    return fields;
}

std::string NoLineBreaks(std::string_view text) {
    std::string out(text);
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

}  // namespace

// com250.ini ------------------------------------------------------------------------------

std::string PortCheckMessage(int port) {
    return "The comport setting in the communication .ini file is wrong. Value is set at: " +
           DecimalText(port) +
           ". Value must be between 1 and 19. Please run the commmunication setup program.";
}

ComReadResult ParseComSettings(std::string_view text) {
    const IniData ini = IniData::parse(text);
    ComReadResult result;
    ComSettings& s = result.settings;
    s.port = IntegerValue(ini.get("com", "port", "1"));
    const double baud = NumericValue(ini.get("com", "baud", "19200"));
    // A speed that cannot be a baud rate falls back to the default rather than failing the port.
    s.baud = baud >= 1 && baud <= 10'000'000 ? static_cast<long>(baud) : 19200;
    s.device = ini.get("com", "device", "");
    result.portValid = s.port >= 1 && s.port <= 19;
    if (!result.portValid) result.message = PortCheckMessage(s.port);
    return result;
}

ComReadResult ReadComSettings(const std::filesystem::path& folder, FileNotes* notes) {
    return ParseComSettings(ReadSettingsFile(In(folder, kComIniName), notes));
}

std::string SerializeComSettings(const ComSettings& settings) {
    std::vector<std::string> lines = {"[com]", "port=" + DecimalText(settings.port),
                                      "baud=" + DecimalText(settings.baud)};
    if (!settings.device.empty()) lines.push_back("device=" + NoLineBreaks(settings.device));
    return JoinCrLf(lines);
}

WriteResult WriteComSettings(const ComSettings& settings, const std::filesystem::path& folder) {
    return WriteFileAtomically(In(folder, kComIniName), SerializeComSettings(settings));
}

// lastfile.ini -------------------------------------------------------------------------------

// The whole first line is the path: a path may hold commas, which a field read would cut.
std::string ParseLastFile(std::string_view text) {
    std::string first;
    DelimitedReader in(text);
    in.readLine(first);
    std::string_view path = TrimBlanks(std::string_view(first).substr(0, kMaxPathLength));
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return std::string(path);
}

std::string ReadLastFile(const std::filesystem::path& folder, FileNotes* notes) {
    return ParseLastFile(ReadSettingsFile(In(folder, kLastFileName), notes));
}

WriteResult WriteLastFile(const std::filesystem::path& folder, std::string_view memPath) {
    return WriteFileAtomically(In(folder, kLastFileName), JoinCrLf({NoLineBreaks(memPath)}));
}

// window.dat ---------------------------------------------------------------------------------

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text) {
    const std::vector<std::string> f = Fields(text, 4);
    if (f.size() < 4) return std::nullopt;
    WindowPlacement p{IntegerValue(f[0]), IntegerValue(f[1]), IntegerValue(f[2]),
                      IntegerValue(f[3])};
    if (p.left < 0) p.left = 100;
    if (p.top < 0) p.top = 100;
    // A window of no size could not be seen or grabbed.
    if (p.width < 1) p.width = 1000;
    if (p.height < 1) p.height = 1000;
    return p;
}

std::optional<WindowPlacement> ReadWindowPlacement(const std::filesystem::path& folder,
                                                   FileNotes* notes) {
    return ParseWindowPlacement(ReadSettingsFile(In(folder, kWindowDatName), notes));
}

WriteResult SaveWindowPlacement(const std::filesystem::path& folder, const WindowPlacement& p) {
    return WriteFileAtomically(In(folder, kWindowDatName),
                               JoinCrLf({DecimalText(p.left), DecimalText(p.top),
                                         DecimalText(p.width), DecimalText(p.height)}));
}

// tabw250.ini ---------------------------------------------------------------------------------

std::vector<int> ParseColumnWidths(std::string_view text) {
    std::vector<int> widths;
    for (const std::string& f : Fields(text, kColumnWidthCount))
        widths.push_back(std::clamp(IntegerValue(f), 10, 9000));
    return widths;
}

std::vector<int> ReadColumnWidths(const std::filesystem::path& folder, FileNotes* notes) {
    return ParseColumnWidths(ReadSettingsFile(In(folder, kTabWidthName), notes));
}

WriteResult SaveColumnWidths(const std::filesystem::path& folder, const std::vector<int>& widths) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < widths.size() && i < kColumnWidthCount; ++i)
        lines.push_back(DecimalText(widths[i]));
    return WriteFileAtomically(In(folder, kTabWidthName), JoinCrLf(lines));
}

// defdata.ini ----------------------------------------------------------------------------------

DefaultData ParseDefaultData(std::string_view text) {
    DefaultData data;
    const std::vector<std::string> f = Fields(text, 6);
    for (std::size_t i = 0; i < f.size(); ++i) {
        const int value = IntegerValue(f[i]) == 1 ? 1 : 0;
        (i < 3 ? data.use[i] : data.value[i - 3]) = value;
    }
    return data;
}

DefaultData ReadDefaultData(const std::filesystem::path& folder, FileNotes* notes) {
    return ParseDefaultData(ReadSettingsFile(In(folder, kDefDataName), notes));
}

WriteResult WriteDefaultData(const std::filesystem::path& folder, const DefaultData& data) {
    std::vector<std::string> lines;
    for (int v : data.use) lines.push_back(v == 1 ? "1" : "0");
    for (int v : data.value) lines.push_back(v == 1 ? "1" : "0");
    return WriteFileAtomically(In(folder, kDefDataName), JoinCrLf(lines));
}

// names.dat ------------------------------------------------------------------------------------

void ParseBankTags(std::string_view text, std::array<std::string, kBankCount>& tags) {
    DelimitedReader in(text);
    std::string line;
    for (std::string& tag : tags) {
        if (!in.readLine(line)) break;
        std::replace(line.begin(), line.end(), ',', ';');
        tag = line.substr(0, kMaxTagLength);
    }
}

void ReadBankTags(const std::filesystem::path& folder, std::array<std::string, kBankCount>& tags,
                  FileNotes* notes) {
    ParseBankTags(ReadSettingsFile(In(folder, kNamesDatName), notes), tags);
}

WriteResult WriteBankTags(const std::filesystem::path& folder,
                          const std::array<std::string, kBankCount>& tags) {
    std::vector<std::string> lines;
    for (const std::string& tag : tags) lines.push_back(NoLineBreaks(tag));
    return WriteFileAtomically(In(folder, kNamesDatName), JoinCrLf(lines));
}

// ttype.dat ------------------------------------------------------------------------------------

void ParseTrunkTypes(std::string_view text, std::array<std::string, kTrunkTypeCount>& types) {
    const std::vector<std::string> f = Fields(text, kTrunkTypeCount);
    for (std::size_t i = 0; i < f.size(); ++i)
        types[i] = NumericValue(f[i]) < 0 ? "0" : f[i].substr(0, kMaxValueLength);
}

void ReadTrunkTypes(const std::filesystem::path& folder,
                    std::array<std::string, kTrunkTypeCount>& types, FileNotes* notes) {
    ParseTrunkTypes(ReadSettingsFile(FindFileNoCase(folder, kTrunkTypeName), notes), types);
}

WriteResult WriteTrunkTypes(const std::filesystem::path& folder,
                            const std::array<std::string, kTrunkTypeCount>& types) {
    std::vector<std::string> lines;
    for (const std::string& type : types) lines.push_back(NoLineBreaks(type));
    return WriteFileAtomically(FindFileNoCase(folder, kTrunkTypeName), JoinCrLf(lines));
}

}  // namespace vex
