// The three programs as started from a shell: help, version and mistakes on the command line
// behave alike, a mistake being one line on standard error and exit status 2.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core/version.h"

#if defined(VEXA_PATH) && defined(VEXATRON_PATH)

namespace {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// No display of any kind: what a program says about its command line needs none.
Outcome Start(const std::string& program, const std::string& args) {
    const std::string base = ::testing::TempDir() + "cli-" + std::to_string(::getpid());
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + program +
                                "' " + args + " </dev/null >'" + base + ".out' 2>'" + base +
                                ".err'";
    const int status = std::system(command.c_str());
    Outcome run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = Slurp(base + ".out");
    run.err = Slurp(base + ".err");
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return run;
}

struct CliCase {
    const char* name;
    const char* program;
    const char* args;
    int code;
    std::string out;  // the start of standard output ("" = nothing at all)
    std::string err;  // all of standard error
};

class CliConventions : public ::testing::TestWithParam<CliCase> {};

TEST_P(CliConventions, ExitStatusAndOutput) {
    const CliCase& c = GetParam();
    const Outcome run = Start(c.program, c.args);
    EXPECT_EQ(run.code, c.code) << run.out << run.err;
    EXPECT_EQ(run.err, c.err);
    if (c.out.empty()) {
        EXPECT_EQ(run.out, "");
    } else {
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << run.out;
    }
}

const std::string kVersion(vex::ProgramVersion());

INSTANTIATE_TEST_SUITE_P(
    Programs, CliConventions,
    ::testing::Values(
        CliCase{"VexatronHelp", VEXATRON_PATH, "--help", 0, "Usage: vexatron [--dir FOLDER]", ""},
        CliCase{"VexatronVersion", VEXATRON_PATH, "--version", 0, "vexatron " + kVersion + "\n",
                ""},
        CliCase{"VexatronUnknown", VEXATRON_PATH, "--frobnicate", 2, "",
                "vexatron: unknown option '--frobnicate'; see \"vexatron --help\"\n"},
        CliCase{"VexatronMissingValue", VEXATRON_PATH, "x.mem --dir", 2, "",
                "vexatron: option '--dir' needs a value; see \"vexatron --help\"\n"},
        CliCase{"VexatronTwoFiles", VEXATRON_PATH, "a.mem b.mem", 2, "",
                "vexatron: only one MEM file can be opened, not 'b.mem' too; see \"vexatron "
                "--help\"\n"},
        CliCase{"VexaHelp", VEXA_PATH, "--help", 0, "Usage: vexa COMMAND", ""},
        CliCase{"VexaVersion", VEXA_PATH, "--version", 0, "vexa " + kVersion + "\n", ""},
        CliCase{"VexaUnknown", VEXA_PATH, "--frobnicate show", 2, "",
                "vexa: unknown option '--frobnicate'; see \"vexa --help\"\n"},
        CliCase{"VexaMissingValue", VEXA_PATH, "--dir", 2, "",
                "vexa: option '--dir' needs a value; see \"vexa --help\"\n"},
        CliCase{"VexaCommandHelp", VEXA_PATH, "read --help", 0, "Usage: vexa read --port DEVICE",
                ""},
        CliCase{"VexaCommandUnknown", VEXA_PATH, "read --colour x.mem", 2, "",
                "vexa: unknown option '--colour'\n"},
        CliCase{"VexaCommandMissingValue", VEXA_PATH, "send x.mem --port", 2, "",
                "vexa: option '--port' needs a value\n"},
        CliCase{"SimHelp", BCT8SIM_PATH, "--help", 0, "Usage: bct8sim [options]", ""},
        CliCase{"SimVersion", BCT8SIM_PATH, "--version", 0, "bct8sim " + kVersion + "\n", ""},
        CliCase{"SimUnknown", BCT8SIM_PATH, "--frobnicate", 2, "",
                "bct8sim: unknown option '--frobnicate'; see \"bct8sim --help\"\n"},
        CliCase{"SimMissingValue", BCT8SIM_PATH, "--fault", 2, "",
                "bct8sim: option '--fault' needs a value; see \"bct8sim --help\"\n"},
        CliCase{"SimBadValue", BCT8SIM_PATH, "--baud fast", 2, "",
                "bct8sim: --baud needs a speed such as 9600 or 19200; see \"bct8sim --help\"\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

#endif
