// What the import commands share: the base image (--base or an empty one), the question a filled
// destination asks (--yes), the notes on standard error, and writing through the Save path.
#pragma once

#include <string>
#include <vector>

#include "commands.h"
#include "core/image.h"
#include "io/import_plan.h"
#include "settings/options.h"

namespace vexa {

struct ImportTarget {
    vex::Image image;
    vex::Options options;
};

// Loads --base B.mem into the target, or gives an empty image; false (after telling why, with
// `exitCode` set) when the base cannot be read.
bool LoadBase(const ParsedArgs& parsed, ImportTarget& target, int& exitCode);

// Whether the plan may go ahead: a destination bank that holds data needs --yes; without it the
// command is refused with "Bank is not empty!".
bool MayOverride(const ImportTarget& target, const vex::ImportPlan& plan, bool yes, int& exitCode);

// The notes of a plan, one a line on standard error.
void TellNotes(const std::vector<std::string>& notes);

// Applies the plan and writes the result as Save does: normalised, then the MEM writer.
int ApplyAndSave(ImportTarget& target, const vex::ImportPlan& plan, const std::string& out);
// Writes the image as Save does.
int SaveImage(ImportTarget& target, const std::string& out);

// "--bank 1..5|D" (Dummy only when `allowDummy`); -1 when absent, -2 when not valid.
int BankOption(const ParsedArgs& parsed, bool allowDummy);

// Checks the usage of a command: --help printed, parse errors and the positional count.
// Returns -1 to go on, otherwise the exit code.
int CheckUsage(const Command& command, const ParsedArgs& parsed, std::size_t positional);

}  // namespace vexa
