// vexa send: a MEM file into the scanner, whole or only what changed since the last transfer.
#include <algorithm>
#include <iostream>

#include "commands.h"
#include "core/image.h"
#include "core/memfile.h"
#include "link/kept_image.h"
#include "link/protocol.h"
#include "link_runner.h"

namespace vexa {
namespace {

// Takes "--changes" out of the arguments; true when it was there.
bool TakeChangesFlag(std::vector<std::string>& args) {
    const auto at = std::find(args.begin(), args.end(), "--changes");
    if (at == args.end()) return false;
    args.erase(at);
    return true;
}

int RunSend(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool changes = TakeChangesFlag(args);
    LinkRun run;
    if (const int code = ParseLinkArgs(args, kSendCommand.usage, run); code >= 0) return code;
    if (run.listTags) return Fail("the ID list tags can be read, not sent", kExitUsage);
    if (changes && run.bank >= 0)
        return Fail("--changes sends every bank's changes; leave out --bank", kExitUsage);

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
    std::string identification;
    std::string refusal;  // why a send of changes did not start
    bool nothingChanged = false;
    const bool ran = RunTransferOpened(
        run,
        [&](vex::LinkSession& session, const vex::OpenResult& opened) {
            identification = opened.identification;
            if (changes) {
                if (!opened.detected) {
                    refusal = "no BCT8 answered; check the port, the speed and remote mode";
                    return false;
                }
                const vex::KeptImage kept = vex::LoadKeptImage(run.folder, identification);
                if (!kept.image) {
                    refusal = "no copy of what the scanner \"" + identification +
                              "\" holds is kept in " + run.folder.string() +
                              (kept.problem.empty() ? "" : " (" + kept.problem + ")") +
                              ": it is made by a complete read or send with this scanner. Send "
                              "the whole image once with: vexa send --port " +
                              run.port + " " + run.file;
                    return false;
                }
                request.plan = vex::PlanChanges(*kept.image, image);
                // Only the parts that changed, of those asked for.
                request.items.frequencies &= request.plan->channelCount() > 0;
                request.items.trunkIds &= request.plan->trunkIdCount() > 0;
                request.items.trunkSettings &= request.plan->bankCount() > 0;
                const vex::TransferItems& left = request.items;
                if (!left.frequencies && !left.trunkIds && !left.trunkSettings) {
                    nothingChanged = true;
                    return false;
                }
                std::cerr << "Sending " << vex::DescribePlan(*request.plan)
                          << " (changes made on the scanner's keypad since the last transfer "
                             "are not seen)\n";
            }
            session.startSend(image, request);
            return true;
        },
        result, error);
    if (!refusal.empty()) return Fail(refusal);
    if (nothingChanged) {
        std::cerr << "Nothing to send: the scanner already holds " << run.file << '\n';
        return kExitOk;
    }
    if (!ran) return Fail(run.port + ": " + error);
    const std::string note =
        vex::RecordSend(run.folder, identification, image, request, run.options, result.outcome);
    if (!note.empty()) std::cerr << "vexa: warning: " << note << '\n';
    if (result.outcome != vex::TransferOutcome::Completed) return Fail(FailureText(result));
    for (const std::string& warning : result.warnings)
        std::cerr << "vexa: warning: " << warning << '\n';
    if (changes)
        std::cerr << "Sent the changes of " << run.file << '\n';
    else
        std::cerr << "Sent "
                  << (run.bank >= 0 ? "bank " + std::to_string(run.bank + 1) : "all banks")
                  << " from " << run.file << '\n';
    return kExitOk;
}

}  // namespace

const Command kSendCommand{
    "send", "send a MEM file to the scanner",
    "Usage: vexa send --port DEVICE [--baud N] [--bank N] [--changes] [--dir FOLDER]\n"
    "                 [--trace FILE] IN.mem\n"
    "Writes the channels, trunk settings and trunk IDs of IN.mem into the BCT8.\n\n"
    "Options:\n"
    "  --port DEVICE   the serial device, e.g. /dev/ttyUSB0 or a /dev/serial/by-id name\n"
    "  --baud N        4800, 9600, 19200, 38400 or 57600 (default: com250.ini, else 19200)\n"
    "  --bank N        send bank N (1 to 5) only\n"
    "  --items LIST    what to send: channels,ids,settings (default: all three)\n"
    "  --changes       send only what differs from the scanner's memory as the last complete\n"
    "                  read or send left it (kept per scanner in the program folder); changes\n"
    "                  made on the scanner's keypad since then are not seen\n"
    "  --dir FOLDER    the program folder (setup.ini, com250.ini, the transfer logs)\n"
    "  --trace FILE    write a timed trace of every byte sent and received to FILE\n"
    "                  (\"-\" for standard error), to attach to a bug report\n",
    RunSend};

}  // namespace vexa
