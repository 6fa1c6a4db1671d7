// vexa send: a MEM file into the scanner.
#include <iostream>

#include "commands.h"
#include "core/image.h"
#include "core/memfile.h"
#include "link_runner.h"

namespace vexa {
namespace {

int RunSend(const std::vector<std::string>& args) {
    LinkRun run;
    if (const int code = ParseLinkArgs(args, kSendCommand.usage, run); code >= 0) return code;
    if (run.listTags) return Fail("the ID list tags can be read, not sent", kExitUsage);

    vex::Image image;
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    const vex::MemReadResult loaded = vex::ReadMemFile(image, run.file, run.options);
    if (loaded.fileMissing) return Fail(run.file + ": no such file");
    if (!loaded.ok) return Fail(run.file + ": " + loaded.message);

    vex::SendRequest request;
    request.items = run.items;
    request.area = run.bank >= 0 ? vex::TransferArea::SingleBank : vex::TransferArea::AllBanks;
    request.bank = run.bank;

    vex::TransferResult result;
    std::string error;
    const bool ran = RunTransfer(
        run, [&](vex::LinkSession& session) { session.startSend(image, request); }, result, error);
    if (!ran) return Fail(run.port + ": " + error);
    if (result.outcome != vex::TransferOutcome::Completed) return Fail(FailureText(result));
    for (const std::string& warning : result.warnings)
        std::cerr << "vexa: warning: " << warning << '\n';
    std::cerr << "Sent " << (run.bank >= 0 ? "bank " + std::to_string(run.bank + 1) : "all banks")
              << " from " << run.file << '\n';
    return kExitOk;
}

}  // namespace

const Command kSendCommand{
    "send", "send a MEM file to the scanner",
    "Usage: vexa send --port DEVICE [--baud N] [--bank N] [--dir FOLDER]\n"
    "                 [--trace FILE] IN.mem\n"
    "Writes the channels, trunk settings and trunk IDs of IN.mem into the BCT8.\n\n"
    "Options:\n"
    "  --port DEVICE   the serial device, e.g. /dev/ttyUSB0 or a /dev/serial/by-id name\n"
    "  --baud N        4800, 9600, 19200, 38400 or 57600 (default: com250.ini, else 19200)\n"
    "  --bank N        send bank N (1 to 5) only\n"
    "  --items LIST    what to send: channels,ids,settings (default: all three)\n"
    "  --dir FOLDER    the program folder (setup.ini, com250.ini, the transfer logs)\n"
    "  --trace FILE    write a timed trace of every byte sent and received to FILE\n"
    "                  (\"-\" for standard error), to attach to a bug report\n",
    RunSend};

}  // namespace vexa
