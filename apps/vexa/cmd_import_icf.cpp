// vexa import-icf: channels from a radio clone file, one bank or banks A to E.
#include <iostream>

#include "commands.h"
#include "import_support.h"
#include "io/icf.h"
#include "io/input_file.h"

namespace vexa {
namespace {

constexpr std::uintmax_t kMaxIcfFile = 1u << 20;

int RunImportIcf(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"base", "from", "bank"}, {"all", "yes", "clean"});
    if (const int code = CheckUsage(kImportIcfCommand, parsed, 2); code >= 0) return code;
    const bool all = parsed.option("all").has_value();
    const auto from = parsed.option("from");
    const int bank = BankOption(parsed, true);
    int source = -1;
    if (from && from->size() == 1 && std::toupper(static_cast<unsigned char>((*from)[0])) >= 'A' &&
        std::toupper(static_cast<unsigned char>((*from)[0])) <= 'H')
        source = std::toupper(static_cast<unsigned char>((*from)[0])) - 'A';
    if (all == (from.has_value() || bank != -1) || (!all && (source < 0 || bank < 0)))
        return Fail("give either --all, or --from A..H and --bank 1..5|D", kExitUsage);

    const std::string& in = parsed.positional[0];
    const vex::InputFile file = vex::LoadInputFile(in, kMaxIcfFile);
    if (!file.ok) return Fail(file.error);
    vex::IcfFile icf = vex::ParseIcf(file.content);
    if (!icf.ok) return Fail(in + ": " + icf.message);
    for (const vex::Diagnostic& problem : icf.problems)
        std::cerr << "vexa: " << problem.text << '\n';
    if (parsed.option("clean"))
        std::cerr << "vexa: " << vex::PerconClean(icf) << " duplicate frequencies removed\n";

    ImportTarget target;
    int code = kExitOk;
    if (!LoadBase(parsed, target, code)) return code;
    const vex::ImportPlan plan = all ? vex::PlanIcfAll(icf) : vex::PlanIcfBank(icf, source, bank);
    if (!MayOverride(target, plan, parsed.option("yes").has_value(), code)) return code;
    return ApplyAndSave(target, plan, parsed.positional[1]);
}

}  // namespace

const Command kImportIcfCommand = {
    "import-icf",
    "copy channels from a radio clone (ICF) file into banks",
    "Usage: vexa import-icf IN.icf OUT.mem [--base B.mem] (--all | --from A..H --bank 1..5|D)\n"
    "                       [--yes] [--clean]\n"
    "Reads the clone file's banks A to H and copies one of them (--from, --bank) or banks A to\n"
    "E into banks 1 to 5 (--all) into the image of B.mem (an empty image without --base); the\n"
    "result is checked and written to OUT.mem as Save does. A line of the wrong form is said\n"
    "(\"Problem in datafile line: N\") and the others are read; a file that is no clone file is\n"
    "refused.\n\n"
    "Options:\n"
    "  --base B.mem  the image to start from\n"
    "  --yes         override destination banks that hold data (refused otherwise)\n"
    "  --clean       first remove equal frequencies within each bank of the file\n"
    "  --help        show this text\n",
    &RunImportIcf,
};

}  // namespace vexa
