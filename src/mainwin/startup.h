// Start-up and shutdown around the main window: the settings read before any window opens
// (with the port check that ends the program), and the state files written when it closes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "settings/ini.h"
#include "settings/options.h"
#include "settings/state_files.h"

namespace vex {

// Everything the main window works on, from start-up to exit.
struct AppState {
    std::filesystem::path folder;  // the program folder: settings, state, logs, backups
    Options options;
    ComSettings com;
    DefaultData defaults;
    Image image;
    // tabw250.ini as read; columns the grid does not have keep their numbers through a run.
    std::vector<int> columnWidths;
    // Settings and state files that were there but could not be used at start-up (the
    // defaults stand), for the main window to tell once it is up.
    FileNotes startupNotes;
    // Set after a read of one bank, so that sending all banks asks once more; lives as long as
    // the program, never saved.
    bool singleBankFlag = false;
};

struct StartupOutcome {
    bool ok = false;
    std::string message;  // why the program must end (the port check), when !ok
};

// The hidden start-up steps: setup.ini and com250.ini (a port outside 1..19 ends the program
// with its message), the channel table's start-up values and bank tags, names.dat (remtags),
// ttype.dat (remtrunk), defdata.ini and tabw250.ini. Missing or broken files give defaults;
// a file that cannot be used at all (a folder, a device, too large) is noted in startupNotes.
StartupOutcome LoadStartupState(const std::filesystem::path& folder, AppState& state);

// What the window hands over when it ends.
struct ExitState {
    std::optional<WindowPlacement> placement;  // written when `window` is 1
    std::vector<int> columnWidths;             // grid columns 1..5 in twips
};

// names.dat, ttype.dat, setup.ini, defdata.ini, window.dat (when `window` is 1) and tabw250.ini,
// in that order; every file is tried. The files that could not be written, and why.
[[nodiscard]] FileNotes WriteStateAtExit(const AppState& state, const ExitState& exitState);

// One text for a list of files and their reasons, after `intro`: "intro\n\nFILE: why\n...".
std::string DescribeFileNotes(std::string_view intro, const FileNotes& notes);

}  // namespace vex
