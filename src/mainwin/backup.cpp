#include "mainwin/backup.h"

#include <system_error>

#include "core/memfile.h"

namespace vex {

std::string BackupFileName(std::string_view date, std::string_view time) {
    std::string name = std::string(date) + "_" + std::string(time) + " membackup.mem";
    for (char& c : name) {
        if (c == ':' || c == '/' || c == '\\') c = '_';
    }
    return name;
}

bool BackupCounter::tick(const Options& options, bool trunkWindowOpen, bool virtualControlRunning) {
    if (options.backena == 0 || trunkWindowOpen || virtualControlRunning) return false;
    ++d_count;
    // ">=" rather than "==": a delay lowered below the count must not wait for a wrap-around.
    if (d_count < options.backupdelay) return false;
    d_count = 0;
    return true;
}

BackupOutcome WriteBackup(const Image& image, const Options& options,
                          const std::filesystem::path& programFolder, std::string_view fileName) {
    BackupOutcome outcome;
    const std::filesystem::path folder = programFolder / std::string(kBackupFolderName);
    outcome.path = folder / std::string(fileName);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        outcome.error = error.message();
        return outcome;
    }
    const MemWriteResult written = WriteMemFile(image, outcome.path, options);
    outcome.written = written.ok;
    if (written.ok) {
        outcome.path = written.path;
    } else {
        outcome.error = written.error;
    }
    return outcome;
}

}  // namespace vex
