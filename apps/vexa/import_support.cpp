#include "import_support.h"

#include <iostream>

#include "core/memfile.h"
#include "core/normalise.h"

namespace vexa {

bool LoadBase(const ParsedArgs& parsed, ImportTarget& target, int& exitCode) {
    vex::ClearForStartup(target.image);
    vex::ClearForFileNew(target.image);
    vex::SetNewFileBankTags(target.image);
    for (int b = 0; b < vex::kScannerBanks; ++b) target.image.TrunkType[b] = "1";
    const auto base = parsed.option("base");
    if (!base) return true;
    const vex::MemReadResult read = vex::ReadMemFile(target.image, *base, target.options);
    if (read.ok) return true;
    exitCode = Fail(*base + ": " + (read.fileMissing ? std::string("no such file") : read.message));
    return false;
}

bool MayOverride(const ImportTarget& target, const vex::ImportPlan& plan, bool yes, int& exitCode) {
    const std::vector<int> filled = vex::FilledDestinations(target.image, plan);
    if (filled.empty() || yes) return true;
    std::string banks;
    for (const int b : filled) banks += (banks.empty() ? "" : ", ") + vex::DestinationName(b);
    exitCode = Fail(std::string(vex::kMsgBankNotEmpty) + " (" + banks +
                    "; add --yes to override the data)");
    return false;
}

void TellNotes(const std::vector<std::string>& notes) {
    for (const std::string& note : notes) std::cerr << "vexa: " << Latin1ToUtf8(note) << '\n';
}

int SaveImage(ImportTarget& target, const std::string& out) {
    vex::NormaliseTable(target.image, target.options);
    const vex::MemWriteResult written = vex::WriteMemFile(target.image, out, target.options);
    if (!written.ok) return Fail("cannot write " + written.path.string() + ": " + written.error);
    std::cout << "Wrote " << written.path.string() << "\n";
    return kExitOk;
}

int ApplyAndSave(ImportTarget& target, const vex::ImportPlan& plan, const std::string& out) {
    vex::ApplyImport(target.image, plan);
    TellNotes(plan.notes);
    return SaveImage(target, out);
}

int BankOption(const ParsedArgs& parsed, bool allowDummy) {
    const auto text = parsed.option("bank");
    if (!text) return -1;
    const int bank = vex::ParseDestination(*text);
    if (bank < 0 || (bank == vex::kDummyBank && !allowDummy)) return -2;
    return bank;
}

int CheckUsage(const Command& command, const ParsedArgs& parsed, std::size_t positional) {
    if (parsed.help) {
        std::cout << command.usage;
        return kExitOk;
    }
    if (!parsed.error.empty()) return Fail(parsed.error, kExitUsage);
    if (parsed.positional.size() != positional)
        return Fail(std::string(command.name) + " needs " + std::to_string(positional) +
                        " file names; see \"vexa " + std::string(command.name) + " --help\"",
                    kExitUsage);
    return -1;
}

}  // namespace vexa
