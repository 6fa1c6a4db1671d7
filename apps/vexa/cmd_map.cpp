// vexa map: the CSV Mapper without its window: open, guess the columns, save.
#include <iostream>

#include "commands.h"
#include "core/atomic_file.h"
#include "import_support.h"
#include "io/csv_mapper.h"
#include "io/input_file.h"

namespace vexa {
namespace {

constexpr std::uintmax_t kMaxMapperFile = 64u << 20;

int RunMap(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {}, {"types", "remove-empty"});
    const bool types = parsed.option("types").has_value();
    if (const int code = CheckUsage(kMapCommand, parsed, types ? 1 : 2); code >= 0) return code;
    const std::string& in = parsed.positional[0];
    const vex::InputFile source = vex::LoadInputFile(in, kMaxMapperFile);
    if (!source.ok) return Fail(source.error);
    vex::MapperOpenResult open = vex::OpenMapperText(source.content);
    if (open.tooLarge) std::cerr << "vexa: " << vex::kMsgMapperTooLarge << '\n';
    if (types) {
        for (const int type : open.grid.types) std::cout << vex::kMapperColumnTypes[type] << '\n';
        return kExitOk;
    }
    if (parsed.option("remove-empty")) vex::RemoveEmptyLines(open.grid);
    const std::string out = vex::WithMapperSuffix(parsed.positional[1]);
    const vex::WriteResult written = vex::WriteFileAtomically(out, vex::SaveMapperText(open.grid));
    if (!written.ok) return Fail("cannot write " + out + ": " + written.error);
    std::cout << "Wrote " << out << " (" << open.grid.rowCount() << " rows x " << open.grid.columns
              << " cols)\n";
    return kExitOk;
}

}  // namespace

const Command kMapCommand = {
    "map",
    "clean a foreign frequency list into a CSV file, as the CSV Mapper does",
    "Usage: vexa map IN OUT.csv [--remove-empty]\n"
    "       vexa map --types IN\n"
    "Opens IN as the CSV Mapper does (at most 15000 lines, characters it cannot show dropped,\n"
    "mode and switch words tidied, split at commas) and saves the grid to OUT.csv with its\n"
    "fixed first line (\".csv\" is added to a name without a point).\n"
    "With --types, prints the guessed meaning of each column, one a line.\n\n"
    "Options:\n"
    "  --remove-empty  drop the lines whose cells are all empty first\n"
    "  --types         print the column types instead of saving\n"
    "  --help          show this text\n",
    &RunMap,
};

}  // namespace vexa
