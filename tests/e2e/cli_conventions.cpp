// The three programs as started from a shell: help, version, mistakes on the command line and
// files that cannot be used. A mistake is one line on standard error and exit status 2; a file
// that cannot be used is status 1 with the file named. Neither writes anything.
#include <gtest/gtest.h>

#include <set>

#include "core/version.h"
#include "e2e/sim_process.h"

#if defined(VEXA_PATH) && defined(VEXATRON_PATH)

namespace {

struct CliCase {
    const char* name;
    const char* program;
    std::vector<std::string> args;  // "{dir}" is a folder holding page.html and bad.mem
    int code;
    std::string out;  // the start of standard output ("" = nothing at all)
    std::string err;  // all of standard error
};

const std::string kSample = VEX_TEST_DATA "/handwritten.mem";
const std::string kVersion(vex::ProgramVersion());

class CliConventions : public ::testing::TestWithParam<CliCase> {
  protected:
    static void SetUpTestSuite() {
        folder = new simtest::TempFolder;
        simtest::WriteFile(*folder / "page.html", "<html><p>no numbers here</p></html>");
        simtest::WriteFile(*folder / "bad.mem", "not a mem file\r\n");
    }
    static void TearDownTestSuite() { delete folder; }

    static std::string Expand(std::string text) {
        for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;)
            text.replace(at, 5, folder->path().string());
        return text;
    }
    static std::set<std::string> Files() {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder->path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    static simtest::TempFolder* folder;
};
simtest::TempFolder* CliConventions::folder = nullptr;

TEST_P(CliConventions, ExitStatusAndOutput) {
    const CliCase& c = GetParam();
    std::vector<std::string> args;
    for (const std::string& arg : c.args) args.push_back(Expand(arg));
    const simtest::Outcome run = simtest::Run(c.program, args);
    EXPECT_EQ(run.code, c.code) << run.out << run.err;
    EXPECT_EQ(run.err, Expand(c.err));
    if (c.out.empty()) {
        EXPECT_EQ(run.out, "");
    } else {
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << run.out;
    }
    EXPECT_EQ(Files(), (std::set<std::string>{"bad.mem", "page.html"}));
}

// Help and version: standard output begins with `out`, nothing on standard error.
CliCase Says(const char* name, const char* program, std::vector<std::string> args,
             std::string out) {
    return {name, program, std::move(args), 0, std::move(out), ""};
}

// A mistake on the program's own command line: one line naming it and where to look.
CliCase Mistake(const char* name, const char* program, std::vector<std::string> args,
                const std::string& problem) {
    const std::string self = std::filesystem::path(program).filename().string();
    return {name, program, std::move(args),
            2,    "",      self + ": " + problem + "; see \"" + self + " --help\"\n"};
}

CliCase Vexa(const char* name, std::vector<std::string> args, int code, std::string err,
             std::string out = "") {
    return {name, VEXA_PATH, std::move(args), code, std::move(out), std::move(err)};
}

const char* const kVexatron = VEXATRON_PATH;
const char* const kSim = BCT8SIM_PATH;

const CliCase kCases[] = {
    Says("VexatronHelpBeforeTheFolder", kVexatron, {"--dir", "/nowhere", "--help"},
         "Usage: vexatron [--dir FOLDER]"),
    Says("VexatronVersion", kVexatron, {"--version"}, "vexatron " + kVersion + "\n"),
    Mistake("VexatronUnknown", kVexatron, {"--frobnicate"}, "unknown option '--frobnicate'"),
    Mistake("VexatronTwoFiles", kVexatron, {"a.mem", "b.mem"},
            "only one MEM file can be opened, not 'b.mem' too"),

    Says("SimHelp", kSim, {"--help"}, "Usage: bct8sim [options]"),
    Says("SimVersion", kSim, {"--version"}, "bct8sim " + kVersion + "\n"),
    Mistake("SimBadSpeed", kSim, {"--baud", "fast"}, "--baud needs a speed such as 9600 or 19200"),
    Mistake("SimFaultUnknown", kSim, {"--fault", "slow"},
            "unknown fault \"slow\" (use no-reply, cut-reply, err, garbage or disconnect)"),

    Says("VexaHelp", VEXA_PATH, {"--help"}, "Usage: vexa COMMAND"),
    Says("VexaVersion", VEXA_PATH, {"--version"}, "vexa " + kVersion + "\n"),
    Mistake("VexaUnknown", VEXA_PATH, {"--frobnicate", "show"}, "unknown option '--frobnicate'"),
    Mistake("VexaUnknownCommand", VEXA_PATH, {"frobnicate"}, "unknown command 'frobnicate'"),
    Vexa("CommandHelp", {"read", "--help"}, 0, "", "Usage: vexa read --port DEVICE"),
    Vexa("CommandUnknownOption", {"read", "--colour", "x.mem"}, 2,
         "vexa: unknown option '--colour'\n"),
    Vexa("CommandMissingValue", {"send", "x.mem", "--port"}, 2,
         "vexa: option '--port' needs a value\n"),
    Vexa("ShowHelp", {"show", "--help"}, 0, "", "Usage: vexa show FILE.mem [--bank N]"),
    Vexa("ShowWithoutFile", {"show"}, 2,
         "vexa: show needs exactly one MEM file; see \"vexa show --help\"\n"),
    Vexa("ShowBankOutOfRange", {"show", kSample, "--bank", "6"}, 2,
         "vexa: --bank must be a number from 1 to 5, not '6'\n"),
    Vexa("ShowMissingFile", {"show", "{dir}/none.mem"}, 1, "vexa: {dir}/none.mem: no such file\n"),
    Vexa("ResaveWithoutOutput", {"resave", kSample}, 2,
         "vexa: resave needs an input and an output file; see \"vexa resave --help\"\n"),
    Vexa("ResaveIntoMissingFolder", {"resave", kSample, "{dir}/no/out.mem"}, 1,
         "vexa: cannot write {dir}/no/out.mem: No such file or directory\n"),
    Vexa("ResaveWithMissingProgramFolder",
         {"resave", kSample, "{dir}/out.mem", "--dir", "{dir}/nowhere"}, 1,
         "vexa: the program folder '{dir}/nowhere' does not exist\n"),
    // The output is checked before the scanner: the port does not exist either.
    Vexa("ReadIntoMissingFolder", {"read", "--port", "{dir}/no-port", "{dir}/missing/x.mem"}, 1,
         "vexa: {dir}/missing/x.mem: cannot be written: the folder {dir}/missing does not "
         "exist\n"),
    Vexa("ReadIntoAFolder", {"read", "--port", "{dir}/no-port", "{dir}"}, 1,
         "vexa: {dir}: is a folder\n"),
    Vexa("SendListTags", {"send", "--port", "{dir}/no-port", "--items", "listtags", kSample}, 2,
         "vexa: the ID list tags can be read, not sent\n"),
    Vexa("DiffHelp", {"diff", "--help"}, 0, "", "Usage: vexa diff A.mem B.mem"),
    Vexa("DiffOneFile", {"diff", kSample}, 2,
         "vexa: diff needs two MEM files; see \"vexa diff --help\"\n"),
    Vexa("DiffMissingFile", {"diff", kSample, "{dir}/none.mem"}, 2,
         "vexa: {dir}/none.mem: no such file\n"),
    Vexa("DiffNotAMemFile", {"diff", "{dir}/bad.mem", kSample}, 2,
         "vexa: {dir}/bad.mem: File is not VEXA compatible.\n"),
    Vexa("PrintHelp", {"print", "--help"}, 0, "",
         "Usage: vexa print FILE.mem --pdf OUT.pdf [--bank N | --all] [--trunk]"),
    Vexa("PrintWithoutPdf", {"print", kSample}, 2, "vexa: print needs --pdf OUT.pdf\n"),
    Vexa("PrintBankAndAll", {"print", kSample, "--pdf", "{dir}/x.pdf", "--bank", "2", "--all"}, 2,
         "vexa: --bank and --all cannot be given together\n"),
    Vexa("PrintIntoMissingFolder", {"print", kSample, "--pdf", "{dir}/no/x.pdf"}, 1,
         "vexa: Problem in printerroutine #1\n Err = 4 Error: could not write {dir}/no/x.pdf: "
         "No such file or directory\n"),
    Vexa("ImportNoFrequencies", {"import", "{dir}/page.html", "{dir}/out.mem"}, 1,
         "vexa: You did not select any frequencies.\n"),
    Vexa("ImportIcfNotIcf", {"import-icf", "{dir}/page.html", "{dir}/out.mem", "--all"}, 1,
         "vexa: {dir}/page.html: This is not an ICF clone file.\n"),
    Vexa("ImportIcfWhichBanks", {"import-icf", "{dir}/page.html", "{dir}/out.mem"}, 2,
         "vexa: give either --all, or --from A..H and --bank 1..5|D\n"),
    Vexa("ImportMemNotTenBanks", {"import-mem", kSample, "{dir}/out.mem", "--all"}, 1,
         "vexa: " + kSample + ": File is not compatible.\n"),
    Vexa("ImportTrunkNotTenBanks", {"import-trunk", kSample, "{dir}/out.mem", "--all"}, 1,
         "vexa: " + kSample + ": File is not compatible.\n"),
    Vexa("OpenPelixoNotPelixo", {"open-pelixo", kSample, "{dir}/out.mem"}, 1,
         "vexa: " + kSample +
             ": This is not an PELIXO file! For DURMAN mem files select FILE _ OPEN\n"),
    Vexa("ExportNotAMemFile", {"export", "{dir}/page.html", "{dir}/out.csv"}, 1,
         "vexa: {dir}/page.html: File is not VEXA compatible.\n"),
};

INSTANTIATE_TEST_SUITE_P(Programs, CliConventions, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

#endif
