// The scanner-side dialogs' jobs on the fake clock: what each sends, and that a silent or
// refusing scanner ends a job with a message instead of a success.
#include <gtest/gtest.h>

#include <memory>

#include "link/fake_scheduler.h"
#include "link/scanner_jobs.h"
#include "simulated_scanner.h"

namespace vex {
namespace {

class PanelJobsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(scanner.open().ok());
        scanner.model.channel(5).frequency = "01625500";
    }
    ScannerJobResult run(Task<ScannerJobResult> job) {
        auto out = std::make_shared<ScannerJobResult>();
        bool ended = false;
        link.run(Collect(std::move(job), out), [&ended] { ended = true; });
        while (!ended && clock.nextDue() >= 0) clock.advance(clock.nextDue() - clock.now());
        EXPECT_TRUE(ended);
        return *out;
    }
    static Task<void> Collect(Task<ScannerJobResult> job, std::shared_ptr<ScannerJobResult> out) {
        const ScannerJobResult r = co_await job;
        *out = r;
    }

    FakeScheduler clock;
    test::SimulatedScanner scanner{clock};
    Link link{scanner, clock};
    ScannerJobs jobs{link, 25};
};

TEST_F(PanelJobsTest, PrioritySendWritesThreeDigits) {
    EXPECT_TRUE(run(jobs.sendPriorities({7, 51, 101, 151, 250})).ok);
    EXPECT_EQ(scanner.texts(),
              (std::vector<std::string>{"PC A007", "PC B051", "PC C101", "PC D151", "PC E250"}));
    EXPECT_EQ(scanner.model.priority(0), 7);
}

TEST_F(PanelJobsTest, EasyProgrammingSendsEachTickedAttributeForEachChannel) {
    EasyProgramRequest r;
    r.start = 12;
    r.end = 10;  // either order
    r.lockout = true;
    EXPECT_TRUE(run(jobs.easyProgram(r, {})).ok);
    EXPECT_EQ(scanner.texts(),
              (std::vector<std::string>{"MA010", "LON", "MA011", "LON", "MA012", "LON"}));

    scanner.sent.clear();
    r = EasyProgramRequest{};
    r.start = r.end = 5;
    r.trunk = true;  // the channel is conventional: the held TRUNK key switches it
    r.delay = 4;
    r.record = false;
    r.beepAlert = true;
    r.attenuator = true;
    EXPECT_TRUE(run(jobs.easyProgram(r, {})).ok);
    EXPECT_EQ(scanner.texts(),
              (std::vector<std::string>{"MA005", "KEY13H", "DLN +-", "ARF", "BAN C 005", "ATN"}));
}

TEST_F(PanelJobsTest, ASilentScannerEndsTheJobWithinASecondAndAMessage) {
    scanner.inject("no-reply:always");
    const std::int64_t started = clock.now();
    const ScannerJobResult r = run(jobs.handshake(true));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("did not answer \"KEY01\""), std::string::npos);
    EXPECT_LE(clock.now() - started, 1100);
    EXPECT_EQ(scanner.sent.size(), 1u);
}

TEST_F(PanelJobsTest, SettingsSendSkipsTheReadOnlyAndUnchosen) {
    std::array<int, kMenuSettings> choices;
    choices.fill(-1);
    choices[6] = 2;  // SQ Mode: Search
    choices[8] = 1;  // Clone: not written
    EXPECT_TRUE(run(jobs.sendSettings(choices)).ok);
    EXPECT_EQ(scanner.texts(),
              (std::vector<std::string>{"KEY07", "KEY11", "KEY02 3", "KEY02 8", "KEY02 3"}));
}

}  // namespace
}  // namespace vex
