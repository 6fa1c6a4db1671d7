// vexa read and send against bct8sim: a bank of a MEM file sent and read back into another file,
// and failures that leave the file on disk as it was and fail the command line.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <regex>
#include <sstream>

#include "core/memfile.h"
#include "core/version.h"
#include "e2e/link_fixture.h"

#ifdef VEXA_PATH

namespace {

using simtest::SimProcess;
using simtest::TempFolder;

// Runs vexa with the arguments (in `cwd` when given), without a terminal; its exit code, with
// standard error in `errors`.
int RunVexa(const std::vector<std::string>& arguments, std::string* errors = nullptr,
            const std::filesystem::path& cwd = {}) {
    TempFolder scratch;
    const auto errorFile = scratch / "stderr.txt";
    std::string command = cwd.empty() ? std::string() : "cd '" + cwd.string() + "' && ";
    command += std::string("'") + VEXA_PATH + "'";
    for (const std::string& a : arguments) command += " '" + a + "'";
    command += " 2>'" + errorFile.string() + "' >/dev/null";
    const int status = std::system(command.c_str());
    if (errors) *errors = simtest::ReadFile(errorFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

struct VexaTransfer : ::testing::Test {
    TempFolder folder;
    SimProcess sim;
    vex::Options options;

    void SetUp() override {
        // The shortest settle waits, so that a full image crosses in seconds.
        std::ofstream(folder / "setup.ini")
            << "[setup]\r\ndelay1=25\r\ndelay2=25\r\ndelay3=25\r\nexpert=1\r\n";
    }
    void StartSim(std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"--baud", "57600",    "--latency-ms",
                                      "0",      "--memory", (folder / "scanner.sim").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_TRUE(sim.Start(args));
    }
    std::vector<std::string> Port() const {
        return {"--port", sim.device(), "--baud", "57600", "--dir", folder.path().string()};
    }
    vex::Image ReadMem(const std::filesystem::path& path) {
        vex::Image image;
        vex::ClearForFileNew(image);
        EXPECT_TRUE(vex::ReadMemFile(image, path, options).ok) << path;
        return image;
    }
};

// Bank 1 holds a Type 1 system with its fleet map, so every kind of field crosses the line:
// channels, trunk IDs and the settings the scanner answers in several lines.
TEST_F(VexaTransfer, SendsABankAndReadsItBackIntoAFileKeepingTheOtherBanks) {
    StartSim();
    const vex::Image image = e2e::FullImage();
    const auto in = folder / "in.mem";
    ASSERT_TRUE(vex::WriteMemFile(image, in, options).ok);
    std::string errors;
    std::vector<std::string> send{"send", "--bank", "1"};
    for (const auto& a : Port()) send.push_back(a);
    send.push_back(in.string());
    ASSERT_EQ(RunVexa(send, &errors), 0) << errors;

    vex::Image mine = e2e::EmptyImage();
    mine.channel(1, 1)[vex::kFieldFrequency] = "0162.5500";
    const auto out = folder / "out.mem";
    ASSERT_TRUE(vex::WriteMemFile(mine, out, options).ok);
    // A relative port path is taken from the working folder.
    std::filesystem::create_symlink(sim.device(), folder / "scanner-port");
    std::vector<std::string> read{"read", "--bank", "1"};
    for (const auto& a : Port()) read.push_back(a);
    read[4] = "./scanner-port";
    read.push_back(out.string());
    ASSERT_EQ(RunVexa(read, &errors, folder.path()), 0) << errors;
    const vex::Image got = ReadMem(out);
    const auto differences = e2e::WireDifferences(ReadMem(in), got, 1, 50, true, 0);
    EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);
    EXPECT_EQ(got.channel(1, 1)[vex::kFieldFrequency], "0162.5500");
}

TEST_F(VexaTransfer, FailedReadLeavesTheMemFileOnDiskAsItWas) {
    StartSim({"--fault", "disconnect@ch30"});
    const auto out = folder / "keep.mem";
    ASSERT_TRUE(vex::WriteMemFile(e2e::FullImage(), out, options).ok);
    const std::string before = simtest::ReadFile(out);
    std::string errors;
    std::vector<std::string> read{"read"};
    for (const auto& a : Port()) read.push_back(a);
    read.push_back(out.string());
    EXPECT_NE(RunVexa(read, &errors), 0);
    EXPECT_NE(errors.find("030"), std::string::npos) << errors;
    // Without a terminal: the one line that says why, no progress.
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(errors.rfind("vexa: ", 0), 0u) << errors;
    EXPECT_EQ(simtest::ReadFile(out), before);
}

TEST_F(VexaTransfer, ACommandTheScannerDidNotConfirmFailsTheCommandLine) {
    StartSim({"--fault", "err@TBN B:always", "--fault", "err@PC C:always"});
    const auto in = folder / "in.mem";
    ASSERT_TRUE(vex::WriteMemFile(e2e::FullImage(), in, options).ok);
    std::string errors;
    std::vector<std::string> send{"send", "--items", "settings"};
    for (const auto& a : Port()) send.push_back(a);
    send.push_back(in.string());
    EXPECT_EQ(RunVexa(send, &errors), 1);
    EXPECT_NE(errors.find("\"TBN B\" of bank 2 (refused)"), std::string::npos) << errors;

    const auto out = folder / "out.mem";
    std::vector<std::string> read{"read", "--items", "settings"};
    for (const auto& a : Port()) read.push_back(a);
    read.push_back(out.string());
    EXPECT_EQ(RunVexa(read, &errors), 1);
    EXPECT_NE(errors.find("\"PC C\""), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(out));
}

// The trace of a read holds its commands and the scanner's answers with their times, the
// time-out and retry of a command that went unanswered, and nothing of the user's machine.
TEST_F(VexaTransfer, ReadWritesATraceOfItsCommands) {
    StartSim({"--fault", "no-reply@ch3"});
    const auto trace = folder / "trace.txt";
    std::vector<std::string> read{"read", "--bank", "1", "--items", "channels"};
    for (const auto& a : Port()) read.push_back(a);
    read.insert(read.end(), {"--trace", trace.string(), (folder / "out.mem").string()});
    std::string errors;
    ASSERT_EQ(RunVexa(read, &errors), 0) << errors;
    const std::string text = simtest::ReadFile(trace);
    EXPECT_EQ(
        text.rfind("vexa " + std::string(vex::ProgramVersion()) + " serial trace, 57600 baud\r\n",
                   0),
        0u)
        << text;
    for (const char* expected :
         {" >> SI<CR><LF>\r\n", " >> MA001<CR><LF>\r\n", " -- reply time-out\r\n",
          " -- resetting the port, retry 1\r\n", " >> MA050<CR><LF>\r\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find(folder.path().string()), std::string::npos);
    EXPECT_EQ(text.find(sim.device()), std::string::npos);
    // Every line after the heading begins with its time in seconds and milliseconds.
    // Replies come in pieces as the line delivers them; together they hold the scanner's answers.
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    int count = 0;
    std::string received;
    std::smatch parts;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_TRUE(std::regex_match(line, parts, std::regex(R"( *\d+\.\d{3} (>>|<<|--) (.*)\r)")))
            << line;
        if (parts.size() == 3 && parts[1] == "<<") received += parts[2];
    }
    EXPECT_NE(received.find("C001 "), std::string::npos) << received;
    EXPECT_GT(count, 100);
}

}  // namespace

#else
TEST(VexaTransfer, NotBuilt) {
    GTEST_SKIP() << "vexa is not part of this build";
}
#endif
