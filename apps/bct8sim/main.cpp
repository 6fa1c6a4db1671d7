// bct8sim: a BCT8 scanner in remote mode on a pseudo-terminal, for trying the program without
// the radio and for the end-to-end tests.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/command_line.h"
#include "core/version.h"
#include "sim/faults.h"
#include "sim/scanner.h"
#include "wire.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

constexpr const char* kUsage = R"(Usage: bct8sim [options]

Simulates a BCT8 scanner in remote mode. Creates a pseudo-terminal, prints the path of its
device as the first line on standard output and answers the scanner's remote commands there
until it is stopped (Ctrl+C, SIGTERM, or "quit" on standard input).

Options:
  --link PATH          also make PATH a symbolic link to the device (removed on exit)
  --memory FILE        keep the scanner's memory in FILE: loaded at start (created when
                       missing), rewritten shortly after every change and on exit
  --baud N             line speed the scanner is set to (default 19200); bytes take
                       10 bits each; commands sent at another speed are ignored
  --any-baud           answer whatever speed the program sets
  --latency-ms N       time the scanner takes before it answers (default 5)
  --save-delay-ms N    how long after the last change the memory file is written (default 100)
  --scan-ms N          the scan moves on every N ms (default: at every display poll)
  --fault FAULT        inject a fault; may be repeated. FAULT is KIND[@WHERE][:COUNT]
                         KIND   no-reply | cut-reply | err | garbage | disconnect
                         WHERE  N (the Nth command) | chN (reads/writes of channel N)
                                | TEXT (commands beginning with TEXT); default: any command
                         COUNT  a number | once (default) | always
                       e.g. --fault no-reply@ch17:3   --fault disconnect@ch120
                            --fault err@TG:always     --fault cut-reply@SI
  --trace FILE         write a timed serial trace to FILE ("-" for standard error)
  --no-control         do not read control lines from standard input
  --quit-on-eof        end when standard input closes (for test harnesses)
  --help               show this text
  --version            show the version

Control lines on standard input (each answered with "ok" or "error: ..."):
  fault FAULT   add a fault            clear   remove all faults
  save          write the memory now   count   number of commands received
  quit          stop
)";

bool ParseNumber(const char* text, double low, double high, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= low && value <= high;
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "bct8sim: %s; see \"bct8sim --help\"\n", problem.c_str());
    return 2;
}

constexpr vex::CliOption kOptions[] = {
    vex::kHelpOption,           vex::kVersionOption,           {"link", 0, "PATH", {}},
    {"memory", 0, "FILE", {}},  {"baud", 0, "N", {}},          {"any-baud", 0, {}, {}},
    {"latency-ms", 0, "N", {}}, {"save-delay-ms", 0, "N", {}}, {"scan-ms", 0, "N", {}},
    {"fault", 0, "FAULT", {}},  {"trace", 0, "FILE", {}},      {"no-control", 0, {}, {}},
    {"quit-on-eof", 0, {}, {}},
};

}  // namespace

int main(int argc, char** argv) {
    bct8sim::WireOptions options;
    bct8sim::FaultPlan faults;
    std::string tracePath;
    const vex::CliArgs args =
        vex::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), kOptions);
    if (args.has(vex::kHelpOption.name)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!args.error.empty()) return Usage(args.error);
    if (args.has(vex::kVersionOption.name)) {
        std::printf("bct8sim %.*s\n", static_cast<int>(vex::ProgramVersion().size()),
                    vex::ProgramVersion().data());
        return 0;
    }
    if (!args.positional.empty()) return Usage("unexpected argument '" + args.positional[0] + "'");
    // Each number option: its range and the words of its complaint.
    struct NumberOption {
        const char* name;
        double low, high;
        const char* problem;
    };
    const NumberOption numbers[] = {
        {"baud", 300, 115200, "--baud needs a speed such as 9600 or 19200"},
        {"latency-ms", 0, 60000, "--latency-ms needs a number of milliseconds (0..60000)"},
        {"save-delay-ms", 0, 60000, "--save-delay-ms needs a number of milliseconds (0..60000)"},
        {"scan-ms", 1, 60000, "--scan-ms needs a number of milliseconds (1..60000)"},
    };
    for (const NumberOption& option : numbers) {
        const auto text = args.value(option.name);
        if (!text) continue;
        double number = 0;
        if (!ParseNumber(text->c_str(), option.low, option.high, number))
            return Usage(option.problem);
        const std::string_view name = option.name;
        if (name == "baud") options.baud = static_cast<long>(number);
        if (name == "latency-ms") options.latencyMs = number;
        if (name == "save-delay-ms") options.saveDelayMs = static_cast<int>(number);
        if (name == "scan-ms") options.scanMs = static_cast<int>(number);
    }
    if (args.has("any-baud")) options.strictBaud = false;
    if (args.has("no-control")) options.control = false;
    if (args.has("quit-on-eof")) options.quitOnEof = true;
    if (const auto path = args.value("link")) options.linkPath = *path;
    if (const auto path = args.value("memory")) options.memoryFile = *path;
    if (const auto path = args.value("trace")) tracePath = *path;
    for (const std::string& text : args.values("fault")) {
        std::string error;
        const auto fault = bct8sim::ParseFault(text, error);
        if (!fault) return Usage(error);
        faults.add(*fault);
    }

    if (!tracePath.empty()) {
        options.trace = tracePath == "-" ? stderr : std::fopen(tracePath.c_str(), "w");
        if (!options.trace) {
            std::fprintf(stderr, "bct8sim: cannot write %s: %s\n", tracePath.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }

    bct8sim::Scanner scanner;
    if (!options.memoryFile.empty()) {
        std::string text;
        // A folder, a pipe or a device in its place is refused: it could not be read or kept.
        const vex::FileOutcome read =
            vex::ReadPlainFile(options.memoryFile, text, vex::kMaxDocumentSize);
        if (!read && read.problem != vex::FileProblem::Missing) {
            std::fprintf(stderr, "bct8sim: cannot use %s as the memory file: %s\n",
                         options.memoryFile.c_str(), read.reason.c_str());
            return 1;
        }
        if (read) {
            std::string error;
            if (!scanner.load(text, error)) {
                std::fprintf(stderr, "bct8sim: %s is not a memory file (%s)\n",
                             options.memoryFile.c_str(), error.c_str());
                return 1;
            }
        }
    }

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    scanner.setScanByTime(options.scanMs > 0);
    bct8sim::Wire wire(scanner, faults, options);
    std::string error;
    if (!wire.open(error)) {
        std::fprintf(stderr, "bct8sim: %s\n", error.c_str());
        return 1;
    }
    if (!wire.saveMemory(error)) {
        std::fprintf(stderr, "bct8sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", wire.devicePath().c_str());
    std::fflush(stdout);
    const int code = wire.run(g_stop);
    if (options.trace && options.trace != stderr) std::fclose(options.trace);
    return code;
}
