// vexa read: the scanner's memory into a MEM file.
#include <iostream>

#include "commands.h"
#include "core/image.h"
#include "core/memfile.h"
#include "link/kept_image.h"
#include "link_runner.h"

namespace vexa {
namespace {

int RunRead(const std::vector<std::string>& args) {
    LinkRun run;
    if (const int code = ParseLinkArgs(args, kReadCommand.usage, run); code >= 0) return code;

    if (const std::string problem = OutputProblem(run.file); !problem.empty())
        return Fail(run.file + ": " + problem);

    vex::Image image;
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    // One bank read into an existing file keeps the file's other banks.
    if (run.bank >= 0 && std::filesystem::exists(run.file)) {
        const vex::MemReadResult loaded = vex::ReadMemFile(image, run.file, run.options);
        if (!loaded.ok) return Fail(run.file + ": " + loaded.message);
    }
    vex::ReadRequest request;
    request.items = run.items;
    request.area = run.bank >= 0 ? vex::TransferArea::SingleBank : vex::TransferArea::AllBanks;
    request.bank = run.bank;
    request.idListTags = run.listTags;
    const bool tagsOnly =
        run.listTags && !run.items.frequencies && !run.items.trunkIds && !run.items.trunkSettings;

    vex::TransferResult result;
    std::string error;
    std::string identification;
    const bool ran = RunTransferOpened(
        run,
        [&](vex::LinkSession& session, const vex::OpenResult& opened) {
            identification = opened.identification;
            if (tagsOnly)
                session.startReadIdListTags(image);
            else
                session.startRead(image, request);
            return true;
        },
        result, error);
    if (!ran) return Fail(run.port + ": " + error);
    if (result.outcome != vex::TransferOutcome::Completed) return Fail(FailureText(result));
    // What the scanner holds, for a later "vexa send --changes".
    if (const std::string note = vex::RecordRead(run.folder, identification, result); !note.empty())
        std::cerr << "vexa: warning: " << note << '\n';
    // The scanner gives the tags of every list at once; one bank's read keeps the file's others.
    if (run.listTags && run.bank >= 0)
        for (std::size_t b = 0; b < result.image.ScanListTag.size(); ++b)
            if (static_cast<int>(b) != run.bank) result.image.ScanListTag[b] = image.ScanListTag[b];
    for (const std::string& warning : result.warnings)
        std::cerr << "vexa: warning: " << warning << '\n';
    const vex::MemWriteResult written = vex::WriteMemFile(result.image, run.file, run.options);
    if (!written.ok) return Fail(run.file + ": " + written.error);
    std::cerr << "Read " << (run.bank >= 0 ? "bank " + std::to_string(run.bank + 1) : "all banks")
              << " into " << written.path.string() << '\n';
    return kExitOk;
}

}  // namespace

const Command kReadCommand{
    "read", "read the scanner's memory into a MEM file",
    "Usage: vexa read --port DEVICE [--baud N] [--bank N] [--dir FOLDER]\n"
    "                 [--trace FILE] OUT.mem\n"
    "Reads the BCT8's channels, trunk IDs and trunk settings into OUT.mem. The file is written\n"
    "only when the whole read succeeded.\n\n"
    "Options:\n"
    "  --port DEVICE   the serial device, e.g. /dev/ttyUSB0 or a /dev/serial/by-id name\n"
    "  --baud N        4800, 9600, 19200, 38400 or 57600 (default: com250.ini, else 19200)\n"
    "  --bank N        read bank N (1 to 5) only; an existing OUT.mem keeps its other banks\n"
    "  --items LIST    what to read: channels,ids,settings,listtags (default: the first\n"
    "                  three; listtags adds the ID list tags)\n"
    "  --dir FOLDER    the program folder (setup.ini, com250.ini, the transfer logs)\n"
    "  --trace FILE    write a timed trace of every byte sent and received to FILE\n"
    "                  (\"-\" for standard error), to attach to a bug report\n",
    RunRead};

}  // namespace vexa
