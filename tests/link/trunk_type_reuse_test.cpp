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
        ReadRequest r = ReadAll();
        r.area = TransferArea::ChannelRange;
        r.rangeStart = start;
        r.rangeEnd = end;
        r.reuseTrunkTypes = reuse;
        return r;
    }
};

TEST_F(TrunkTypeReuse, AReadTakesTheTypesReadBeforeOnlyWhenAskedTo) {
    // The scanner changes its mind after the window opened: a reusing read keeps what it was told.
    for (const auto& [reuse, typeReads, bankA] :
         {std::tuple{true, 0, "9"}, std::tuple{false, 5, "2"}}) {
        scanner.setTypeNames({"EDCS SCT", "", "LTR", "", ""});
        ASSERT_EQ(readTypes(), TransferOutcome::Completed);
        EXPECT_TRUE(session->scannerTrunkTypesKnown());
        scanner.model.trunk(0).typeName = "TYPE I";
        const TransferResult r = read(Range(1, 2, reuse));
        ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
        EXPECT_EQ(sentCount("TB "), typeReads) << reuse;
        EXPECT_EQ(r.image.TrunkType[0], bankA) << reuse;
        EXPECT_EQ(r.image.TrunkType[2], "8");
        EXPECT_EQ(r.image.TrunkType[1], "0");
    }
}

TEST_F(TrunkTypeReuse, TypesAreReadWhenThereIsNoCompleteReadToTake) {
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"never read", [this] { make(); }},
        {"the read on opening failed",
         [this] {
             scanner.inject("err@TB B:always");
             EXPECT_EQ(readTypes(), TransferOutcome::Failed);
             scanner.faults.clear();
         }},
        {"the read on opening was stopped",
         [this] {
             make();
             session->startReadTrunkTypes(image);
             while (scanner.sent.size() < 2) clock.advance(1);
             session->stop();
             EXPECT_EQ(runToEnd().outcome, TransferOutcome::Stopped);
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
        EXPECT_EQ(r.image.TrunkType[0], "9") << what;
        EXPECT_TRUE(session->scannerTrunkTypesKnown()) << what;
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
