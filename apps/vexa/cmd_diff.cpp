// vexa diff: how two MEM files differ, one line per value, in the order of the file.
#include <iostream>
#include <string>

#include "commands.h"
#include "core/image.h"
#include "core/image_diff.h"
#include "core/memfile.h"

namespace vexa {
namespace {

// Reads a file as it is, without the checks Save applies; false (and told) when it cannot be.
bool ReadAsIs(const std::string& file, vex::Image& image) {
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    const vex::MemReadResult result = vex::ReadMemFile(image, file, vex::ImageOptions{});
    if (result.fileMissing) {
        Fail(file + ": no such file");
        return false;
    }
    if (!result.ok) {
        Fail(file + ": " + result.message);
        return false;
    }
    return true;
}

int RunDiff(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"dir"});
    if (parsed.help) {
        std::cout << kDiffCommand.usage;
        return kExitOk;
    }
    if (!parsed.error.empty()) return Fail(parsed.error, kExitUsage);
    if (parsed.positional.size() != 2)
        return Fail("diff needs two MEM files; see \"vexa diff --help\"", kExitUsage);
    vex::Image first;
    vex::Image second;
    if (!ReadAsIs(parsed.positional[0], first) || !ReadAsIs(parsed.positional[1], second))
        return kExitUsage;
    const std::vector<vex::ImageDifference> differences = vex::DiffImages(first, second);
    for (const vex::ImageDifference& difference : differences)
        std::cout << Latin1ToUtf8(vex::DifferenceLine(difference)) << '\n';
    if (!std::cout.good()) return Fail("could not write the differences", kExitUsage);
    return differences.empty() ? kExitOk : kExitFailed;
}

}  // namespace

const Command kDiffCommand = {
    "diff",
    "show how two MEM files differ",
    "Usage: vexa diff A.mem B.mem\n"
    "Compares the two files value by value, as they were written (nothing is corrected first):\n"
    "channels, bank names, trunk IDs and tags, ID list tags, trunk settings and types, base\n"
    "configurations, active banks and priority channels. Prints one line per differing value,\n"
    "in the order of the file, e.g.\n"
    "  bank 2 channel 17 tag: \"FIRE TAC 2\" -> \"FIRE TAC 3\"\n\n"
    "Exit status: 0 when the files hold the same image, 1 when they differ, 2 when a file\n"
    "cannot be read.\n\n"
    "Options:\n"
    "  --help     show this text\n",
    &RunDiff,
};

}  // namespace vexa
