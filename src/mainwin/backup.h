// The automatic backup: a minute timer counts ticks and, every `backupdelay` minutes, the image
// is written as a MEM file to the "backup" folder under a name made from the date and time.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/image.h"
#include "settings/options.h"

namespace vex {

inline constexpr int kBackupTickMs = 60000;
inline constexpr std::string_view kBackupFolderName = "backup";

// "<date>_<time> membackup.mem" with every ":", "/" and "\" replaced by "_". The window passes
// the date and time in the system's short formats.
std::string BackupFileName(std::string_view date, std::string_view time);

// Counts the minute ticks since the last backup.
class BackupCounter {
  public:
    // One tick. Does nothing while `backena` is 0, the trunk settings window is open or the
    // Virtual Control Panel runs. True when a backup is due now; the counter restarts then.
    // A counter already past a lowered `backupdelay` fires at once.
    bool tick(const Options& options, bool trunkWindowOpen, bool virtualControlRunning);
    int count() const { return d_count; }
    void reset() { d_count = 0; }

  private:
    int d_count = 0;
};

struct BackupOutcome {
    bool written = false;
    std::filesystem::path path;  // the file written (or meant to be)
    std::string error;           // why not, when !written
};

// Creates "backup" in the program folder when missing and writes the image there as a MEM file
// (atomically: an earlier backup of the same name is never replaced by a broken one).
BackupOutcome WriteBackup(const Image& image, const Options& options,
                          const std::filesystem::path& programFolder, std::string_view fileName);

}  // namespace vex
