// vexa send --changes against bct8sim: after a whole send, five edited channels go out alone
// and the scanner ends up holding the edited image, as a whole send would leave it.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "core/memfile.h"
#include "e2e/link_fixture.h"
#include "e2e/vexa_run.h"
#include "link/kept_image.h"

#ifdef VEXA_PATH

namespace {

using simtest::SimProcess;
using simtest::TempFolder;
using vexarun::Vexa;

// The simulator's memory line of a channel: "CH 007 01543850 TF DN LF".
std::string SimLine(const vex::Image& image, int n) {
    const vex::Channel& c = image.channel((n - 1) / 50, (n - 1) % 50 + 1);
    auto flag = [](const std::string& f) { return vex::FlagOn(f) ? 'N' : 'F'; };
    char line[64];
    std::snprintf(line, sizeof line, "CH %03d %s T%c D%c L%c", n,
                  vex::WireFrequency(c[vex::kFieldFrequency]).value_or("?").c_str(),
                  flag(c[vex::kFieldTrunk]), flag(c[vex::kFieldDelay]),
                  flag(c[vex::kFieldLockout]));
    return line;
}

struct VexaSendChanges : ::testing::Test {
    TempFolder folder;
    SimProcess sim;
    vex::Options options;
    vex::Image image = e2e::FullImage();

    // The scanner starts out holding the image's channels.
    void SetUp() override {
        std::ofstream(folder / "setup.ini")
            << "[setup]\r\ndelay1=25\r\ndelay2=25\r\ndelay3=25\r\nexpert=1\r\n";
        std::ofstream memory(folder / "scanner.sim");
        memory << "BCT8SIM MEMORY 1\n";
        for (int n = 1; n <= vex::kTotalChannels; ++n) memory << SimLine(image, n) << '\n';
        memory.close();
        ASSERT_TRUE(sim.Start({"--baud", "57600", "--latency-ms", "0", "--memory",
                               (folder / "scanner.sim").string(), "--save-delay-ms", "0"}));
    }
    std::vector<std::string> Command(std::vector<std::string> head,
                                     const std::filesystem::path& file) const {
        for (const std::string& a :
             {std::string("--port"), sim.device(), std::string("--baud"), std::string("57600"),
              std::string("--dir"), folder.path().string()})
            head.push_back(a);
        head.push_back(file.string());
        return head;
    }
    void Write(const vex::Image& written, const std::filesystem::path& path) {
        ASSERT_TRUE(vex::WriteMemFile(written, path, options).ok);
    }
    bool SomethingKept() const {
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.path().filename().string().rfind("scanner-", 0) == 0) return true;
        return false;
    }
    // The identification the last command's start-up sequence got.
    std::string Identification() const {
        std::string text = simtest::ReadFile(folder / "version.ini");
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        return text;
    }
};

TEST_F(VexaSendChanges, WithoutAKeptImageSuggestsTheWholeSend) {
    const auto in = folder / "in.mem";
    Write(image, in);
    const auto run = Vexa(Command({"send", "--changes"}, in));
    EXPECT_EQ(run.code, 1) << run.out;
    EXPECT_NE(run.out.find("no copy of what the scanner"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("vexa send --port " + sim.device() + " " + in.string()),
              std::string::npos)
        << run.out;
    EXPECT_FALSE(SomethingKept());
}

TEST_F(VexaSendChanges, FiveEditedChannelsReachTheScannerAlone) {
    const auto in = folder / "in.mem";
    Write(image, in);
    ASSERT_EQ(Vexa(Command({"send", "--changes"}, in)).code, 1);  // opens the port once
    // What a whole send would have left behind.
    ASSERT_TRUE(vex::KeepImage(folder.path(), Identification(), image));

    image.channel(0, 2)[vex::kFieldFrequency] = "0155.5000";
    image.channel(1, 10)[vex::kFieldLockout] = vex::FlagOn(image.channel(1, 10)[5]) ? "0" : "1";
    image.channel(2, 25)[vex::kFieldFrequency] = "0460.1250";
    image.channel(3, 40)[vex::kFieldFrequency] = "0000.0000";
    image.channel(4, 50)[vex::kFieldFrequency] = "0162.5500";
    image.channel(4, 50)[vex::kFieldTrunk] = "0";
    image.channel(0, 3)[vex::kFieldTag] = "TAGS STAY HOME";  // not the scanner's
    Write(image, in);
    auto run = Vexa(Command({"send", "--changes"}, in));
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("Sending 5 channels"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("keypad"), std::string::npos) << run.out;

    run = Vexa(Command({"send", "--changes"}, in));
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("Nothing to send"), std::string::npos) << run.out;

    sim.Stop();  // writes its memory
    std::istringstream memory(simtest::ReadFile(folder / "scanner.sim"));
    std::string line;
    std::vector<std::string> differences;
    for (int n = 1; std::getline(memory, line);) {
        if (line.rfind("CH ", 0) != 0) continue;
        const std::string expected = SimLine(image, n);
        // An emptied channel keeps whatever flags it had.
        const bool same = vex::IsEmptyChannel(image.channel((n - 1) / 50, (n - 1) % 50 + 1))
                              ? line.substr(0, 15) == expected.substr(0, 15)
                              : line == expected;
        if (!same) differences.push_back(line + " (expected " + expected + ")");
        ++n;
    }
    EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);
}

}  // namespace

#else
TEST(VexaSendChanges, NotBuilt) {
    GTEST_SKIP() << "vexa is not part of this build";
}
#endif
