// vexa resave: loads a MEM file, checks the table as Save does and writes it anew.
#include <iostream>
#include <string>

#include "commands.h"
#include "core/image.h"
#include "core/memfile.h"
#include "core/normalise.h"
#include "settings/setup_ini.h"

namespace vexa {
namespace {

int RunResave(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"dir"});
    if (parsed.help) {
        std::cout << kResaveCommand.usage;
        return kExitOk;
    }
    if (!parsed.error.empty()) return Fail(parsed.error, kExitUsage);
    if (parsed.positional.size() != 2)
        return Fail("resave needs an input and an output file; see \"vexa resave --help\"",
                    kExitUsage);
    vex::Options options;
    if (const auto dir = parsed.option("dir")) {
        if (!std::filesystem::is_directory(*dir))
            return Fail("the program folder '" + *dir + "' does not exist");
        options = vex::ReadSetupIni(*dir);
    }
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];
    vex::Image image;
    vex::ClearForStartup(image);
    const vex::MemReadResult read = vex::ReadMemFile(image, in, options);
    if (read.fileMissing) return Fail(in + ": no such file");
    if (!read.ok) return Fail(in + ": " + read.message);
    vex::NormaliseTable(image, options);
    const vex::MemWriteResult written = vex::WriteMemFile(image, out, options);
    if (!written.ok) return Fail("cannot write " + written.path.string() + ": " + written.error);
    std::cout << "Wrote " << written.path.string() << "\n";
    return kExitOk;
}

}  // namespace

const Command kResaveCommand = {
    "resave",
    "read a MEM file, check its table as Save does, and write it",
    "Usage: vexa resave IN.mem OUT.mem [--dir FOLDER]\n"
    "Reads IN.mem, brings every channel into the checked form that Save writes (frequencies\n"
    "in the scanner's bands, flags On or Off, tags of at most 16 characters) and writes the\n"
    "result to OUT.mem. The old OUT.mem is replaced only once the new one is complete.\n\n"
    "Options:\n"
    "  --dir FOLDER  take the settings from FOLDER/setup.ini (whether bank tags are saved,\n"
    "                whether the trunk range check applies); defaults otherwise\n"
    "  --help        show this text\n",
    &RunResave,
};

}  // namespace vexa
