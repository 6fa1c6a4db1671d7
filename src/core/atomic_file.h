// Every file the program writes goes through here: the content lands in a temporary file in the
// same folder and replaces the target only once it is completely on disk, so a crash or a full
// disk never leaves a half-written file behind.
//
// A symbolic link is followed and its target replaced, the link stays. Anything that is not a
// plain file (a folder, a device, a pipe) and a read-only file are refused and left alone. A new
// file gets the permissions the user's umask allows, a replaced one keeps its own. Temporaries
// that an earlier save of the same file left behind (the program was killed) are removed.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/plain_file.h"

namespace vex {

struct [[nodiscard]] WriteResult {
    bool ok = false;
    std::string error;  // why, when !ok: "it is read-only", "Permission denied", ...
    explicit operator bool() const { return ok; }
};

WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

// The file a write to `path` lands in: symbolic links followed (a dangling link gives the path
// it points to).
std::filesystem::path WriteTarget(const std::filesystem::path& path);

// A temporary of an interrupted save is this much older than the save that finds it.
inline constexpr std::chrono::minutes kStaleTemporaryAge{10};

}  // namespace vex
