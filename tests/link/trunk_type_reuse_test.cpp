// The communication window reads the scanner's trunk types when it opens; the transfers that
// follow take those instead of asking again, unless there is no complete read to take.
#include <gtest/gtest.h>

#include "session_fixture.h"

namespace vex::test {
namespace {

using Strings = std::vector<std::string>;

class TrunkTypeReuse : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        config.options.expert = 1;
        scanner.setTypeNames({"EDCS SCT", "", "LTR", "", ""});
        for (int ch = 1; ch <= 250; ++ch) scanner.model.channel(ch).frequency = "01500000";
    }
    // The read the window starts by itself.
    TransferResult readTypes() {
        make();
        session->startReadTrunkTypes(image);
        TransferResult r = runToEnd();
        result.reset();
        scanner.sent.clear();
        return r;
    }
    long typeReads() const {
        const Strings texts = scanner.texts();
        return std::count_if(texts.begin(), texts.end(),
                             [](const std::string& t) { return t.rfind("TB ", 0) == 0; });
    }
    static ReadRequest Range(int start, int end, bool reuse) {
        ReadRequest r;
        r.items.frequencies = true;
        r.area = TransferArea::ChannelRange;
        r.rangeStart = start;
        r.rangeEnd = end;
        r.reuseTrunkTypes = reuse;
        return r;
    }
};

TEST_F(TrunkTypeReuse, AReadTakesTheTypesReadBeforeOnlyWhenAskedTo) {
    struct Case {
        bool reuse;
        long typeReads;
        const char* bankA;
    };
    // The scanner changes its mind after the window opened: a reusing read keeps what it was told.
    for (const Case& c : {Case{true, 0, "9"}, Case{false, 5, "2"}}) {
        scanner.setTypeNames({"EDCS SCT", "", "LTR", "", ""});
        ASSERT_EQ(readTypes().outcome, TransferOutcome::Completed);
        EXPECT_TRUE(session->scannerTrunkTypesKnown());
        scanner.model.trunk(0).typeName = "TYPE I";
        const TransferResult r = read(Range(1, 2, c.reuse));
        ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
        EXPECT_EQ(typeReads(), c.typeReads) << c.reuse;
        EXPECT_EQ(r.image.TrunkType[0], c.bankA) << c.reuse;
        EXPECT_EQ(r.image.TrunkType[2], "8");
        EXPECT_EQ(r.image.TrunkType[1], "0");
        result.reset();
    }
}

TEST_F(TrunkTypeReuse, TypesAreReadWhenThereIsNoCompleteReadToTake) {
    struct Case {
        const char* what;
        std::function<void()> before;
    };
    const std::vector<Case> cases = {
        {"never read", [this] { make(); }},
        {"the read on opening failed",
         [this] {
             scanner.inject("err@TB B:always");
             EXPECT_EQ(readTypes().outcome, TransferOutcome::Failed);
             scanner.faults.Clear();
         }},
        {"the read on opening was stopped",
         [this] {
             make();
             session->startReadTrunkTypes(image);
             while (scanner.sent.size() < 2) clock.advance(1);
             session->stop();
             EXPECT_EQ(runToEnd().outcome, TransferOutcome::Stopped);
             result.reset();
             scanner.sent.clear();
         }},
        {"the port was opened again",
         [this] {
             readTypes();
             session->open([](const OpenResult&) {});
             clock.runUntilIdle(60000);
             scanner.sent.clear();
         }},
    };
    for (const Case& c : cases) {
        c.before();
        EXPECT_FALSE(session->scannerTrunkTypesKnown()) << c.what;
        const TransferResult r = read(Range(1, 1, true));
        ASSERT_EQ(r.outcome, TransferOutcome::Completed) << c.what << ": " << r.message;
        EXPECT_EQ(typeReads(), 5) << c.what;
        EXPECT_EQ(r.image.TrunkType[0], "9") << c.what;
        EXPECT_TRUE(session->scannerTrunkTypesKnown()) << c.what;
        result.reset();
        scanner.sent.clear();
        session.reset();
    }
}

TEST_F(TrunkTypeReuse, ASendComparesWithTheTypesReadBeforeAndKeepsThemUpToDate) {
    image.channel(0, 1)[kFieldFrequency] = "0851.0250";
    image.channel(0, 1)[kFieldTrunk] = "1";
    image.TrunkType[0] = "6";
    ASSERT_EQ(readTypes().outcome, TransferOutcome::Completed);
    SendRequest rq = SendRange(1, 1);
    rq.reuseTrunkTypes = true;
    ASSERT_EQ(send(rq).outcome, TransferOutcome::Completed);
    EXPECT_EQ(typeReads(), 0);
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "TR A 6");
    EXPECT_EQ(session->scannerTrunkTypes()[0], "6");

    // The scanner now holds type 6 in bank A: the next send sets nothing.
    result.reset();
    scanner.sent.clear();
    ASSERT_EQ(send(rq).outcome, TransferOutcome::Completed);
    EXPECT_EQ(typeReads(), 0);
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "MA001");
}

TEST_F(TrunkTypeReuse, AFailedTransferMakesTheNextOneReadTheTypes) {
    ASSERT_EQ(readTypes().outcome, TransferOutcome::Completed);
    session->startRead(image, Range(1, 50, true));
    while (scanner.sent.empty() || scanner.sent.back().text != "MA010") clock.advance(1);
    scanner.pullAtNextCommand();
    EXPECT_EQ(runToEnd().outcome, TransferOutcome::Failed);
    EXPECT_FALSE(session->scannerTrunkTypesKnown());
    result.reset();
    scanner.sent.clear();
    const TransferResult r = read(Range(1, 1, true));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(typeReads(), 5);
}

}  // namespace
}  // namespace vex::test
