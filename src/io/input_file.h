// Opening a file that comes from outside: only a plain file, only up to a size that makes sense
// for its kind, with a message that names the file and the reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vex {

struct InputFile {
    bool ok = false;
    std::string content;
    std::string error;  // "NAME: reason" when !ok
};

InputFile LoadInputFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

}  // namespace vex
