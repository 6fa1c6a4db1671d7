// The communication window reads the scanner's trunk types when it opens; the transfers that
// follow take those instead of asking again, unless there is no complete read to take.
#include <gtest/gtest.h>

#include "session_fixture.h"

namespace vex::test {
namespace {

class TrunkTypeReuse : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        config.options.expert = 1;
        scanner.setTypeNames({"EDCS SCT", "", "LTR", "", ""});
        for (int ch = 1; ch <= 250; ++ch) scanner.model.channel(ch).frequency = "01500000";
    }
    // The read the window starts by itself.
    TransferOutcome readTypes() {
        make();
        return run(kReadTrunkTypes).outcome;
    }
    static ReadRequest Range(int start, int end, bool reuse) {
        return {.items = {true, false, false},
                .area = TransferArea::ChannelRange,
                .rangeStart = start,
                .rangeEnd = end,
                .reuseTrunkTypes = reuse};
    }
};

TEST_F(TrunkTypeReuse, TypesAreReadWhenThereIsNoCompleteReadToTake) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"the read on opening failed",
         [this] {
             scanner.inject("err@TB B:always");
             EXPECT_EQ(readTypes(), TransferOutcome::Failed);
             scanner.faults.clear();
         }},
        {"a transfer after it failed",
         [this] {
             readTypes();
             forget();
             session->startRead(image, Range(1, 50, true));
             runUntilSent("MA010");
             scanner.pullAtNextCommand();
             EXPECT_EQ(runToEnd().outcome, TransferOutcome::Failed);
         }},
        {"the port was opened again",
         [this] {
             readTypes();
             open();
         }},
    };
    for (const auto& [what, before] : cases) {
        forget();
        before();
        EXPECT_FALSE(session->scannerTrunkTypesKnown()) << what;
        const TransferResult r = read(Range(1, 1, true));
        ASSERT_EQ(r.outcome, TransferOutcome::Completed) << what << ": " << r.message;
        EXPECT_EQ(sentCount("TB "), 5) << what;
        session.reset();
    }
}

TEST_F(TrunkTypeReuse, ASendComparesWithTheTypesReadBeforeAndKeepsThemUpToDate) {
    image.channel(0, 1) = {"1", "0851.0250", "", "1", "0", "0", ""};
    image.TrunkType[0] = "6";
    ASSERT_EQ(readTypes(), TransferOutcome::Completed);
    SendRequest rq = SendRange(1, 1);
    rq.reuseTrunkTypes = true;
    ASSERT_EQ(send(rq).outcome, TransferOutcome::Completed);
    EXPECT_EQ(sentCount("TB "), 0);
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "TR A 6");
    EXPECT_EQ(session->scannerTrunkTypes()[0], "6") << "the next send compares with 6";
}

}  // namespace
}  // namespace vex::test
