// vexa import-mem: channels from a ten-bank sibling MEM file.
#include "commands.h"
#include "import_support.h"
#include "io/sibling_import.h"
#include "ten_bank_source.h"

namespace vexa {
namespace {

int RunImportMem(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"base", "from", "bank"}, {"all", "yes"});
    if (const int code = CheckUsage(kImportMemCommand, parsed, 2); code >= 0) return code;
    TenBankChoice choice;
    int code = kExitOk;
    if (!ParseTenBankChoice(parsed, true, choice, code)) return code;
    const auto file = ReadTenBankSource(parsed.positional[0], code);
    if (!file) return code;
    ImportTarget target;
    if (!LoadBase(parsed, target, code)) return code;
    const vex::ImportPlan plan = choice.all
                                     ? vex::PlanSiblingChannelsAll(*file)
                                     : vex::PlanSiblingChannels(*file, choice.source, choice.bank);
    if (!MayOverride(target, plan, parsed.option("yes").has_value(), code)) return code;
    return ApplyAndSave(target, plan, parsed.positional[1]);
}

}  // namespace

const Command kImportMemCommand = {
    "import-mem",
    "copy channels from a ten-bank sibling MEM file into banks",
    "Usage: vexa import-mem IN.mem OUT.mem [--base B.mem] (--all | --from 1..10 --bank 1..5|D)\n"
    "                       [--yes]\n"
    "Copies the channels of one bank of the sibling file (--from, --bank) or of its banks 1 to\n"
    "5 into banks 1 to 5 (--all) into the image of B.mem (an empty image without --base); the\n"
    "result is checked and written to OUT.mem as Save does.\n\n"
    "Options:\n"
    "  --base B.mem  the image to start from\n"
    "  --yes         override destination banks that hold data (refused otherwise)\n"
    "  --help        show this text\n",
    &RunImportMem,
};

}  // namespace vexa
