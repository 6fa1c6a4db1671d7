// vexa export: the CSV export of a MEM file's channels, trunk IDs or search data.
#include <iostream>

#include "commands.h"
#include "core/atomic_file.h"
#include "core/memfile.h"
#include "import_support.h"
#include "io/csv_export.h"

namespace vexa {
namespace {

int RunExport(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"bank"}, {"trunk", "search"});
    if (const int code = CheckUsage(kExportCommand, parsed, 2); code >= 0) return code;
    const int bank = BankOption(parsed, true);
    if (bank == -2) return Fail("--bank takes 1 to 5 or D", kExitUsage);
    const bool trunk = parsed.option("trunk").has_value();
    const bool search = parsed.option("search").has_value();
    if (trunk && search) return Fail("--trunk and --search exclude each other", kExitUsage);
    if (trunk && bank == vex::kDummyBank)
        return Fail("the Dummy bank has no trunk IDs", kExitUsage);

    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];
    vex::Image image;
    vex::ClearForStartup(image);
    // The table as the file holds it: an export shows what is there, unchecked.
    const vex::MemReadResult read = vex::ReadMemFile(image, in, vex::Options{});
    if (!read.ok) return Fail(in + ": " + (read.fileMissing ? "no such file" : read.message));

    vex::CsvExportChoice choice =
        bank >= 0 ? vex::CsvExportChoice::CurrentBank : vex::CsvExportChoice::AllBanks;
    if (trunk)
        choice = bank >= 0 ? vex::CsvExportChoice::TrunkIdsCurrentBank
                           : vex::CsvExportChoice::TrunkIdsAllBanks;
    if (search) choice = vex::CsvExportChoice::SearchEdge;
    const vex::WriteResult written =
        vex::WriteFileAtomically(out, vex::ExportCsv(image, choice, bank < 0 ? 0 : bank));
    if (!written.ok) return Fail("cannot write " + out + ": " + written.error);
    std::cout << "Wrote " << out << "\n";
    return kExitOk;
}

}  // namespace

const Command kExportCommand = {
    "export",
    "write a MEM file's channels, trunk IDs or search data as a CSV file",
    "Usage: vexa export IN.mem OUT.csv [--bank N] [--trunk] [--search]\n"
    "Writes the channels of IN.mem as the table holds them (Bank, Channel, Frequency, Tag,\n"
    "Trunk, Delay Time, Lockout; an empty channel as \"Empty\"). Commas and semicolons in tags\n"
    "become spaces; a tag a spreadsheet would run as a formula gets a leading '.\n\n"
    "Options:\n"
    "  --bank N   only bank N (1 to 5, or D for the Dummy bank); all banks otherwise\n"
    "  --trunk    the trunk ID tables instead (Index, ID, Tag)\n"
    "  --search   the search/edge data instead (Start, End, Tag, Mode, Step)\n"
    "  --help     show this text\n",
    &RunExport,
};

}  // namespace vexa
