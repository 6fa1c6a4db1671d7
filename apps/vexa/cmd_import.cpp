// vexa import: the simple import, frequencies picked out of any text into one bank.
#include <iostream>

#include "commands.h"
#include "core/atomic_file.h"
#include "core/numeric.h"
#include "import_support.h"
#include "io/freq_picker.h"
#include "io/input_file.h"

namespace vexa {
namespace {

constexpr std::uintmax_t kMaxTextFile = 64u << 20;

int RunImport(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"base", "bank", "start"}, {"found"});
    if (const int code = CheckUsage(kImportCommand, parsed, 2); code >= 0) return code;
    const bool foundOnly = parsed.option("found").has_value();
    const int bank = BankOption(parsed, true);
    if (bank == -2) return Fail("--bank takes 1 to 5 or D", kExitUsage);
    int start = 1;
    if (const auto text = parsed.option("start")) {
        start = vex::IntegerValue(*text);
        if (start < 1 || start > vex::ChannelsPerBank)
            return Fail("--start takes a channel of the bank, 1 to 50", kExitUsage);
    }
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];
    const vex::InputFile source = vex::LoadInputFile(in, kMaxTextFile);
    if (!source.ok) return Fail(source.error);
    const std::vector<std::string> found = vex::FindFrequencies(source.content);

    if (foundOnly) {
        const vex::WriteResult written = vex::WriteFileAtomically(out, vex::FoundListText(found));
        if (!written.ok) return Fail("cannot write " + out + ": " + written.error);
        std::cout << found.size() << " frequencies found; wrote " << out << "\n";
        return kExitOk;
    }
    if (found.empty()) return Fail(vex::kMsgNothingSelected);
    ImportTarget target;
    int code = kExitOk;
    if (!LoadBase(parsed, target, code)) return code;
    const vex::ImportPlan plan = vex::PlanSimpleImport(found, bank < 0 ? 0 : bank, start);
    if (plan.empty()) {
        TellNotes(plan.notes);
        return Fail("no frequency was imported");
    }
    return ApplyAndSave(target, plan, out);
}

}  // namespace

const Command kImportCommand = {
    "import",
    "pick frequencies out of a text, CSV or web page file into a bank",
    "Usage: vexa import IN OUT.mem [--base B.mem] [--bank 1..5|D] [--start S]\n"
    "       vexa import --found IN OUT.txt\n"
    "Finds every frequency in IN (numbers with a point, each once) and writes the first 100\n"
    "into the frequency fields of consecutive channels of the bank, from channel S on, in the\n"
    "image of B.mem (an empty image without --base). The result is checked and written to\n"
    "OUT.mem as Save does. Frequencies outside the scanner's bands are skipped, and those that\n"
    "find no channel are counted; both are said on standard error.\n"
    "With --found, the list of frequencies found is written to OUT.txt, one a line.\n\n"
    "Options:\n"
    "  --base B.mem  the image to start from\n"
    "  --bank N      1 to 5, or D for the Dummy bank (default 1)\n"
    "  --start S     the first channel, 1 to 50 (default 1)\n"
    "  --found       write the list found instead of importing\n"
    "  --help        show this text\n",
    &RunImport,
};

}  // namespace vexa
