// A small INI reader in the manner of the system profile reader: section and key names match
// without regard to case, blanks around names and values are dropped, a value wrapped in double
// quotes loses them, values are cut to 255 characters, the first occurrence of a key wins and
// lines beginning with ";" are comments.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vex {

inline constexpr std::size_t kIniValueMax = 255;

class IniData {
  public:
    static IniData parse(std::string_view text);

    // The stored text, or `fallback` when the section or key is missing.
    std::string get(std::string_view section, std::string_view key,
                    std::string_view fallback = {}) const;
    bool has(std::string_view section, std::string_view key) const;

  private:
    struct Entry {
        std::string section;  // lower case
        std::string key;      // lower case
        std::string value;
    };
    const Entry* find(std::string_view section, std::string_view key) const;
    std::vector<Entry> d_entries;
};

// A settings or state file that is there but could not be used, and why ("it is a folder").
struct FileNote {
    std::filesystem::path file;
    std::string reason;
};
using FileNotes = std::vector<FileNote>;

// The content of a settings or state file; empty when it is missing or cannot be used (only a
// plain file of settings size is read), with a note in `notes` for the latter.
std::string ReadSettingsFile(const std::filesystem::path& file, FileNotes* notes = nullptr);

// Reads `file` and looks the key up; a missing or unreadable file gives the fallback.
std::string GetIniValue(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view fallback = {});

// Joins lines with CR LF after each, as every settings file is written.
std::string JoinCrLf(const std::vector<std::string>& lines);

// Case-insensitive lookup of a file name in a folder: the exact name when it exists, otherwise
// the first (in name order) entry whose name matches without regard to case, otherwise
// folder / name. Lets files written on another system under another case be found.
std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, std::string_view name);

}  // namespace vex
