// Reading a file the program is handed (settings, state, MEM files): only a plain file of a sane
// size is read. A folder, a pipe or a device in its place is refused before it is opened, so a
// reader never blocks, never reads without end and never throws.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vex {

enum class FileProblem { None, Missing, Folder, NotPlain, TooLarge, ReadOnly, System };

struct [[nodiscard]] FileOutcome {
    FileProblem problem = FileProblem::None;
    // Why, as a phrase that follows the file's name: "it is a folder", "it is too large
    // (70000000 bytes)", "Permission denied".
    std::string reason;
    bool ok() const { return problem == FileProblem::None; }
    explicit operator bool() const { return ok(); }
};

// Limits for the files the program reads: settings and state files are a few hundred bytes, a
// MEM file some 50 kB.
inline constexpr std::uintmax_t kMaxSettingsFileSize = 1u << 20;
inline constexpr std::uintmax_t kMaxDocumentSize = 16u << 20;

// Reads the whole of `path` into `content` (emptied on failure).
FileOutcome ReadPlainFile(const std::filesystem::path& path, std::string& content,
                          std::uintmax_t maxSize);

// The reason text of a problem found by stat, shared with the writer.
std::string ProblemReason(FileProblem problem, std::uintmax_t size = 0);

// ReadPlainFile with the document limit; false when the file cannot be read.
[[nodiscard]] bool ReadWholeFile(const std::filesystem::path& path, std::string& content);

}  // namespace vex
