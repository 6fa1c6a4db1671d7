#include "io/input_file.h"

#include <system_error>

#include "core/atomic_file.h"

namespace vex {

InputFile LoadInputFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    InputFile file;
    const std::string name = path.string();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        file.error = name + ": no such file";
        return file;
    }
    // A device or a pipe could be read for ever.
    if (!std::filesystem::is_regular_file(status)) {
        file.error = name + ": not a plain file";
        return file;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) {
        file.error = name + ": the file is too large (" + std::to_string(size / 1024) +
                     " kB; at most " + std::to_string(maxBytes / 1024) + " kB are read)";
        return file;
    }
    if (!ReadWholeFile(path, file.content)) {
        file.error = name + ": cannot be read";
        return file;
    }
    file.ok = true;
    return file;
}

}  // namespace vex
