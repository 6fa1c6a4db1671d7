// Where the program keeps its settings, state, logs and backups.
#pragma once

#include <QStringList>
#include <filesystem>

namespace vex {

// The folder named by "--dir PATH" (or "--dir=PATH") in the arguments, otherwise the per-user
// data folder. The folder is created when missing.
std::filesystem::path ProgramFolder(const QStringList& arguments);

}  // namespace vex
