// A session destroyed while its job is suspended (waiting for a reply, a timer or the user's
// answer) ends the job first: nothing of it runs, answers or reports afterwards.
#include <gtest/gtest.h>

#include "session_fixture.h"

namespace vex::test {
namespace {

struct LifetimeCase {
    const char* name;
    std::function<void(LinkSession&, const Image&)> start;
    std::int64_t runMs;  // how long the job runs before the session goes
    bool deferAnswers;   // the job is waiting for the user
};

class SessionLifetime : public SessionTest, public ::testing::WithParamInterface<LifetimeCase> {};

TEST_P(SessionLifetime, DestroyedMidJobLeavesNothingRunning) {
    const LifetimeCase& c = GetParam();
    for (int b = 0; b < kScannerBanks; ++b) image.TrunkType[static_cast<std::size_t>(b)] = "2";
    scanner.setTypeNames({"MOT TYPE I", "MOT TYPE I", "MOT TYPE I", "MOT TYPE I", "MOT TYPE I"});
    image.channel(0, 1)[kFieldFrequency] = "0154.4300";
    deferAnswers = c.deferAnswers;
    make();
    c.start(*session, image);
    clock.advance(c.runMs);
    ASSERT_TRUE(session->busy()) << "the job ended before the session went";
    ASSERT_EQ(c.deferAnswers, static_cast<bool>(pendingAnswer));

    session.reset();
    const std::size_t sentBefore = scanner.sent.size();
    if (pendingAnswer) pendingAnswer(true);
    EXPECT_TRUE(clock.runUntilIdle(60'000));
    EXPECT_EQ(scanner.sent.size(), sentBefore) << "the job went on after its session";
    EXPECT_EQ(finishedCount, 0);
    EXPECT_EQ(clock.pendingTimers(), 0u);
}

ReadRequest ReadEverything() {
    ReadRequest r = ReadAll({true, true, true});
    r.idListTags = true;
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, SessionLifetime,
    ::testing::Values(
        LifetimeCase{"read_channels", StartRead(ReadEverything()), 2'000, false},
        LifetimeCase{"read_trunk_settings", StartRead(ReadAll({false, false, true})), 2'500, false},
        LifetimeCase{"send_asking", StartSend(SendRange(1, 10)), 0, true},
        LifetimeCase{"send_writing", StartSend(SendRange(1, 250)), 5'000, false},
        LifetimeCase{"delete_asking", StartDeleteBank(2), 0, true},
        LifetimeCase{"id_list_tags", kReadIdListTags, 300, false},
        LifetimeCase{"open", [](LinkSession& s, const Image&) { s.open({}); }, 50, false}),
    RowName<LifetimeCase>);

}  // namespace
}  // namespace vex::test
