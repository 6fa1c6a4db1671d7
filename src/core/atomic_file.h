// Every file the program writes goes through here: the content lands in a temporary file in the
// same folder and replaces the target only once it is completely on disk, so a crash or a full
// disk never leaves a half-written file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vex {

struct WriteResult {
    bool ok = false;
    std::string error;  // the system's reason when !ok, e.g. "Permission denied"
    explicit operator bool() const { return ok; }
};

WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& content);

}  // namespace vex
