#include "link/log_file.h"

#include "core/atomic_file.h"

namespace vex {

bool LogFile::start(const std::filesystem::path& path) {
    close();
    if (!WriteFileAtomically(path, {})) return false;
    d_out.open(path, std::ios::binary | std::ios::app);
    return d_out.is_open();
}

void LogFile::line(std::string_view text) {
    if (!d_out.is_open()) return;
    d_out.write(text.data(), static_cast<std::streamsize>(text.size()));
    d_out.write("\r\n", 2);
    d_out.flush();
}

void LogFile::close() {
    if (d_out.is_open()) d_out.close();
}

}  // namespace vex
