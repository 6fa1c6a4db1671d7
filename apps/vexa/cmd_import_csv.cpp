// vexa import-csv: channels from a CSV file by its header names (the channel export read back).
#include "commands.h"
#include "import_support.h"
#include "io/csv_channels.h"
#include "io/input_file.h"

namespace vexa {
namespace {

constexpr std::uintmax_t kMaxCsvFile = 16u << 20;

int RunImportCsv(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"base"});
    if (const int code = CheckUsage(kImportCsvCommand, parsed, 2); code >= 0) return code;
    const std::string& in = parsed.positional[0];
    const vex::InputFile file = vex::LoadInputFile(in, kMaxCsvFile);
    if (!file.ok) return Fail(file.error);
    const vex::CsvChannelImport read = vex::ParseCsvChannels(file.content);
    if (!read.ok) return Fail(in + ": " + read.message);
    ImportTarget target;
    int code = kExitOk;
    if (!LoadBase(parsed, target, code)) return code;
    return ApplyAndSave(target, read.plan, parsed.positional[1]);
}

}  // namespace

const Command kImportCsvCommand = {
    "import-csv",
    "read channels from a CSV file by its column names",
    "Usage: vexa import-csv IN.csv OUT.mem [--base B.mem]\n"
    "Reads the columns Frequency, Tag, Trunk, Delay, Lockout, Bank and Channel (any case, any\n"
    "order, any of them but Frequency missing; \",\" or \";\" between fields, fields may be in\n"
    "double quotes) into the image of B.mem (an empty image without --base). A line with\n"
    "Channel (and Bank) goes there, others to the channel after the previous line's. A file\n"
    "written by \"vexa export\" reads back to the same channels. The result is checked and\n"
    "written to OUT.mem as Save does.\n",
    &RunImportCsv,
};

}  // namespace vexa
