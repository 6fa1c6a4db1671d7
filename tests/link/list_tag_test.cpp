// The ID list tag read ("read ID lists tag"), the stand-alone trunk type read and the
// names-read flag, over the simulated scanner on a fake clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

using Strings = std::vector<std::string>;

class ListTagRead : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        for (int l = 0; l < 10; ++l)
            for (int i = 0; i < 10; ++i)
                scanner.model.listTag(l, i) =
                    "L" + std::string(1, static_cast<char>('A' + l)) + std::to_string(i);
        scanner.model.listTag(1, 3) = "";  // answered "-"
        scanner.model.listTag(4, 9) = "Fire, Rescue";
        scanner.model.searchName(0) = "Airband";
        scanner.model.searchName(8) = "A name far longer than sixteen";
        for (auto& row : image.ScanListTag) row.fill("old");
    }
    TransferResult readTags() {
        if (!session) make();
        session->startReadIdListTags(image);
        return runToEnd();
    }
    long count(const std::string& text) const {
        const Strings texts = scanner.texts();
        return std::count(texts.begin(), texts.end(), text);
    }
};

TEST_F(ListTagRead, ReadsEveryTagThenTheSearchRangeNames) {
    const Image before = image;
    const TransferResult r = readTags();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_TRUE(r.hasData);
    EXPECT_EQ(image, before) << "the caller's image is left alone";

    EXPECT_EQ(r.image.ScanListTag[0][0], "LA0");
    EXPECT_EQ(r.image.ScanListTag[9][9], "LJ9");
    EXPECT_EQ(r.image.ScanListTag[1][3], "") << "\"-\" is an empty tag";
    EXPECT_EQ(r.image.ScanListTag[4][9], "Fire, Rescue");
    // Nothing else of the image changes.
    Image rest = r.image;
    rest.ScanListTag = before.ScanListTag;
    EXPECT_EQ(rest, before);

    Strings expected;
    for (char l = 'A'; l <= 'J'; ++l)
        for (char i = '0'; i <= '9'; ++i) expected.push_back("TA L " + std::string{l, ' ', i});
    for (char s = 'A'; s <= 'I'; ++s) expected.push_back("TA S " + std::string(1, s));
    EXPECT_EQ(scanner.texts(), expected);
    // Each answer is followed by the settle wait before the next key goes out.
    EXPECT_EQ(scanner.sent[1].at - scanner.sent[0].at, 5 + 100);

    EXPECT_EQ(r.searchRangeNames[0], "Airband");
    EXPECT_EQ(r.searchRangeNames[1], "");
    EXPECT_EQ(r.searchRangeNames[8], "A name far longe");

    EXPECT_TRUE(hasStatus("Read ID list tags/ 1"));
    EXPECT_TRUE(hasStatus("Read ID list tags/ 100"));
    EXPECT_FALSE(hasStatus("Read ID list tags/ 101"));
    EXPECT_TRUE(hasStatus("ID tags read Ok"));
    EXPECT_TRUE(r.warnings.empty());
    // Tags are names, not refusals: "FERRY" and the like never show as "???".
    EXPECT_EQ(std::find(replies.begin(), replies.end(), "???"), replies.end());
}

TEST_F(ListTagRead, AnUnusableAnswerIsAskedAgainAndCounted) {
    scanner.intercept = [](const std::string& c, int n) -> Reply {
        if (c == "TA L C 5" && n == 1) return Answer("TA L C 4 LC4\r");
        if (c == "TA L D 0" && n == 1) return Silent();  // silent once
        return std::nullopt;
    };
    const TransferResult r = readTags();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.image.ScanListTag[2][5], "LC5");
    EXPECT_EQ(r.image.ScanListTag[3][0], "LD0");
    EXPECT_TRUE(hasStatus("ID list read retry: 1"));
    EXPECT_TRUE(hasStatus("ID list read retry: 2"));
    EXPECT_TRUE(hasStatus("Read ID list tags/ 102"));
    EXPECT_FALSE(hasStatus("ID list tag time-out!"));
    EXPECT_EQ(count("TA L A 0"), 1);
}

TEST_F(ListTagRead, MoreThan102StepsStartTheWalkAgain) {
    // Three bad answers to one key make 103 steps: the first walk runs out before its last
    // key and starts again, the second one goes through.
    scanner.intercept = [](const std::string& c, int n) -> Reply {
        if (c == "TA L C 5" && n <= 3) return Answer("garbage\r");
        return std::nullopt;
    };
    const TransferResult r = readTags();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_TRUE(hasStatus("ID list tag time-out!"));
    EXPECT_TRUE(hasStatus("Read ID list tags/ 102"));
    EXPECT_FALSE(hasStatus("Read ID list tags/ 103"));
    EXPECT_EQ(count("TA L A 0"), 2);
    EXPECT_EQ(count("TA L C 5"), 4 + 1);
    EXPECT_EQ(count("TA L J 9"), 1) << "the 103rd step is never taken";
    EXPECT_EQ(r.image.ScanListTag[2][5], "LC5");
    EXPECT_TRUE(hasStatus("ID tags read Ok"));
}

TEST_F(ListTagRead, RestartsAreBoundedAndNothingHalfReadIsStored) {
    scanner.intercept = [](const std::string& c, int) -> Reply {
        if (c == "TA L J 9") return Answer("TA L J 8 LJ8\r");
        return std::nullopt;
    };
    const TransferResult r = readTags();
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message.rfind("ID list tag time-out!", 0), 0u) << r.message;
    EXPECT_FALSE(r.hasData);
    EXPECT_FALSE(r.namesRead);
    EXPECT_EQ(count("TA L A 0"), 3);
    EXPECT_EQ(count("TA S A"), 0);
    EXPECT_FALSE(hasStatus("ID tags read Ok"));
    EXPECT_FALSE(session->busy());
}

TEST_F(ListTagRead, ASilentScannerEndsWithTheCommunicationTimeOut) {
    scanner.intercept = [](const std::string& c, int) -> Reply {
        if (c.rfind("TA L ", 0) == 0 && c >= "TA L B 2") return Silent();
        return std::nullopt;
    };
    const TransferResult r = readTags();
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message, kCommunicationTimeoutMessage);
    EXPECT_EQ(r.title, "Error");
    EXPECT_EQ(count("TA L B 2"), 10);
    EXPECT_FALSE(r.hasData);
    EXPECT_FALSE(scanner.isOpen());
}

TEST_F(ListTagRead, RefusedListsKeepTheirTextAndOnlyTheScannersOwnBanksAreReported) {
    for (char l : {'F', 'G', 'H', 'I', 'J'})  // a scanner with five lists
        scanner.inject(std::string("err@TA L ") + l + ":always");
    TransferResult r = readTags();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.image.ScanListTag[4][9], "Fire, Rescue");
    EXPECT_EQ(r.image.ScanListTag[5][0], "old");
    EXPECT_EQ(r.image.ScanListTag[9][9], "old");
    EXPECT_TRUE(r.warnings.empty()) << "banks the scanner does not have";
    EXPECT_EQ(count("TA L F 0"), 1) << "a refusal is an answer, not asked again";

    scanner.inject("err@TA L B 1:always");
    scanner.inject("err@TA L B 2:always");
    result.reset();
    r = readTags();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.image.ScanListTag[1][1], "old");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("refused 2 ID list tags"), std::string::npos) << r.warnings[0];
}

TEST_F(ListTagRead, StopEndsAtOnceWithNothingStored) {
    make();
    session->startReadIdListTags(image);
    while (scanner.sent.empty() || scanner.sent.back().text != "TA L E 0") clock.advance(1);
    session->stop();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, TransferOutcome::Stopped);
    EXPECT_FALSE(result->hasData);
    const std::size_t sent = scanner.sent.size();
    clock.runUntilIdle();
    EXPECT_EQ(scanner.sent.size(), sent);
}

TEST_F(ListTagRead, ChainedAfterTheTrunkIdsOfARead) {
    scanner.setTypeNames({"LTR", "", "", "", ""});
    ReadRequest request = ReadAll({false, true, false});
    request.idListTags = true;
    const TransferResult r = read(request);
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.image.ScanListTag[0][0], "LA0");
    const Strings texts = scanner.texts();
    const auto lastId = std::find(texts.begin(), texts.end(), "TG A E9");
    const auto firstTag = std::find(texts.begin(), texts.end(), "TA L A 0");
    const auto firstPrio = std::find(texts.begin(), texts.end(), "PC A");
    EXPECT_LT(lastId, firstTag);
    EXPECT_LT(firstTag, firstPrio);
    EXPECT_TRUE(r.namesRead);

    // Without the choice a read asks for no tag.
    scanner.sent.clear();
    result.reset();
    EXPECT_EQ(read(ReadAll({false, true, false})).outcome, TransferOutcome::Completed);
    EXPECT_EQ(count("TA L A 0"), 0);
}

// --- the names-read flag ------------------------------------------------------------------

TEST_F(ListTagRead, NamesReadFlagIsSetByCompleteNameReadsOnlyAndClearedByOpening) {
    scanner.setTypeNames({"LTR", "", "", "", ""});
    struct Case {
        const char* what;
        std::function<void(LinkSession&)> start;
        bool sets;
    };
    const Case cases[] = {
        {"channels", [this](LinkSession& s) { s.startRead(image, ReadAll()); }, false},
        {"settings",
         [this](LinkSession& s) {
             s.startRead(image, ReadAll({false, false, true}));
         },
         false},
        {"trunk types", [this](LinkSession& s) { s.startReadTrunkTypes(image); }, false},
        {"bank names", [](LinkSession& s) { s.startReadBankNames(); }, true},
        {"trunk IDs",
         [this](LinkSession& s) {
             s.startRead(image, ReadAll({false, true, false}));
         },
         true},
        {"ID list tags", [this](LinkSession& s) { s.startReadIdListTags(image); }, true},
    };
    for (const Case& c : cases) {
        make();
        bool opened = false;
        session->open([&](const OpenResult&) { opened = true; });
        clock.runUntilIdle();
        ASSERT_TRUE(opened);
        EXPECT_FALSE(session->namesRead()) << c.what;
        result.reset();
        c.start(*session);
        const TransferResult r = runToEnd();
        ASSERT_EQ(r.outcome, TransferOutcome::Completed) << c.what << ": " << r.message;
        EXPECT_EQ(r.namesRead, c.sets) << c.what;
        EXPECT_EQ(session->namesRead(), c.sets) << c.what;

        // It stays for the following transfers, and opening again clears it.
        result.reset();
        session->startRead(image, ReadAll({false, false, true}));
        EXPECT_EQ(runToEnd().namesRead, c.sets) << c.what;
        session->open([](const OpenResult&) {});
        clock.runUntilIdle();
        EXPECT_FALSE(session->namesRead()) << c.what;
    }
}

TEST_F(ListTagRead, AnUnfinishedNameReadLeavesTheFlagClear) {
    scanner.inject("no-reply@TA B B:always");
    make();
    session->startReadBankNames();
    const TransferResult r = runToEnd();
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_FALSE(r.namesRead);
    EXPECT_FALSE(session->namesRead());
}

// --- "&Get trunktype" ---------------------------------------------------------------------

TEST_F(ListTagRead, TrunkTypeReadAloneGivesTheImageWithTheScannersTypes) {
    scanner.setTypeNames({"EDCS SCT", "", "TYPE I", "E2-UHF", "SOMETHING"});
    image.TrunkType[4] = "8";
    image.TrunkType[1] = "3";
    const Image before = image;
    make();
    session->startReadTrunkTypes(image);
    const TransferResult r = runToEnd();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_TRUE(r.hasData);
    EXPECT_EQ(image, before);
    EXPECT_EQ(r.image.TrunkType[0], "9");
    EXPECT_EQ(r.image.TrunkType[1], "0");
    EXPECT_EQ(r.image.TrunkType[2], "2");
    EXPECT_EQ(r.image.TrunkType[3], "4");
    EXPECT_EQ(r.image.TrunkType[4], "8") << "an unknown name stores nothing";
    EXPECT_EQ(r.image.TrunkType[7], "0") << "banks the scanner does not have";
    EXPECT_EQ(session->scannerTrunkTypes()[0], "9");
    EXPECT_EQ(session->scannerTrunkTypes()[4], "") << "no stale type for an unknown name";
    EXPECT_EQ(scanner.texts(), (Strings{"TB A", "TB B", "TB C", "TB D", "TB E"}));
    EXPECT_TRUE(hasStatus("Reading trunk type"));
    EXPECT_TRUE(hasStatus("Trunk type read Ok"));
}

TEST_F(ListTagRead, TrunkTypeReadAloneReportsItsFailure) {
    scanner.intercept = [](const std::string& c, int) -> Reply {
        if (c == "TB D") return Answer("TB C E2-800\r");
        return std::nullopt;
    };
    make();
    session->startReadTrunkTypes(image);
    const TransferResult r = runToEnd();
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message, "Reading trunktype failed.");
    EXPECT_FALSE(r.hasData);
    EXPECT_TRUE(hasStatus("Reading trunktype failed."));
}

}  // namespace
}  // namespace vex::test
