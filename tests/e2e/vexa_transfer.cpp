// vexa read and send against bct8sim: a bank of a MEM file sent and read back into another file,
// edited channels sent alone, the ID list tags read, a trace of the commands, and failures that
// leave the file on disk as it was and fail the command line.
#include <gtest/gtest.h>

#include "core/memfile.h"
#include "core/version.h"
#include "e2e/link_fixture.h"
#include "link/kept_image.h"

#ifdef VEXA_PATH

namespace {

using simtest::Vexa;

struct VexaTransfer : ::testing::Test {
    simtest::TempFolder folder;
    simtest::SimProcess sim;
    const std::filesystem::path memory = folder / "scanner.sim";

    void SetUp() override {
        // The shortest settle waits, so that a full bank crosses in seconds.
        simtest::WriteFile(folder / "setup.ini",
                           "[setup]\r\ndelay1=25\r\ndelay2=25\r\ndelay3=25\r\nexpert=1\r\n");
    }
    void StartSim(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"--baud", "57600", "--memory", memory.string()});
        ASSERT_TRUE(sim.StartQuick(extra));
    }
    // "vexa COMMAND ... --port DEVICE --baud 57600 --dir FOLDER FILE".
    std::vector<std::string> Command(std::vector<std::string> head,
                                     const std::filesystem::path& file) const {
        head.insert(head.end(), {"--port", sim.device(), "--baud", "57600", "--dir",
                                 folder.path().string(), file.string()});
        return head;
    }
    void Write(const vex::Image& image, const std::filesystem::path& path) {
        ASSERT_TRUE(vex::WriteMemFile(image, path, {}).ok) << path;
    }
    vex::Image Load(const std::filesystem::path& path) {
        vex::Image image = e2e::EmptyImage();
        EXPECT_TRUE(vex::ReadMemFile(image, path, {}).ok) << path;
        return image;
    }
};

// What crosses the line for each item is the link's unit tests'; here the command line's wiring.
TEST_F(VexaTransfer, SendsABankAndReadsItBackIntoAFileKeepingTheOtherBanks) {
    StartSim();
    const auto in = folder / "in.mem", out = folder / "out.mem";
    Write(e2e::FullImage(), in);
    auto run = Vexa(Command({"send", "--bank", "1"}, in));
    ASSERT_EQ(run.code, 0) << run.err;

    vex::Image mine = e2e::EmptyImage();
    mine.channel(1, 1)[vex::kFieldFrequency] = "0162.5500";
    Write(mine, out);
    // A relative port path is taken from the working folder.
    std::filesystem::create_symlink(sim.device(), folder / "scanner-port");
    auto read = Command({"read", "--bank", "1"}, out);
    read[4] = "./scanner-port";
    run = Vexa(read, folder.path());
    ASSERT_EQ(run.code, 0) << run.err;
    const vex::Image got = Load(out);
    const auto differences = e2e::WireDifferences(Load(in), got, 1, 50);
    EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);
    EXPECT_EQ(got.channel(1, 1)[vex::kFieldFrequency], "0162.5500");
    // Logs of the transfer are in the program folder.
    EXPECT_TRUE(std::filesystem::exists(folder / "txlog.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder / "rxdat.txt"));
}

// A pulled cable ends the read at once, naming the channel.
TEST_F(VexaTransfer, FailedReadLeavesTheMemFileOnDiskAsItWas) {
    StartSim({"--fault", "disconnect@ch30"});
    const auto out = folder / "keep.mem";
    Write(e2e::FullImage(), out);
    const std::string before = simtest::ReadFile(out);
    const auto start = std::chrono::steady_clock::now();
    const auto run = Vexa(Command({"read"}, out));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));  // at once
    EXPECT_NE(run.code, 0);
    // Without a terminal: the one line that says why, no progress.
    EXPECT_EQ(run.err.rfind("vexa: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("030"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(simtest::ReadFile(out), before);
}

TEST_F(VexaTransfer, ACommandTheScannerDidNotConfirmFailsTheCommandLine) {
    StartSim({"--fault", "err@TBN B:always"});
    const auto in = folder / "in.mem", out = folder / "out.mem";
    Write(e2e::FullImage(), in);
    auto run = Vexa(Command({"send", "--items", "settings"}, in));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("\"TBN B\" of bank 2 (refused)"), std::string::npos) << run.err;
}

// The trace of a read holds its commands, the time-out and retry of a command that went
// unanswered, and nothing of the user's machine; its line format is the unit tests'.
TEST_F(VexaTransfer, ReadWritesATraceOfItsCommands) {
    StartSim({"--fault", "no-reply@ch3"});
    const auto trace = folder / "trace.txt";
    const auto run =
        Vexa(Command({"read", "--bank", "1", "--items", "channels", "--trace", trace.string()},
                     folder / "o.mem"));
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string text = simtest::ReadFile(trace);
    const std::string heading =
        "vexa " + std::string(vex::ProgramVersion()) + " serial trace, 57600 baud\r\n";
    EXPECT_EQ(text.rfind(heading, 0), 0u) << text;
    for (const char* expected :
         {" >> SI<CR><LF>\r\n", " >> MA001<CR><LF>\r\n", " -- reply time-out\r\n",
          " -- resetting the port, retry 1\r\n", " >> MA050<CR><LF>\r\n"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find(folder.path().string()), std::string::npos);
    EXPECT_EQ(text.find(sim.device()), std::string::npos);
}

TEST_F(VexaTransfer, ListTagsAreReadIntoTheMemFile) {
    StartSim();
    simtest::RawPort port;
    ASSERT_TRUE(port.open(sim.device(), B57600));
    for (const char* c : {"TA L A 0 Dispatch", "TA L C 5 Fleet, North"})
        ASSERT_EQ(port.Ask(c), "OK\r") << c;
    const auto out = folder / "tags.mem";
    const auto run = Vexa(Command({"read", "--items", "listtags"}, out));
    ASSERT_EQ(run.code, 0) << run.err;
    const vex::Image image = Load(out);
    EXPECT_EQ(image.ScanListTag[0][0], "Dispatch");
    EXPECT_EQ(image.ScanListTag[2][5], "Fleet, North");
    EXPECT_EQ(image.ScanListTag[1][0], "") << "the scanner's \"-\"";
}

// After a whole send, four edited channels go out alone and the scanner ends up holding the
// edited image, as a whole send would leave it.
TEST_F(VexaTransfer, SendChangesSendsOnlyTheEditedChannels) {
    vex::Image image = e2e::FullImage();
    e2e::WriteSimMemory(image, memory);
    StartSim({"--save-delay-ms", "0"});
    const auto in = folder / "in.mem";
    Write(image, in);
    auto run = Vexa(Command({"send", "--changes"}, in));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("no copy of what the scanner"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("vexa send --port " + sim.device() + " " + in.string()),
              std::string::npos)
        << run.err;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        EXPECT_NE(entry.path().filename().string().rfind("scanner-", 0), 0u) << entry.path();
    // What a whole send would have left behind, under the identification the port gave.
    std::string id = simtest::ReadFile(folder / "version.ini");
    ASSERT_TRUE(vex::KeepImage(folder.path(), id.substr(0, id.find_first_of("\r\n")), image));

    image.channel(0, 2)[vex::kFieldFrequency] = "0155.5000";
    image.channel(1, 10)[vex::kFieldLockout] =
        vex::FlagOn(image.channel(1, 10)[vex::kFieldLockout]) ? "0" : "1";
    image.channel(3, 40)[vex::kFieldFrequency] = "0000.0000";
    image.channel(4, 50)[vex::kFieldFrequency] = "0162.5500";
    image.channel(4, 50)[vex::kFieldTrunk] = "0";
    image.channel(0, 3)[vex::kFieldTag] = "TAGS STAY HOME";  // not the scanner's
    Write(image, in);
    run = Vexa(Command({"send", "--changes"}, in));
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("Sending 4 channels"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("keypad"), std::string::npos) << run.err;
    run = Vexa(Command({"send", "--changes"}, in));
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("Nothing to send"), std::string::npos) << run.err;

    sim.Stop();  // writes its memory
    const std::string saved = simtest::ReadFile(memory);
    for (int n : {2, 60, 250})
        EXPECT_NE(saved.find(e2e::SimLine(image, n) + "\n"), std::string::npos) << n;
    // An emptied channel keeps whatever flags it had.
    EXPECT_NE(saved.find("CH 190 00000000 "), std::string::npos);
}

}  // namespace

#endif
