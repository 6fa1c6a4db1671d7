#include "link/log_file.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "core/atomic_file.h"

namespace vex {

void LogFile::failed(std::string_view why) {
    if (d_problem.empty())
        d_problem = "The log " + d_path.filename().string() +
                    " could not be written: " + std::string(why) + ".";
}

bool LogFile::start(const std::filesystem::path& path) {
    close();
    d_path = path;
    d_problem.clear();
    if (const WriteResult emptied = WriteFileAtomically(path, {}); !emptied) {
        failed(emptied.error);
        return false;
    }
    d_out.open(path, std::ios::binary | std::ios::app);
    if (!d_out.is_open()) failed(std::strerror(errno));
    return d_out.is_open();
}

void LogFile::line(std::string_view text) {
    if (!d_out.is_open()) return;
    d_out.write(text.data(), static_cast<std::streamsize>(text.size()));
    d_out.write("\r\n", 2);
    d_out.flush();
    if (!d_out) {
        failed(std::strerror(errno));
        d_out.close();
    }
}

void LogFile::close() {
    if (!d_out.is_open()) return;
    d_out.close();
    if (!d_out) failed(std::strerror(errno));
}

}  // namespace vex
