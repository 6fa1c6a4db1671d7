// The simulator on its own: its device, its answers on the wire, its timing, its memory file
// and every fault it injects, checked through a raw terminal line.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "e2e/sim_process.h"

using simtest::RawPort;
using simtest::SimProcess;
using simtest::TempFolder;

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Fixture : ::testing::Test {
    TempFolder folder;
    SimProcess sim;
    RawPort port;

    void Start(std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"--latency-ms", "0", "--baud", "115200"};
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_TRUE(sim.Start(args));
        ASSERT_TRUE(port.open(sim.device(), B115200)) << sim.device();
    }
};

TEST_F(Fixture, PrintsItsDeviceAndMakesTheLinkUntilItEnds) {
    const auto link = folder / "scanner";
    Start({"--link", link.string()});
    EXPECT_EQ(sim.device().rfind("/dev/pts/", 0), 0u) << sim.device();
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.device());
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST_F(Fixture, RefusesToReplaceAFileWithItsLink) {
    const auto link = folder / "precious.txt";
    { std::ofstream(link) << "keep me"; }
    EXPECT_FALSE(sim.Start({"--link", link.string()}, 2000));
    EXPECT_EQ(sim.Wait(2000), 1);
    EXPECT_EQ(simtest::ReadFile(link), "keep me");
}

TEST_F(Fixture, AnswersEachCommandOnTheWire) {
    Start();
    struct Case {
        const char* command;
        const char* reply;  // without the final carriage return
    };
    // Each write, then the read that shows it took effect.
    const Case cases[] = {
        {"SI", "SI BCT8,V1.00,SIM"},
        {"MA001", "C001 F00000000 TF DF LF"},
        {"PM001 08510250", "OK"},
        {"LON", "OK"},
        {"DLN", "OK"},
        {"MA001", "C001 F08510250 TF DN LN"},
        {"PM250T01625500", "OK"},
        {"PM250", "C250 F01625500 TN DF LF"},
        {"PM003 06000000", "ERR"},  // between the bands
        {"PM251 01625500", "ERR"},
        {"MA000", "ERR"},
        {"PC A", "PC A001"},
        {"PC B075", "OK"},
        {"PC B", "PC B075"},
        {"PC B007", "ERR"},  // not a channel of bank 2
        {"TA B C Fire dept", "OK"},
        {"TA B C", "TA B C Fire dept"},
        {"TA B F", "ERR"},
        {"TB A", "TB A "},
        {"TR A 9", "OK"},
        {"TB A", "TB A EDCS SCT"},
        {"TR B 2", "OK"},
        {"CP B A 1 08510250 08540000 0250 0440 +", "OK"},
        {"TB B", "TB B E2-CUSTOM"},
        {"TR C 5 01360000 0125 381 3", "OK"},
        {"BC C3", "BC C3 01360000 0125 381"},
        {"BC C1", "BC C1 00000000 0000 000"},
        {"TB C", "TB C E2-VHF"},
        {"TBN D", "OK"},
        {"BTN", "OK"},
        {"TDF", "OK"},
        {"AFN", "OK"},
        {"BT", "BTN"},
        {"TD", "TDF"},
        {"AF", "AFN"},
        {"TBN A", "OK"},
        {"BT", "BTF"},
        {"TCN E P4", "OK"},
        {"TC E", "TCN E P4"},
        {"TCF E", "OK"},
        {"TC E", "TCF E"},
        {"TG B E9 i00007", "OK"},
        {"TG B E9", "TG B E9 i00007"},
        {"TG B E9 0", "OK"},
        {"TG B E9", "TG B E9 ------"},
        {"TG A Q0", "ERR"},
        {"TA L C 5 Fleet", "OK"},
        {"TA L C 5", "TA L C 5 Fleet"},
        {"TA L J 9", "TA L J 9 -"},
        {"TA S I", "TA S I "},
        {"SB ACE", "OK"},
        {"KEY07", "OK"},
        {"KEY13H", "OK"},
        {"KEY02 5", "OK"},
        {"KEY09H", "ERR"},
        {"MD", "MD 00"},
        {"VR", "VR 1.00"},
        {"NONSENSE", "ERR"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(port.Ask(c.command), std::string(c.reply) + "\r") << c.command;
    }
}

TEST_F(Fixture, FleetMapComesAsEightLinesInOneReply) {
    Start();
    EXPECT_EQ(port.Ask("FB B 6 12"), "OK\r");
    EXPECT_EQ(port.Ask("FB B 1 4"), "OK\r");
    EXPECT_EQ(port.Ask("FB B 1 15"), "ERR\r");
    EXPECT_EQ(port.Ask("FB B", 1000, 8),
              "FB B 0 00\rFB B 1 04\rFB B 2 00\rFB B 3 00\rFB B 4 00\rFB B 5 00\rFB B 6 12\r"
              "FB B 7 00\r");
}

TEST_F(Fixture, TakesCommandsEndedByCarriageReturnAloneAndIgnoresEmptyLines) {
    Start();
    port.Send("", "\r\n");
    port.Send("CP A B 2 08510125 08689875 0250 0000 +", "\r");
    EXPECT_EQ(port.Read(1000), "OK\r");
    port.Send("LCD", "\r");
    EXPECT_NE(port.Read(1000).find("CHN [001]"), std::string::npos);
    EXPECT_EQ(port.Ask("TB A"), "TB A E1-CUSTOM\r");
}

TEST_F(Fixture, ScannerMenuSettingsReadAndWrite) {
    Start();
    for (const char* key : {"KEY07", "KEY11", "KEY02 3", "KEY02 8", "KEY02 3"}) {
        EXPECT_EQ(port.Ask(key), "OK\r") << key;
    }
    for (const char* key : {"KEY11", "KEY02 3", "KEY02 8"}) port.Ask(key);
    const std::string display = port.Ask("LCD");
    EXPECT_NE(display.find("LCD1 [ 3:TONE SEARCH  ][*****"), std::string::npos) << display;
    EXPECT_EQ(port.Ask("MD"), "MD MENU\r");
    EXPECT_EQ(port.Ask("KEY07"), "OK\r");
    EXPECT_EQ(port.Ask("MD"), "MD 00\r");
}

TEST_F(Fixture, DisplayScansTheProgrammedChannelsAndStopsOnReceptions) {
    Start();
    for (const char* c :
         {"PM003 01625500", "PM010T08510250", "PM020 04625000", "LON", "TG A A0 001234", "SB AB"}) {
        ASSERT_EQ(port.Ask(c), "OK\r") << c;
    }
    // Channel 20 is locked out: the scan passes 3 and 10 only.
    std::string shown;
    int receptions = 0;
    for (int poll = 0; poll < 8; ++poll) {
        const std::string display = port.Ask("LCD");
        ASSERT_NE(display.find("RMT +"), std::string::npos) << display;
        const std::size_t at = display.find("CHN [");
        ASSERT_NE(at, std::string::npos) << display;
        shown += display.substr(at + 5, 3) + " ";
        if (port.Ask("SQ") == "SQ 1\r") {
            ++receptions;
            EXPECT_NE(display.find("FLASH +"), std::string::npos) << display;
            if (display.find("CHN [010]") != std::string::npos) {
                EXPECT_NE(display.find("LCD2 [ID:001234"), std::string::npos) << display;
                EXPECT_NE(display.find("TRUNK +"), std::string::npos) << display;
            }
        }
    }
    // From channel 20 (the last one written) on; every fourth poll it stays, receiving.
    EXPECT_EQ(shown, "003 010 003 003 010 003 010 010 ");
    EXPECT_EQ(receptions, 2);
    // Hold stops the scan; UP and DOWN step through every programmed channel.
    EXPECT_EQ(port.Ask("KEY00"), "OK\r");
    EXPECT_EQ(port.Ask("MD"), "MD 01\r");
    EXPECT_NE(port.Ask("LCD").find("CHN [010]"), std::string::npos);
    EXPECT_NE(port.Ask("LCD").find("CHN [010]"), std::string::npos);
    EXPECT_EQ(port.Ask("KEY07"), "OK\r");
    EXPECT_NE(port.Ask("LCD").find("CHN [020] FRQ [0462.5000]"), std::string::npos);
    EXPECT_EQ(port.Ask("KEY08"), "OK\r");
    EXPECT_NE(port.Ask("LCD").find("CHN [010]"), std::string::npos);
    // Selecting a channel shows it.
    EXPECT_EQ(port.Ask("MA003").substr(0, 4), "C003");
    EXPECT_NE(port.Ask("LCD").find("CHN [003] FRQ [0162.5500]"), std::string::npos);
}

TEST_F(Fixture, MemoryFileKeepsTheScannerBetweenRuns) {
    const auto memory = folder / "scanner.mem";
    Start({"--memory", memory.string(), "--save-delay-ms", "0"});
    for (const char* command : {"PM120T08510250", "LON", "TG C A1 12345", "TA B B Name with blanks",
                                "TR D 4 04160000 0125 381 2", "FB E 0 13", "PC C120"}) {
        ASSERT_EQ(port.Ask(command), "OK\r") << command;
    }
    EXPECT_EQ(sim.control("save"), "ok");
    const std::string saved = simtest::ReadFile(memory);
    EXPECT_NE(saved.find("CH 120 08510250 TN DF LN"), std::string::npos);
    EXPECT_NE(saved.find("NAME B Name with blanks"), std::string::npos);
    port.close();
    ASSERT_EQ(sim.Stop(), 0);

    SimProcess again;
    ASSERT_TRUE(
        again.Start({"--latency-ms", "0", "--baud", "115200", "--memory", memory.string()}));
    RawPort port2;
    ASSERT_TRUE(port2.open(again.device(), B115200));
    EXPECT_EQ(port2.Ask("MA120"), "C120 F08510250 TN DF LN\r");
    EXPECT_EQ(port2.Ask("TG C A1"), "TG C A1 12345\r");
    EXPECT_EQ(port2.Ask("TA B B"), "TA B B Name with blanks\r");
    EXPECT_EQ(port2.Ask("BC D2"), "BC D2 04160000 0125 381\r");
    EXPECT_EQ(port2.Ask("TB D"), "TB D E2-UHF\r");
    EXPECT_EQ(port2.Ask("PC C"), "PC C120\r");
    EXPECT_EQ(port2.Ask("FB E", 1000, 8).substr(0, 10), "FB E 0 13\r");
    // "AC" clears the whole memory, and the file follows.
    EXPECT_EQ(port2.Ask("AC"), "OK\r");
    EXPECT_EQ(again.control("save"), "ok");
    EXPECT_NE(simtest::ReadFile(memory).find("CH 120 00000000 TF DF LF"), std::string::npos);
}

TEST_F(Fixture, MemoryIsSavedByItselfAfterAChangeAndOnSigterm) {
    const auto memory = folder / "scanner.mem";
    Start({"--memory", memory.string(), "--save-delay-ms", "20"});
    ASSERT_EQ(port.Ask("PM002 01625500"), "OK\r");
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (Clock::now() < deadline &&
           simtest::ReadFile(memory).find("CH 002 01625500") == std::string::npos) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_NE(simtest::ReadFile(memory).find("CH 002 01625500"), std::string::npos);

    // A change right before the end is not lost.
    SimProcess slow;
    const auto memory2 = folder / "slow.mem";
    ASSERT_TRUE(slow.Start({"--latency-ms", "0", "--baud", "115200", "--memory", memory2.string(),
                            "--save-delay-ms", "60000"}));
    RawPort port2;
    ASSERT_TRUE(port2.open(slow.device(), B115200));
    ASSERT_EQ(port2.Ask("PM003 01625500"), "OK\r");
    EXPECT_EQ(simtest::ReadFile(memory2).find("CH 003 01625500"), std::string::npos);
    EXPECT_EQ(slow.Stop(), 0);
    EXPECT_NE(simtest::ReadFile(memory2).find("CH 003 01625500"), std::string::npos);
}

TEST_F(Fixture, RefusesAMemoryFileItDidNotWrite) {
    const auto memory = folder / "other.mem";
    { std::ofstream(memory) << "VEXA MEM V1.00\r\nsomething\r\n"; }
    EXPECT_FALSE(sim.Start({"--memory", memory.string()}, 2000));
    EXPECT_EQ(sim.Wait(2000), 1);
    EXPECT_EQ(simtest::ReadFile(memory), "VEXA MEM V1.00\r\nsomething\r\n");
}

// A folder or a pipe named as the memory file is refused at once, not read for ever.
TEST_F(Fixture, RefusesAMemoryFileThatIsNoPlainFile) {
    std::filesystem::create_directory(folder / "folder.mem");
    ASSERT_EQ(::mkfifo((folder / "pipe.mem").c_str(), 0644), 0);
    for (const char* name : {"folder.mem", "pipe.mem"}) {
        SimProcess refused;
        EXPECT_FALSE(refused.Start({"--memory", (folder / name).string()}, 2000)) << name;
        EXPECT_EQ(refused.Wait(2000), 1) << name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "folder.mem"));
    EXPECT_TRUE(std::filesystem::is_fifo(folder / "pipe.mem"));
}

TEST_F(Fixture, RepliesTakeTheLatencyAndTheWireTimeOfTheBaudRate) {
    ASSERT_TRUE(sim.Start({"--latency-ms", "40", "--baud", "4800"}));
    ASSERT_TRUE(port.open(sim.device(), B4800));
    // "MA001" + CR is 6 bytes in (the scanner acts on the CR); "C001 F00000000 TF DF LF" + CR
    // is 24 bytes out.
    const double least = 40 + (6 + 24) * 10.0 / 4800 * 1000;  // 102.5 ms
    const auto start = Clock::now();
    port.Send("MA001");
    const std::string first = port.Read(2000, 1);
    const double took = MillisecondsSince(start);
    EXPECT_EQ(first, "C001 F00000000 TF DF LF\r");
    EXPECT_GE(took, least - 1);
    EXPECT_LT(took, least + 400);  // generous: the machine may be busy
}

TEST_F(Fixture, CommandsSentAtTheWrongSpeedAreNotUnderstood) {
    ASSERT_TRUE(sim.Start({"--latency-ms", "0", "--baud", "9600"}));
    ASSERT_TRUE(port.open(sim.device(), B4800));
    EXPECT_EQ(port.Ask("SI", 300), "");
    port.close();
    ASSERT_TRUE(port.open(sim.device(), B9600));
    EXPECT_EQ(port.Ask("SI"), "SI BCT8,V1.00,SIM\r");
}

TEST_F(Fixture, AnswersAnySpeedWhenAsked) {
    ASSERT_TRUE(sim.Start({"--latency-ms", "0", "--baud", "9600", "--any-baud"}));
    ASSERT_TRUE(port.open(sim.device(), B4800));
    EXPECT_EQ(port.Ask("SI"), "SI BCT8,V1.00,SIM\r");
}

TEST_F(Fixture, SurvivesTheClientClosingAndReopeningThePort) {
    Start();
    port.Send("PM007 01625500");
    port.close();
    ASSERT_TRUE(port.open(sim.device(), B115200));
    // The answer given while the port was closed waits in the line, as the program expects
    // (it reads the input away after every reopening).
    EXPECT_EQ(port.Read(1000), "OK\r");
    EXPECT_EQ(port.Ask("MA007"), "C007 F01625500 TF DF LF\r");
}

// --- Faults -------------------------------------------------------------------------------

TEST_F(Fixture, NoReplyLosesTheCommandTheGivenNumberOfTimes) {
    Start({"--fault", "no-reply@ch5:2"});
    EXPECT_EQ(port.Ask("PM005 01625500", 200), "");
    EXPECT_EQ(port.Ask("MA004"), "C004 F00000000 TF DF LF\r");
    EXPECT_EQ(port.Ask("MA005", 200), "");
    EXPECT_EQ(port.Ask("MA005"), "C005 F00000000 TF DF LF\r");  // the lost write had no effect
}

TEST_F(Fixture, FaultByCommandNumber) {
    Start({"--fault", "err@3"});
    EXPECT_EQ(port.Ask("SI"), "SI BCT8,V1.00,SIM\r");
    EXPECT_EQ(port.Ask("SI"), "SI BCT8,V1.00,SIM\r");
    EXPECT_EQ(port.Ask("SI"), "ERR\r");
    EXPECT_EQ(port.Ask("SI"), "SI BCT8,V1.00,SIM\r");
}

TEST_F(Fixture, ErrAlwaysRefusesMatchingCommandsWithoutEffect) {
    Start({"--fault", "err@TG:always"});
    EXPECT_EQ(port.Ask("TG A A0 12345"), "ERR\r");
    EXPECT_EQ(port.Ask("TG A A0"), "ERR\r");
    EXPECT_EQ(sim.control("clear"), "ok");
    EXPECT_EQ(port.Ask("TG A A0"), "TG A A0 ------\r");
}

TEST_F(Fixture, CutReplyNeverSendsTheCarriageReturn) {
    Start({"--fault", "cut-reply@MA"});
    const std::string cut = port.Ask("MA001", 300);
    EXPECT_FALSE(cut.empty());
    EXPECT_EQ(cut.find('\r'), std::string::npos);
    EXPECT_EQ(std::string("C001 F00000000 TF DF LF").rfind(cut, 0), 0u) << cut;
}

TEST_F(Fixture, GarbageIsALineWithoutTheAnswer) {
    Start({"--fault", "garbage@ch2"});
    const std::string noise = port.Ask("MA002");
    ASSERT_FALSE(noise.empty());
    EXPECT_EQ(noise.back(), '\r');
    EXPECT_EQ(noise.find("C002"), std::string::npos);
    EXPECT_EQ(port.Ask("MA002"), "C002 F00000000 TF DF LF\r");
}

TEST_F(Fixture, DisconnectClosesTheLineAndEndsTheSimulator) {
    const auto memory = folder / "scanner.mem";
    Start({"--fault", "disconnect@channel 3", "--memory", memory.string(), "--save-delay-ms",
           "60000"});
    EXPECT_EQ(port.Ask("PM002 01625500"), "OK\r");
    port.Send("PM003 01625500");
    bool eof = false;
    port.Read(2000, 1, &eof);
    EXPECT_TRUE(eof);
    EXPECT_EQ(sim.Wait(3000), 0);
    // What the scanner had taken before it went away is in its memory file.
    const std::string saved = simtest::ReadFile(memory);
    EXPECT_NE(saved.find("CH 002 01625500"), std::string::npos);
    EXPECT_NE(saved.find("CH 003 00000000"), std::string::npos);
}

TEST_F(Fixture, FaultsCanBeAddedWhileRunning) {
    Start();
    EXPECT_EQ(sim.control("fault err@VR"), "ok");
    EXPECT_EQ(sim.control("fault sparks"),
              "error: unknown fault \"sparks\" (use no-reply, "
              "cut-reply, err, garbage or disconnect)");
    EXPECT_EQ(port.Ask("VR"), "ERR\r");
    EXPECT_EQ(port.Ask("VR"), "VR 1.00\r");
    EXPECT_EQ(sim.control("count"), "ok 2");
    EXPECT_EQ(sim.control("quit"), "ok");
    EXPECT_EQ(sim.Wait(2000), 0);
}

TEST(SimCommandLine, HelpAndBadOptions) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{"--help"}, 0},           {{"--fault", "no-reply@ch0"}, 2},
        {{"--fault", "err:0"}, 2}, {{"--fault", "slow"}, 2},
        {{"--baud"}, 2},           {{"--latency-ms", "-1"}, 2},
        {{"--frobnicate"}, 2},
    };
    for (const Case& c : cases) {
        SimProcess sim;
        sim.Start(c.args, 2000);
        EXPECT_EQ(sim.Wait(2000), c.exitCode) << c.args[0];
    }
}

}  // namespace
