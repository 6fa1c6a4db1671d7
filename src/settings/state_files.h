// The small settings and state files beside setup.ini: com250.ini, lastfile.ini, window.dat,
// tabw250.ini, defdata.ini, names.dat and ttype.dat. Every reader falls back to defaults on a
// missing or corrupt file and accepts blanks around numbers; every writer writes CR LF lines
// atomically. Each reader has a parse-from-text twin. A file that is there but cannot be used
// (a folder, a device, too large, unreadable) gives the defaults too, and a note in `notes`.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/image.h"
#include "settings/ini.h"
#include "settings/options.h"

namespace vex {

inline constexpr std::string_view kComIniName = "com250.ini";
inline constexpr std::string_view kLastFileName = "lastfile.ini";
inline constexpr std::string_view kLastUsedName = "lastused.sav";
inline constexpr std::string_view kWindowDatName = "window.dat";
inline constexpr std::string_view kTabWidthName = "tabw250.ini";
inline constexpr std::string_view kDefDataName = "defdata.ini";
inline constexpr std::string_view kNamesDatName = "names.dat";
inline constexpr std::string_view kTrunkTypeName = "ttype.dat";  // matched without regard to case

// com250.ini ------------------------------------------------------------------------------
struct ComReadResult {
    ComSettings settings;
    bool portValid = true;  // port within 1..19
    // When !portValid: "The comport setting in the communication .ini file is wrong. Value is set
    // at: <port>. Value must be between 1 and 19. Please run the commmunication setup program."
    std::string message;
};
ComReadResult ReadComSettings(const std::filesystem::path& folder, FileNotes* notes = nullptr);
ComReadResult ParseComSettings(std::string_view text);
std::string PortCheckMessage(int port);
// "[com]", "port=", "baud=", and "device=" with the chosen device path.
std::string SerializeComSettings(const ComSettings& settings);
WriteResult WriteComSettings(const ComSettings& settings, const std::filesystem::path& folder);

// lastfile.ini: the path of the last MEM file. Empty when missing. --------------------------
std::string ReadLastFile(const std::filesystem::path& folder, FileNotes* notes = nullptr);
std::string ParseLastFile(std::string_view text);
WriteResult WriteLastFile(const std::filesystem::path& folder, std::string_view memPath);

// window.dat: the main window's left, top, width, height in twips. ------------------------
inline constexpr int kTwipsPerPixel = 15;  // at the usual 96 dots per inch
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowPlacement&) const = default;
};
// nullopt when missing or short of four numbers. A negative left or top becomes 100; a width or
// height below 1 becomes 1000.
std::optional<WindowPlacement> ReadWindowPlacement(const std::filesystem::path& folder,
                                                   FileNotes* notes = nullptr);
std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text);
WriteResult SaveWindowPlacement(const std::filesystem::path& folder,
                                const WindowPlacement& placement);

// tabw250.ini: widths of grid columns 1..10 in twips. ---------------------------------------
inline constexpr int kColumnWidthCount = 10;
// The widths present in the file, in column order (at most ten), each clamped to 10..9000.
std::vector<int> ReadColumnWidths(const std::filesystem::path& folder, FileNotes* notes = nullptr);
std::vector<int> ParseColumnWidths(std::string_view text);
WriteResult SaveColumnWidths(const std::filesystem::path& folder, const std::vector<int>& widths);

// defdata.ini: three use-default switches, then three default values. ------------------------
// Values other than 0 and 1 read as 0; missing values keep their defaults.
DefaultData ReadDefaultData(const std::filesystem::path& folder, FileNotes* notes = nullptr);
DefaultData ParseDefaultData(std::string_view text);
WriteResult WriteDefaultData(const std::filesystem::path& folder, const DefaultData& data);

// names.dat: the six bank tags, bank 0 first. ---------------------------------------------------
// Overwrites the tags present in the file (a short file leaves the rest); commas become ";"; a
// tag is cut to 16 characters.
void ReadBankTags(const std::filesystem::path& folder, std::array<std::string, kBankCount>& tags,
                  FileNotes* notes = nullptr);
void ParseBankTags(std::string_view text, std::array<std::string, kBankCount>& tags);
WriteResult WriteBankTags(const std::filesystem::path& folder,
                          const std::array<std::string, kBankCount>& tags);

// ttype.dat: the trunk types of banks 0..9. ------------------------------------------------------
// Overwrites the types present in the file; a negative value becomes "0".
void ReadTrunkTypes(const std::filesystem::path& folder,
                    std::array<std::string, kTrunkTypeCount>& types, FileNotes* notes = nullptr);
void ParseTrunkTypes(std::string_view text, std::array<std::string, kTrunkTypeCount>& types);
// Writes over an existing file of any case, otherwise creates "ttype.dat".
WriteResult WriteTrunkTypes(const std::filesystem::path& folder,
                            const std::array<std::string, kTrunkTypeCount>& types);

}  // namespace vex
