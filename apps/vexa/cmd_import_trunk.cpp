// vexa import-trunk: trunk ID tables from a ten-bank sibling MEM file.
#include "commands.h"
#include "import_support.h"
#include "io/sibling_import.h"
#include "ten_bank_source.h"

namespace vexa {
namespace {

int RunImportTrunk(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"base", "from", "bank"}, {"all", "yes"});
    if (const int code = CheckUsage(kImportTrunkCommand, parsed, 2); code >= 0) return code;
    TenBankChoice choice;
    int code = kExitOk;
    if (!ParseTenBankChoice(parsed, false, choice, code)) return code;
    const auto file = ReadTenBankSource(parsed.positional[0], code);
    if (!file) return code;
    if (!file->hasTrunkIds) return Fail(parsed.positional[0] + ": the file holds no trunk IDs");
    ImportTarget target;
    if (!LoadBase(parsed, target, code)) return code;
    const vex::ImportPlan plan = choice.all
                                     ? vex::PlanSiblingTrunkIdsAll(*file)
                                     : vex::PlanSiblingTrunkIds(*file, choice.source, choice.bank);
    if (!MayOverride(target, plan, parsed.option("yes").has_value(), code)) return code;
    return ApplyAndSave(target, plan, parsed.positional[1]);
}

}  // namespace

const Command kImportTrunkCommand = {
    "import-trunk",
    "copy trunk ID tables from a ten-bank sibling MEM file into banks",
    "Usage: vexa import-trunk IN.mem OUT.mem [--base B.mem] (--all | --from 1..10 --bank 1..5)\n"
    "                         [--yes]\n"
    "Copies rows 1 to 50 of one bank's trunk ID table (--from, --bank) or of banks 1 to 5 into\n"
    "banks 1 to 5 (--all); filled rows past 50 are counted on standard error. The result is\n"
    "checked and written to OUT.mem as Save does.\n\n"
    "Options:\n"
    "  --base B.mem  the image to start from\n"
    "  --yes         override destination tables that hold IDs (refused otherwise)\n"
    "  --help        show this text\n",
    &RunImportTrunk,
};

}  // namespace vexa
