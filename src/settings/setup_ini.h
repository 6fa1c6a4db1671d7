// setup.ini: the program's options, read once before the main window loads and written at exit.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/atomic_file.h"
#include "settings/ini.h"
#include "settings/options.h"

namespace vex {

inline constexpr std::string_view kSetupIniName = "setup.ini";

// Every key with its default when missing; values read as numbers; then the forced values
// (9khz, smart, option2, option7, infob become 0) and the clamps (delay1..4, backupdelay,
// val2, align) are applied. A missing or unusable file gives the defaults (forced values
// applied too); an unusable one adds a note to `notes`.
Options ReadSetupIni(const std::filesystem::path& folder, FileNotes* notes = nullptr);
Options ParseSetupIni(std::string_view text);

// The whole file in the writer's fixed key order, CR LF. Flags are written as 0 or 1; `model`
// and `align` only when 0, 1 or 2; options without effect keep their value.
std::string SerializeSetupIni(const Options& options);
WriteResult WriteSetupIni(const Options& options, const std::filesystem::path& folder);

}  // namespace vex
