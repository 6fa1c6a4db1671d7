// vexa send --changes against bct8sim: after a whole send, five edited channels go out alone
// and the scanner ends up holding the edited image, as a whole send would leave it.
#include <gtest/gtest.h>

#include "core/memfile.h"
#include "e2e/link_fixture.h"
#include "e2e/vexa_run.h"
#include "link/kept_image.h"

#ifdef VEXA_PATH

namespace {

using simtest::SimProcess;
using simtest::TempFolder;
using vexarun::Vexa;

struct VexaSendChanges : ::testing::Test {
    TempFolder folder;
    SimProcess sim;
    vex::Options options;

    void SetUp() override {
        std::ofstream(folder / "setup.ini")
            << "[setup]\r\ndelay1=25\r\ndelay2=25\r\ndelay3=25\r\nexpert=1\r\n";
        ASSERT_TRUE(sim.Start({"--baud", "57600", "--latency-ms", "0", "--memory",
                               (folder / "scanner.sim").string()}));
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
    void Write(const vex::Image& image, const std::filesystem::path& path) {
        ASSERT_TRUE(vex::WriteMemFile(image, path, options).ok);
    }
    bool SomethingKept() const {
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            if (entry.path().filename().string().rfind("scanner-", 0) == 0) return true;
        return false;
    }
};

TEST_F(VexaSendChanges, FiveEditedChannelsReachTheScannerAlone) {
    vex::Image image = e2e::FullImage();
    const auto in = folder / "in.mem";
    Write(image, in);
    auto run = Vexa(Command({"send"}, in));
    ASSERT_EQ(run.code, 0) << run.out;
    ASSERT_TRUE(SomethingKept());

    image.channel(0, 2)[vex::kFieldFrequency] = "0155.5000";
    image.channel(1, 10)[vex::kFieldLockout] =
        image.channel(1, 10)[vex::kFieldLockout] == "1" ? "0" : "1";
    image.channel(2, 25)[vex::kFieldFrequency] = "0460.1250";
    vex::EmptyChannel(image.channel(3, 40));
    image.channel(4, 50)[vex::kFieldFrequency] = "0162.5500";
    image.channel(4, 50)[vex::kFieldTrunk] = "0";
    image.channel(0, 3)[vex::kFieldTag] = "TAGS STAY HOME";  // not the scanner's
    Write(image, in);
    run = Vexa(Command({"send", "--changes"}, in));
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("Sending 5 channels"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("keypad"), std::string::npos) << run.out;

    const auto out = folder / "out.mem";
    run = Vexa(Command({"read"}, out));
    ASSERT_EQ(run.code, 0) << run.out;
    vex::Image read = e2e::EmptyImage();
    ASSERT_TRUE(vex::ReadMemFile(read, out, options).ok);
    const auto differences = e2e::WireDifferences(image, read);
    EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);

    run = Vexa(Command({"send", "--changes"}, in));
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("Nothing to send"), std::string::npos) << run.out;
}

TEST_F(VexaSendChanges, WithoutAKeptImageSuggestsTheWholeSend) {
    const auto in = folder / "in.mem";
    Write(e2e::FullImage(), in);
    const auto run = Vexa(Command({"send", "--changes"}, in));
    EXPECT_EQ(run.code, 1) << run.out;
    EXPECT_NE(run.out.find("no copy of what the scanner"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("vexa send --port " + sim.device() + " " + in.string()),
              std::string::npos)
        << run.out;
    EXPECT_FALSE(SomethingKept());
}

}  // namespace

#else
TEST(VexaSendChanges, NotBuilt) {
    GTEST_SKIP() << "vexa is not part of this build";
}
#endif
