// The scanner-side dialogs' jobs on the fake clock: what each sends, and that a silent or
// refusing scanner ends a job with a message instead of a success.
#include <gtest/gtest.h>

#include <memory>

#include "link/fake_scheduler.h"
#include "link/scanner_jobs.h"

namespace vex {
namespace {

// Answers "OK" to everything (a channel read with an empty channel), or stays silent.
class Echo : public Transport {
  public:
    explicit Echo(FakeScheduler& clock) : d_clock(clock) {}
    TransportStatus open() override { return {}; }
    void close() override {}
    bool isOpen() const override { return true; }
    void write(std::string_view bytes) override {
        std::string command(bytes.substr(0, bytes.find('\r')));
        sent.push_back(command);
        if (silent) return;
        std::string reply = command == refuse ? "ERR" : "OK";
        if (command.rfind("MA", 0) == 0) reply = "C" + command.substr(2) + " F01625500 TF DF LF";
        d_clock.startTimer(2, [this, reply] { deliver(reply + "\r"); });
    }
    std::vector<std::string> sent;
    bool silent = false;
    std::string refuse;

  private:
    FakeScheduler& d_clock;
};

class PanelJobsTest : public ::testing::Test {
  protected:
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
    Echo scanner{clock};
    Link link{scanner, clock};
    ScannerJobs jobs{link, 25};
};

TEST_F(PanelJobsTest, PrioritySendWritesThreeDigits) {
    EXPECT_TRUE(run(jobs.sendPriorities({7, 51, 101, 151, 250})).ok);
    EXPECT_EQ(scanner.sent,
              (std::vector<std::string>{"PC A007", "PC B051", "PC C101", "PC D151", "PC E250"}));
}

TEST_F(PanelJobsTest, EasyProgrammingWithLockoutOnSendsTheChannelAndLonForEach) {
    EasyProgramRequest r;
    r.start = 12;
    r.end = 10;  // either order
    r.lockout = true;
    EXPECT_TRUE(run(jobs.easyProgram(r, {})).ok);
    EXPECT_EQ(scanner.sent,
              (std::vector<std::string>{"MA010", "LON", "MA011", "LON", "MA012", "LON"}));
}

TEST_F(PanelJobsTest, EasyProgrammingSendsEachTickedAttribute) {
    EasyProgramRequest r;
    r.start = r.end = 5;
    r.trunk = true;  // the channel is conventional: the held TRUNK key switches it
    r.delay = 4;
    r.record = false;
    r.beepAlert = true;
    r.attenuator = true;
    EXPECT_TRUE(run(jobs.easyProgram(r, {})).ok);
    EXPECT_EQ(scanner.sent,
              (std::vector<std::string>{"MA005", "KEY13H", "DLN +-", "ARF", "BAN C 005", "ATN"}));
}

TEST_F(PanelJobsTest, ASilentScannerEndsTheJobWithinASecondAndAMessage) {
    scanner.silent = true;
    const std::int64_t started = clock.now();
    const ScannerJobResult r = run(jobs.handshake(true));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("did not answer \"KEY01\""), std::string::npos);
    EXPECT_LE(clock.now() - started, 1100);
    EXPECT_EQ(scanner.sent.size(), 1u);
}

TEST_F(PanelJobsTest, ARefusedCommandIsAFailureNamingIt) {
    scanner.refuse = "TA B C Fire";
    std::array<std::string, 5> names{"Police", "", "Fire", "", ""};
    const ScannerJobResult r = run(jobs.sendBankNames(names));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "The scanner refused \"TA B C Fire\".");
    EXPECT_EQ(scanner.sent.back(), "TA B C Fire");
}

TEST_F(PanelJobsTest, SettingsSendSkipsTheReadOnlyAndUnchosen) {
    std::array<int, kMenuSettings> choices;
    choices.fill(-1);
    choices[6] = 2;  // SQ Mode: Search
    choices[8] = 1;  // Clone: not written
    EXPECT_TRUE(run(jobs.sendSettings(choices)).ok);
    EXPECT_EQ(scanner.sent,
              (std::vector<std::string>{"KEY07", "KEY11", "KEY02 3", "KEY02 8", "KEY02 3"}));
}

}  // namespace
}  // namespace vex
