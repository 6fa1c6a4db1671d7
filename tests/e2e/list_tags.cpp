// The ID list tag read as a user runs it: vexa over the real serial code against the
// simulator, the tags ending up in the MEM file.
#include <gtest/gtest.h>

#include <fstream>

#include "core/image.h"
#include "core/memfile.h"
#include "e2e/sim_process.h"
#include "e2e/vexa_run.h"

using simtest::RawPort;
using simtest::SimProcess;
using simtest::TempFolder;

namespace {

#ifdef VEXA_PATH

using vexarun::Outcome;
using vexarun::Vexa;

struct ListTags : ::testing::Test {
    TempFolder folder;
    SimProcess sim;

    void SetUp() override {
        ASSERT_TRUE(sim.Start({"--latency-ms", "0", "--baud", "57600"}));
        // The shortest settle wait keeps the hundred steps quick.
        std::ofstream(folder / "setup.ini") << "[setup]\r\ndelay1=25\r\n";
    }
    // Gives the simulated scanner its tags as a terminal program would.
    void Tell(const std::vector<std::string>& commands) {
        RawPort port;
        ASSERT_TRUE(port.open(sim.device(), B57600));
        for (const std::string& c : commands) ASSERT_EQ(port.Ask(c), "OK\r") << c;
    }
    Outcome Read(const std::vector<std::string>& extra) {
        std::vector<std::string> args{"read",  "--port", sim.device(),          "--baud",
                                      "57600", "--dir",  folder.path().string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return Vexa(args);
    }
    vex::Image Load(const std::filesystem::path& file) {
        vex::Image image;
        vex::ClearForStartup(image);
        const vex::MemReadResult r = vex::ReadMemFile(image, file, vex::ImageOptions{});
        EXPECT_TRUE(r.ok) << r.message;
        return image;
    }
};

TEST_F(ListTags, ReadIntoTheMemFile) {
    Tell({"TA L A 0 Dispatch", "TA L C 5 Fleet, North", "TA L J 9 Last", "TA S A Airband"});
    const std::string out = (folder / "tags.mem").string();
    const Outcome r = Read({"--items", "listtags", out});
    ASSERT_EQ(r.code, 0) << r.out;
    const vex::Image image = Load(out);
    EXPECT_EQ(image.ScanListTag[0][0], "Dispatch");
    EXPECT_EQ(image.ScanListTag[2][5], "Fleet, North");
    EXPECT_EQ(image.ScanListTag[9][9], "Last");
    EXPECT_EQ(image.ScanListTag[1][0], "") << "the scanner's \"-\"";
}

TEST_F(ListTags, AreNotSent) {
    const std::string in = (folder / "in.mem").string();
    const Outcome r = Vexa({"send", "--port", sim.device(), "--items", "listtags", in});
    EXPECT_EQ(r.code, 2) << r.out;
    EXPECT_NE(r.out.find("can be read, not sent"), std::string::npos) << r.out;
}

#endif

}  // namespace
