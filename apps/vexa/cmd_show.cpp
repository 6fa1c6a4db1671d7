// vexa show: a MEM file as a readable table, bank by bank.
#include <cstdio>
#include <iostream>
#include <string>

#include "commands.h"
#include "core/image.h"
#include "core/memfile.h"
#include "core/numeric.h"

namespace vexa {
namespace {

std::string FlagWord(const std::string& text) {
    if (text == "1") return "On";
    if (text == "0") return "Off";
    return "";
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

void PrintBank(const vex::Image& image, int bank) {
    std::cout << "Bank " << bank + 1 << ": " << Latin1ToUtf8(image.BankTag[bank]) << "\n";
    std::cout << "  Trunk type " << Latin1ToUtf8(image.TrunkType[bank]) << ", priority channel "
              << image.PriorityChannel[bank] << ", "
              << (image.ActiveBank[bank] == 1 ? "active" : "not active") << "\n";
    int used = 0;
    for (int slot = 1; slot <= vex::ChannelsPerBank; ++slot) {
        if (vex::IsEmptyChannel(image, bank, slot)) continue;
        if (used++ == 0)
            std::cout << "  Slot  Chan  Freq. (MHz)  Tag               Trunk  Delay  Lock Out\n";
        const vex::Channel& c = image.channel(bank, slot);
        char numbers[32];
        std::snprintf(numbers, sizeof numbers, "  %4d  %4d  ", slot,
                      vex::AbsoluteChannel(bank, slot));
        std::cout << numbers << Padded(Latin1ToUtf8(c[vex::kFieldFrequency]), 11) << "  "
                  << Latin1ToUtf8(Padded(c[vex::kFieldTag], 16)) << "  "
                  << Padded(FlagWord(c[vex::kFieldTrunk]), 5) << "  "
                  << Padded(FlagWord(c[vex::kFieldDelay]), 5) << "  "
                  << FlagWord(c[vex::kFieldLockout]) << "\n";
    }
    if (used == 0)
        std::cout << "  (no channels)\n";
    else
        std::cout << "  " << used << (used == 1 ? " channel" : " channels") << "\n";
}

int RunShow(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"bank", "dir"});
    if (parsed.help) {
        std::cout << kShowCommand.usage;
        return kExitOk;
    }
    if (!parsed.error.empty()) return Fail(parsed.error, kExitUsage);
    if (parsed.positional.size() != 1)
        return Fail("show needs exactly one MEM file; see \"vexa show --help\"", kExitUsage);
    int onlyBank = -1;
    if (const auto bank = parsed.option("bank")) {
        const int n = vex::IntegerValue(*bank);
        if (n < 1 || n > vex::kScannerBanks || std::to_string(n) != *bank)
            return Fail("--bank must be a number from 1 to 5, not '" + *bank + "'", kExitUsage);
        onlyBank = n - 1;
    }
    vex::Image image;
    vex::ClearForStartup(image);
    const std::string& file = parsed.positional[0];
    const vex::MemReadResult result = vex::ReadMemFile(image, file, vex::ImageOptions{});
    if (result.fileMissing) return Fail(file + ": no such file");
    if (!result.ok) return Fail(file + ": " + result.message);
    for (int bank = 0; bank < vex::kScannerBanks; ++bank) {
        if (onlyBank >= 0 && bank != onlyBank) continue;
        if (onlyBank < 0 && bank > 0) std::cout << "\n";
        PrintBank(image, bank);
    }
    return std::cout.good() ? kExitOk : Fail("could not write the listing");
}

}  // namespace

const Command kShowCommand = {
    "show",
    "print the banks of a MEM file as a table",
    "Usage: vexa show FILE.mem [--bank N]\n"
    "Prints each bank of the MEM file: its tag, trunk type, priority channel and active flag,\n"
    "then every channel that is not empty with its slot, channel number, frequency, tag and\n"
    "the trunk, delay and lock-out flags.\n\n"
    "Options:\n"
    "  --bank N   show only bank N (1 to 5)\n"
    "  --help     show this text\n",
    &RunShow,
};

}  // namespace vexa
