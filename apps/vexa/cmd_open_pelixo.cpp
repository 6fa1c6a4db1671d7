// vexa open-pelixo: the newer sibling's ten-bank file opened as "Open PELIXO mem file" does,
// then saved.
#include "commands.h"
#include "core/memfile.h"
#include "import_support.h"

namespace vexa {
namespace {

int RunOpenPelixo(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {});
    if (const int code = CheckUsage(kOpenPelixoCommand, parsed, 2); code >= 0) return code;
    const std::string& in = parsed.positional[0];
    ImportTarget target;
    vex::ClearForStartup(target.image);
    vex::SetStartupBankTags(target.image);
    const vex::MemReadResult read = vex::ReadSiblingMemFile(target.image, in, target.options);
    if (!read.ok) return Fail(in + ": " + (read.fileMissing ? "no such file" : read.message));
    return SaveImage(target, parsed.positional[1]);
}

}  // namespace

const Command kOpenPelixoCommand = {
    "open-pelixo",
    "convert a ten-bank PELIXO MEM file into a MEM file",
    "Usage: vexa open-pelixo IN.mem OUT.mem\n"
    "Reads IN.mem as \"Open PELIXO mem file\" does (its banks 1 to 5 with their tags and trunk\n"
    "data) and writes the result to OUT.mem as Save does.\n",
    &RunOpenPelixo,
};

}  // namespace vexa
