#include "link/link.h"

#include <gtest/gtest.h>

#include <memory>

#include "hand_line.h"
#include "link/fake_scheduler.h"

namespace vex {
namespace {

class LinkTest : public ::testing::Test {
  protected:
    FakeScheduler clock;
    test::HandLine line;
    std::unique_ptr<Link> link = std::make_unique<Link>(line, clock);
    bool done = false;

    void run(Task<void> job) {
        link->run(std::move(job), [this] { done = true; });
    }
};

// No reply times out after one second; a reply begun is joined until its carriage return.
TEST_F(LinkTest, RequestTimesOutOrJoinsItsReply) {
    std::vector<Reply> got;
    run([](Link& l, std::vector<Reply>& out) -> Task<void> {
        out.push_back(co_await l.request("SI"));
        out.push_back(co_await l.request("MA001"));
    }(*link, got));
    clock.advance(999);
    EXPECT_TRUE(got.empty());
    clock.advance(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(got[0].timedOut);
    EXPECT_EQ(line.written, (std::vector<std::string>{"SI\r\n", "MA001\r\n"}));
    clock.advance(500);
    line.feed("C001 F08");
    clock.advance(1500);  // past the reply time-out: the first byte stopped it
    line.feed("510250");
    EXPECT_EQ(got.size(), 1u);
    line.feed(" TN DF LF\r");
    ASSERT_EQ(got.size(), 2u);
    EXPECT_FALSE(got[1].timedOut);
    EXPECT_EQ(got[1].text, "C001 F08510250 TN DF LF\r");
    EXPECT_TRUE(done);
    EXPECT_EQ(clock.pendingTimers(), 0u);
}

TEST_F(LinkTest, LineEndMissingForTwoSecondsAbortsTheJob) {
    bool after = false;
    run([](Link& l, bool& reached) -> Task<void> {
        co_await l.request("MA001");
        reached = true;
    }(*link, after));
    clock.advance(100);
    line.feed("C001 F");
    clock.advance(1999);
    EXPECT_FALSE(done);
    clock.advance(1);
    EXPECT_TRUE(done);
    EXPECT_FALSE(after);
    EXPECT_EQ(link->stopReason().kind, LinkStopKind::LineEndTimeout);
    EXPECT_EQ(link->stopReason().message, kCrlfTimeoutMessage);
    EXPECT_EQ(clock.pendingTimers(), 0u);
}

TEST_F(LinkTest, PollWaitsItsTimeThenForALineEndThatHasBegun) {
    std::vector<std::string> polled;
    run([](Link& l, std::vector<std::string>& out) -> Task<void> {
        l.send("BT");
        out.push_back(co_await l.poll(100));
        l.send("TD");
        out.push_back(co_await l.poll(100));
        l.send("AF");
        out.push_back(co_await l.poll(100));
    }(*link, polled));
    line.feed("BTN\r");  // early answers wait for the end of the pause
    clock.advance(99);
    EXPECT_TRUE(polled.empty());
    clock.advance(1);
    ASSERT_EQ(polled.size(), 1u);
    EXPECT_EQ(polled[0], "BTN\r");
    line.feed("TD");  // begun, but not ended within the pause
    clock.advance(150);
    ASSERT_EQ(polled.size(), 1u);
    line.feed("F\r");
    ASSERT_EQ(polled.size(), 2u);
    EXPECT_EQ(polled[1], "TDF\r");
    clock.advance(100);  // nothing at all: an empty answer right after the pause
    ASSERT_EQ(polled.size(), 3u);
    EXPECT_EQ(polled[2], "");
    EXPECT_TRUE(done);
}

TEST_F(LinkTest, RecoverResetsThePortAndGivesUpAtTheTenthTime) {
    std::vector<bool> outcomes;
    std::vector<std::string> statuses;
    link->setStatus([&](std::string_view s) { statuses.emplace_back(s); });
    run([](Link& l, std::vector<bool>& out) -> Task<void> {
        for (int i = 0; i < 10; ++i) {
            const bool ok = co_await l.recover();
            out.push_back(ok);
        }
    }(*link, outcomes));
    EXPECT_EQ(line.written, (std::vector<std::string>{"\r\n"}));
    clock.advance(200);
    EXPECT_EQ(line.written.size(), 2u);
    clock.runUntilIdle();
    ASSERT_EQ(outcomes.size(), 10u);
    EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), true), 9);
    EXPECT_FALSE(outcomes.back());
    EXPECT_EQ(line.opens, 9);
    EXPECT_EQ(line.closes, 9);
    EXPECT_EQ(clock.now(), 9 * 400);
    EXPECT_EQ(statuses.front(), "Error: retrycount: 3");
    EXPECT_EQ(statuses.back(), "Error: retrycount: 10");
}

TEST_F(LinkTest, FaultAndStopEndTheJobAtOnceAndTheFirstReasonStays) {
    run([](Link& l) -> Task<void> { co_await l.wait(60000); }(*link));
    line.breakDown();
    EXPECT_TRUE(done);
    EXPECT_EQ(link->stopReason().kind, LinkStopKind::Disconnected);
    EXPECT_EQ(link->stopReason().message, "gone (EIO)");
    EXPECT_EQ(clock.pendingTimers(), 0u);
    link->abort({LinkStopKind::Stopped, "late", {}});  // no job: nothing happens
    EXPECT_EQ(link->stopReason().kind, LinkStopKind::Disconnected);

    // A port that cannot be reopened ends the job as disconnected too.
    done = false;
    line.openStatus = {TransportFault::Busy, std::string(kPortUnavailableMessage), "EBUSY"};
    run([](Link& l) -> Task<void> {
        co_await l.recover();
        co_await l.wait(10000);
    }(*link));
    EXPECT_TRUE(done);
    EXPECT_EQ(link->stopReason().kind, LinkStopKind::Disconnected);
}

TEST_F(LinkTest, FaultInsideTheJobTakesEffectAtItsNextWait) {
    bool sentAfter = false;
    run([](test::HandLine& hand, Link& l, bool& after) -> Task<void> {
        hand.breakDown();  // e.g. a write that failed at once
        after = true;
        co_await l.wait(10);
        hand.written.push_back("never");
    }(line, *link, sentAfter));
    EXPECT_TRUE(sentAfter);
    EXPECT_TRUE(done);
    EXPECT_TRUE(line.written.empty());
}

TEST_F(LinkTest, TheDoneCallbackMayDestroyTheLink) {
    link->run([](Link& l) -> Task<void> { co_await l.wait(5); }(*link), [this] { link.reset(); });
    clock.advance(5);
    EXPECT_EQ(link, nullptr);
}

}  // namespace
}  // namespace vex
