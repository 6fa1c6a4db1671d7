#include "link_runner.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "commands.h"
#include "core/numeric.h"
#include "core/version.h"
#include "link/protocol.h"
#include "link/serial_trace.h"
#include "platform/program_folder.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"
#include "settings/setup_ini.h"
#include "settings/state_files.h"

namespace vexa {
namespace {

bool g_traceWriteFailed = false;

bool ParseItems(const std::string& list, vex::TransferItems& items, bool& listTags) {
    items = {};
    listTags = false;
    std::size_t from = 0;
    while (from <= list.size()) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string::npos) comma = list.size();
        const std::string item = list.substr(from, comma - from);
        if (item == "channels")
            items.frequencies = true;
        else if (item == "ids")
            items.trunkIds = true;
        else if (item == "settings")
            items.trunkSettings = true;
        else if (item == "listtags")
            listTags = true;
        else
            return false;
        from = comma + 1;
    }
    return true;
}

// The progress line, rewritten in place; only when both outputs are a terminal, so that a
// script or a log sees nothing but the one line that says why a command failed.
class ProgressLine {
  public:
    ProgressLine() : d_tty(isatty(STDERR_FILENO) == 1 && isatty(STDOUT_FILENO) == 1) {}
    ~ProgressLine() { finish(); }
    void show(const vex::LinkProgress& p) {
        std::string line = p.status;
        if (p.channel > 0) line = "Channel " + vex::ChannelDigits(p.channel) + "  " + line;
        if (p.total > 0) line += "  " + std::to_string(p.done * 100 / p.total) + "%";
        if (d_tty) {
            std::string padded = line;
            if (padded.size() < d_width) padded.append(d_width - padded.size(), ' ');
            d_width = line.size();
            std::cerr << '\r' << padded << std::flush;
            d_open = true;
        }
    }
    void finish() {
        if (d_open) std::cerr << '\n';
        d_open = false;
    }

  private:
    bool d_tty;
    bool d_open = false;
    std::size_t d_width = 0;
};

}  // namespace

int ParseLinkArgs(const std::vector<std::string>& args, std::string_view usage, LinkRun& run) {
    const ParsedArgs parsed = ParseArgs(args, {"port", "baud", "bank", "dir", "items", "trace"});
    if (parsed.help) {
        std::cout << usage;
        return kExitOk;
    }
    if (!parsed.error.empty()) return Fail(parsed.error, kExitUsage);
    if (parsed.positional.size() != 1) return Fail("exactly one MEM file is needed", kExitUsage);
    run.file = parsed.positional[0];
    const auto port = parsed.option("port");
    if (!port || port->empty())
        return Fail("--port DEVICE is needed, e.g. --port /dev/ttyUSB0", kExitUsage);
    run.port = *port;
    // A path names a file from the working folder; a bare name ("ttyUSB0") is a device name.
    if (run.port.find('/') != std::string::npos || std::filesystem::exists(run.port)) {
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(run.port, ec);
        if (!ec) run.port = absolute.lexically_normal().string();
    }

    QStringList folderArgs;
    if (const auto dir = parsed.option("dir")) {
        if (!std::filesystem::is_directory(*dir))
            return Fail("the program folder '" + *dir + "' does not exist");
        folderArgs << "--dir" << QString::fromStdString(*dir);
    }
    run.folder = vex::ProgramFolder(folderArgs);
    run.options = vex::ReadSetupIni(run.folder);
    run.baud = vex::ReadComSettings(run.folder).settings.baud;
    if (const auto baud = parsed.option("baud")) {
        const long b = vex::IntegerValue(*baud);
        if (b != 4800 && b != 9600 && b != 19200 && b != 38400 && b != 57600)
            return Fail("--baud must be 4800, 9600, 19200, 38400 or 57600, not '" + *baud + "'",
                        kExitUsage);
        run.baud = b;
    }
    if (const auto bank = parsed.option("bank")) {
        const int n = vex::IntegerValue(*bank);
        if (n < 1 || n > vex::kScannerBanks || std::to_string(n) != *bank)
            return Fail("--bank must be a number from 1 to 5, not '" + *bank + "'", kExitUsage);
        run.bank = n - 1;
    }
    if (const auto items = parsed.option("items")) {
        if (!ParseItems(*items, run.items, run.listTags))
            return Fail("--items takes channels, ids, settings and listtags separated by commas",
                        kExitUsage);
    }
    if (const auto trace = parsed.option("trace")) {
        if (trace->empty()) return Fail("--trace needs a file name, or - for stderr", kExitUsage);
        if (*trace != "-") {
            if (const std::string problem = OutputProblem(*trace); !problem.empty())
                return Fail(*trace + ": " + problem);
        }
        run.traceFile = *trace;
    }
    return -1;
}

std::string OutputProblem(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (std::filesystem::exists(status)) {
        if (std::filesystem::is_directory(status)) return "is a folder";
        if (!std::filesystem::is_regular_file(status)) return "is not a plain file";
        if (access(file.c_str(), W_OK) != 0)
            return std::string("cannot be written: ") + std::strerror(errno);
    }
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    if (!std::filesystem::is_directory(folder, ec))
        return "cannot be written: the folder " + folder.string() + " does not exist";
    // The file is replaced through a new file beside it.
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        return "cannot be written in " + folder.string() + ": " + std::strerror(errno);
    return {};
}

bool TraceWriteFailed() {
    return g_traceWriteFailed;
}

bool RunTransfer(const LinkRun& run, const std::function<void(vex::LinkSession&)>& start,
                 vex::TransferResult& result, std::string& error) {
    return RunTransferOpened(
        run,
        [&start](vex::LinkSession& session, const vex::OpenResult&) {
            start(session);
            return true;
        },
        result, error);
}

bool RunTransferOpened(const LinkRun& run,
                       const std::function<bool(vex::LinkSession&, const vex::OpenResult&)>& start,
                       vex::TransferResult& result, std::string& error) {
    static int argc = 1;
    static char name[] = "vexa";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    vex::SerialTransport transport(QString::fromStdString(run.port), static_cast<qint32>(run.baud));
    vex::QtScheduler scheduler;
    vex::LinkConfig config;
    config.baud = run.baud;
    config.options = run.options;
    config.folder = run.folder;
    vex::LinkSession session(transport, scheduler, config);
    ProgressLine progress;
    bool opened = false;
    bool finished = false;

    vex::LinkEvents events;
    events.progress = [&](const vex::LinkProgress& p) { progress.show(p); };
    // Running the command is the confirmation.
    events.ask = [](const vex::Question&, std::function<void(bool)> answer) { answer(true); };
    events.finished = [&](const vex::TransferResult& r) {
        result = r;
        finished = true;
        app.quit();
    };
    vex::SerialTrace trace(scheduler);
    trace.setHeading("vexa " + std::string(vex::ProgramVersion()) + " serial trace, " +
                     std::to_string(run.baud) + " baud");
    if (!run.traceFile.empty())
        events.trace = [&](std::string_view line) {
            const std::string& stamped = trace.record(line);
            if (run.traceFile != "-") return;
            progress.finish();
            std::cerr << stamped << '\n';
        };
    session.setEvents(events);
    session.open([&](const vex::OpenResult& r) {
        if (!r.port.ok()) {
            error = r.port.message + (r.port.detail.empty() ? "" : " (" + r.port.detail + ")");
            app.quit();
            return;
        }
        for (const std::string& warning : r.warnings) std::cerr << "vexa: " << warning << '\n';
        opened = true;
        if (!start(session, r)) app.quit();
    });
    app.exec();
    progress.finish();
    session.close();
    // Kept however the transfer ended: a failed one is what a bug report needs most.
    if (!run.traceFile.empty() && run.traceFile != "-") {
        if (const vex::WriteResult written = vex::WriteSerialTrace(trace, run.traceFile);
            !written) {
            g_traceWriteFailed = true;
            std::cerr << "vexa: " << run.traceFile
                      << ": the trace could not be written: " << written.error << '\n';
        }
    }
    return opened && finished;
}

std::string FailureText(const vex::TransferResult& result) {
    if (!result.message.empty()) {
        std::string line = result.message;
        std::replace(line.begin(), line.end(), '\n', ' ');
        return line;
    }
    if (result.outcome == vex::TransferOutcome::Stopped) return "the transfer was stopped";
    return "the transfer did not complete";
}

}  // namespace vexa
