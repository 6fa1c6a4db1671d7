// The simulator on its own: its device, its answers on the wire, its memory file
// and every fault it injects, checked through a raw terminal line.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "e2e/sim_process.h"

using simtest::ReadFile;
using simtest::SimProcess;

namespace {

struct Fixture : ::testing::Test {
    simtest::TempFolder folder;
    SimProcess sim;
    simtest::RawPort port;

    void Start(std::vector<std::string> extra = {}, speed_t speed = B115200) {
        ASSERT_TRUE(sim.StartQuick(extra));
        ASSERT_TRUE(port.open(sim.device(), speed)) << sim.device();
    }
};

// One step of a conversation: a command on the wire (ended by CR LF unless it ends in CR) and
// the whole reply (or a part of it), or a control line ("!save") and its answer. A reply without a
// final carriage return is what arrives within a quarter of a second; kGarbled is any line that is
// not the scanner's answer.
struct Step {
    std::string command;
    std::string reply = "OK\r";
    bool part = false;
};
const std::string kGarbled = "(garbled)";

struct Script {
    const char* name;
    std::vector<std::string> faults;
    std::vector<Step> steps;
};

class Conversation : public Fixture, public ::testing::WithParamInterface<Script> {};

TEST_P(Conversation, AnswersEachStep) {
    std::vector<std::string> args;
    for (const std::string& fault : GetParam().faults) args.insert(args.end(), {"--fault", fault});
    Start(args);
    for (const Step& step : GetParam().steps) {
        if (step.command[0] == '!') {
            EXPECT_EQ(sim.control(step.command.substr(1)), step.reply) << step.command;
            continue;
        }
        const bool whole = step.part || (!step.reply.empty() && step.reply.back() == '\r');
        const int lines = static_cast<int>(std::count(step.reply.begin(), step.reply.end(), '\r'));
        port.Send(step.command, step.command.back() == '\r' ? "" : "\r\n");
        const std::string got = port.Read(whole ? 1000 : 250, std::max(lines, 1));
        if (step.part) {
            EXPECT_NE(got.find(step.reply), std::string::npos) << step.command << ": " << got;
        } else if (step.reply == kGarbled) {
            EXPECT_TRUE(!got.empty() && got.back() == '\r' && got.find(" F0") == std::string::npos)
                << step.command << ": " << got;
        } else {
            EXPECT_EQ(got, step.reply) << step.command;
        }
    }
    EXPECT_EQ(sim.Stop(), 0);
}

const std::string kSi = "SI BCT8,V1.00,SIM\r";
const std::string kScan = "FLASH - P - BNK **--- CHN [";  // not receiving, then the channel

// Each write, then the read that shows it took effect. Rows are laid out by hand, a write
// beside its read.
// clang-format off
const Script kScripts[] = {
    // The channel and trunk commands are the link's unit tests', against the same scanner.
    {"Commands", {}, {
        {"SI", kSi},
        {"MA001", "C001 F00000000 TF DF LF\r"},
        {"PM001 08510250"}, {"LON"}, {"DLN"}, {"MA001", "C001 F08510250 TF DN LN\r"},
        {"PM003 06000000", "ERR\r"},  // between the bands
        {"SB ACE"}, {"KEY07"}, {"KEY13H"}, {"KEY02 5"}, {"KEY09H", "ERR\r"}, {"MD", "MD 00\r"},
        {"VR", "VR 1.00\r"}, {"NONSENSE", "ERR\r"},
        // The fleet map comes as eight lines in one reply.
        {"FB B 6 12"}, {"FB B 1 4"}, {"FB B 1 15", "ERR\r"},
        {"FB B", "FB B 0 00\rFB B 1 04\rFB B 2 00\rFB B 3 00\rFB B 4 00\rFB B 5 00\rFB B 6 12\r"
                 "FB B 7 00\r"}}},
    // An empty line is ignored; a carriage return alone ends a command.
    {"LineEnds", {}, {
        {"\r\nCP A B 2 08510125 08689875 0250 0000 +\r"}, {"TB A", "TB A E1-CUSTOM\r"}}},
    // Channel 20 is locked out: the scan passes 3 and 10 only, from channel 20 (the last one
    // written) on; every fourth poll it stays, receiving. Hold stops the scan; UP and DOWN step
    // through every programmed channel.
    {"DisplayScansAndStopsOnReceptions", {}, {
        {"PM003 01625500"}, {"PM010T08510250"}, {"PM020 04625000"}, {"LON"}, {"TG A A0 001234"},
        {"SB AB"},
        {"LCD", kScan + "003]", true}, {"SQ", "SQ 0\r"},
        {"LCD", kScan + "010]", true}, {"SQ", "SQ 0\r"},
        {"LCD", kScan + "003]", true}, {"SQ", "SQ 0\r"},
        {"LCD", "FLASH + P - BNK **--- CHN [003]", true}, {"SQ", "SQ 1\r"},
        {"LCD", kScan + "010]", true}, {"SQ", "SQ 0\r"},
        {"LCD", kScan + "003]", true}, {"SQ", "SQ 0\r"},
        {"LCD", kScan + "010]", true}, {"SQ", "SQ 0\r"},
        {"LCD", "LCD TRUNK + M - E - L - LIST - BANK + RMT + MLOCK - HWY - PVT + POL - FIRE - "
                "AIR - WX - NEWS - CB - MRN - RR - HOLD - UP + SRCH - DOWN - PRI - LOUT - DLY - "
                "DATA - FLASH + P - BNK **--- CHN [010] FRQ [0851.0250] LCD1 [PRIVATE SCAN    ] "
                "LCD2 [ID:001234       ]\r"}, {"SQ", "SQ 1\r"},
        {"KEY00"}, {"MD", "MD 01\r"}, {"LCD", "CHN [010]", true},
        {"KEY07"}, {"LCD", "CHN [020] FRQ [0462.5000]", true},
        {"KEY08"}, {"LCD", "CHN [010]", true},
        {"MA003", "C003 F01625500 TF DF LF\r"}, {"LCD", "CHN [003] FRQ [0162.5500]", true}}},
    {"ErrByCommandNumber", {"err@3"}, {{"SI", kSi}, {"SI", kSi}, {"SI", "ERR\r"}, {"SI", kSi}}},
    {"ErrAlwaysUntilCleared", {"err@TG:always"}, {
        {"TG A A0 12345", "ERR\r"}, {"TG A A0", "ERR\r"}, {"!clear", "ok"},
        {"TG A A0", "TG A A0 ------\r"}}},
    {"CutReplyNeverSendsTheCarriageReturn", {"cut-reply@MA"}, {{"MA001", "C001 F00000"}}},
    {"GarbageIsALineWithoutTheAnswer", {"garbage@ch2"}, {
        {"MA002", kGarbled}, {"MA002", "C002 F00000000 TF DF LF\r"}}},
    {"ControlLines", {}, {
        {"!fault err@VR", "ok"},
        {"!fault sparks",
         "error: unknown fault \"sparks\" (use no-reply, cut-reply, err, garbage or disconnect)"},
        {"!fault err@ch0", "error: channel must be 1..250"},
        {"!fault err@0", "error: commands are counted from 1"},
        {"!fault err@VR:0", "error: bad fault count \"0\""},
        {"!frobnicate", "error: unknown control line (fault FAULT, clear, save, count, quit)"},
        {"VR", "ERR\r"}, {"VR", "VR 1.00\r"}, {"!count", "ok 2"}, {"!save", "ok"},
        {"!quit", "ok"}}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Sim, Conversation, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return std::string(info.param.name); });

// A file in the way of its link, a memory file it did not write, a folder or a pipe named as
// the memory file: refused at once, and left as they were.
TEST_F(Fixture, RefusesToStartOnFilesItMustNotTouch) {
    simtest::WriteFile(folder / "precious.txt", "keep me");
    simtest::WriteFile(folder / "other.mem", "VEXA MEM V1.00\r\nsomething\r\n");
    std::filesystem::create_directory(folder / "folder.mem");
    ASSERT_EQ(::mkfifo((folder / "pipe.mem").c_str(), 0644), 0);
    const std::pair<const char*, const char*> cases[] = {{"--link", "precious.txt"},
                                                         {"--memory", "other.mem"},
                                                         {"--memory", "folder.mem"},
                                                         {"--memory", "pipe.mem"}};
    for (const auto& [option, name] : cases) {
        SimProcess refused;
        EXPECT_FALSE(refused.Start({option, (folder / name).string()}, 2000)) << name;
        EXPECT_EQ(refused.Wait(2000), 1) << name;
    }
    EXPECT_EQ(ReadFile(folder / "precious.txt"), "keep me");
    EXPECT_EQ(ReadFile(folder / "other.mem"), "VEXA MEM V1.00\r\nsomething\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "folder.mem"));
    EXPECT_TRUE(std::filesystem::is_fifo(folder / "pipe.mem"));
}

TEST_F(Fixture, MemoryFileKeepsTheScannerBetweenRuns) {
    const auto memory = folder / "scanner.mem";
    Start({"--memory", memory.string(), "--save-delay-ms", "60000"});
    for (const char* command : {"PM120T08510250", "LON", "TG C A1 12345"})
        ASSERT_EQ(port.Ask(command), "OK\r") << command;
    port.close();
    ASSERT_EQ(sim.Stop(), 0);  // a change right before the end is not lost

    SimProcess again;
    ASSERT_TRUE(again.StartQuick({"--memory", memory.string()}));
    ASSERT_TRUE(port.open(again.device(), B115200));
    EXPECT_EQ(port.Ask("MA120"), "C120 F08510250 TN DF LN\r");
    EXPECT_EQ(port.Ask("TG C A1"), "TG C A1 12345\r");
}

TEST_F(Fixture, DisconnectClosesTheLineAndEndsTheSimulator) {
    const auto memory = folder / "scanner.mem";
    Start({"--fault", "disconnect@channel 3", "--memory", memory.string(), "--save-delay-ms",
           "60000"});
    EXPECT_EQ(port.Ask("PM002 01625500"), "OK\r");
    port.Send("PM003 01625500");
    EXPECT_EQ(sim.Wait(3000), 0);
    // What the scanner had taken before it went away is in its memory file.
    const std::string saved = ReadFile(memory);
    EXPECT_NE(saved.find("CH 002 01625500"), std::string::npos);
    EXPECT_NE(saved.find("CH 003 00000000"), std::string::npos);
}

}  // namespace
