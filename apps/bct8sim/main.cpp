// bct8sim: a BCT8 scanner in remote mode on a pseudo-terminal, for trying the program without
// the radio and for the end-to-end tests.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/atomic_file.h"
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

int Usage(const char* problem) {
    std::fprintf(stderr, "bct8sim: %s\nTry \"bct8sim --help\".\n", problem);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bct8sim::WireOptions options;
    bct8sim::FaultPlan faults;
    std::string tracePath;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        double number = 0;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--any-baud") {
            options.strictBaud = false;
        } else if (arg == "--no-control") {
            options.control = false;
        } else if (arg == "--quit-on-eof") {
            options.quitOnEof = true;
        } else if (arg == "--link" || arg == "--memory" || arg == "--trace") {
            const char* text = value();
            if (!text) return Usage((std::string(arg) + " needs a path").c_str());
            if (arg == "--link") options.linkPath = text;
            if (arg == "--memory") options.memoryFile = text;
            if (arg == "--trace") tracePath = text;
        } else if (arg == "--baud") {
            const char* text = value();
            if (!text || !ParseNumber(text, 300, 115200, number)) {
                return Usage("--baud needs a speed such as 9600 or 19200");
            }
            options.baud = static_cast<long>(number);
        } else if (arg == "--latency-ms") {
            const char* text = value();
            if (!text || !ParseNumber(text, 0, 60000, number)) {
                return Usage("--latency-ms needs a number of milliseconds (0..60000)");
            }
            options.latencyMs = number;
        } else if (arg == "--save-delay-ms") {
            const char* text = value();
            if (!text || !ParseNumber(text, 0, 60000, number)) {
                return Usage("--save-delay-ms needs a number of milliseconds (0..60000)");
            }
            options.saveDelayMs = static_cast<int>(number);
        } else if (arg == "--scan-ms") {
            const char* text = value();
            if (!text || !ParseNumber(text, 1, 60000, number)) {
                return Usage("--scan-ms needs a number of milliseconds (1..60000)");
            }
            options.scanMs = static_cast<int>(number);
        } else if (arg == "--fault") {
            const char* text = value();
            if (!text) return Usage("--fault needs a fault such as no-reply@ch17");
            std::string error;
            const auto fault = bct8sim::ParseFault(text, error);
            if (!fault) return Usage(error.c_str());
            faults.Add(*fault);
        } else {
            return Usage(("unknown option " + std::string(arg)).c_str());
        }
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
            if (!scanner.Load(text, error)) {
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

    scanner.SetScanByTime(options.scanMs > 0);
    bct8sim::Wire wire(scanner, faults, options);
    std::string error;
    if (!wire.Open(error)) {
        std::fprintf(stderr, "bct8sim: %s\n", error.c_str());
        return 1;
    }
    if (!wire.SaveMemory(error)) {
        std::fprintf(stderr, "bct8sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", wire.devicePath().c_str());
    std::fflush(stdout);
    const int code = wire.Run(g_stop);
    if (options.trace && options.trace != stderr) std::fclose(options.trace);
    return code;
}
