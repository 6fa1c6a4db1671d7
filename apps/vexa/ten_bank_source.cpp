#include "ten_bank_source.h"

#include "core/numeric.h"
#include "import_support.h"

namespace vexa {

bool ParseTenBankChoice(const ParsedArgs& parsed, bool allowDummy, TenBankChoice& choice,
                        int& exitCode) {
    choice.all = parsed.option("all").has_value();
    const auto from = parsed.option("from");
    choice.bank = BankOption(parsed, allowDummy);
    if (from) choice.source = vex::IntegerValue(*from) - 1;
    const bool apply =
        from && choice.source >= 0 && choice.source < vex::TenBankFile::kBanks && choice.bank >= 0;
    if (choice.all == (from.has_value() || choice.bank != -1) || (!choice.all && !apply)) {
        exitCode = Fail(std::string("give either --all, or --from 1..10 and --bank 1..5") +
                            (allowDummy ? "|D" : ""),
                        kExitUsage);
        return false;
    }
    return true;
}

std::unique_ptr<vex::TenBankFile> ReadTenBankSource(const std::string& path, int& exitCode) {
    auto file = std::make_unique<vex::TenBankFile>();
    const vex::MemReadResult read = vex::ReadTenBankFile(path, *file);
    if (read.ok) return file;
    exitCode = Fail(path + ": " + (read.fileMissing ? std::string("no such file") : read.message));
    return nullptr;
}

}  // namespace vexa
