// The ID list tag read ("read ID lists tag") and the names-read flag, over the simulated
// scanner on a fake clock.
#include <gtest/gtest.h>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

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
    TransferResult readTags() { return run(kReadIdListTags); }
};

TEST_F(ListTagRead, ReadsEveryTagThenTheSearchRangeNames) {
    const Image before = image;
    const TransferResult r = readTags();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_TRUE(r.hasData);
    EXPECT_EQ(image, before) << "the caller's image is left alone";

    for (int l = 0; l < 10; ++l)
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(r.image.ScanListTag[l][i], scanner.model.listTag(l, i)) << l << i;
    Image rest = r.image;  // nothing else of the image changes
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
    EXPECT_EQ(r.searchRangeNames[8], "A name far longe");

    EXPECT_TRUE(r.warnings.empty());
    // Tags are names, not refusals: "FERRY" and the like never show as "???".
    EXPECT_THAT(replies, Not(Contains("???")));
}

struct TagTrouble {
    const char* name;
    SimulatedScanner::Intercept intercept;
    TransferOutcome outcome;
    std::vector<std::pair<const char*, long>> asked;  // how often each key went out
    Strings shown, notShown;
};

class ListTagTrouble : public ListTagRead, public ::testing::WithParamInterface<TagTrouble> {};

TEST_P(ListTagTrouble, IsRetriedWithinBounds) {
    const TagTrouble& c = GetParam();
    scanner.intercept = c.intercept;
    const TransferResult r = readTags();
    ASSERT_EQ(r.outcome, c.outcome) << r.message;
    for (const auto& [key, times] : c.asked) EXPECT_EQ(sentCount(key), times) << key;
    for (const std::string& s : c.shown) EXPECT_TRUE(hasStatus(s)) << s;
    for (const std::string& s : c.notShown) EXPECT_FALSE(hasStatus(s)) << s;
    if (c.outcome == TransferOutcome::Completed) {
        EXPECT_EQ(r.image.ScanListTag[2][5], "LC5");
        EXPECT_EQ(r.image.ScanListTag[3][0], "LD0");
    } else {
        // Restarts are bounded and nothing half read is stored.
        EXPECT_THAT(r.message, StartsWith("ID list tag time-out!"));
        EXPECT_FALSE(r.hasData);
        EXPECT_FALSE(r.namesRead);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ListTagTrouble,
    ::testing::Values(
        TagTrouble{"UnusableAnswersAreAskedAgainAndCounted",
                   [](const std::string& c, int n) -> Reply {
                       if (c == "TA L C 5" && n == 1) return Answer("TA L C 4 LC4\r");
                       if (c == "TA L D 0" && n == 1) return Silent();
                       return std::nullopt;
                   },
                   TransferOutcome::Completed,
                   {{"TA L A 0", 1}},
                   {"ID list read retry: 1", "ID list read retry: 2", "Read ID list tags/ 102"},
                   {"ID list tag time-out!"}},
        // Three bad answers to one key make 103 steps: the first walk runs out before its last
        // key and starts again, the second one goes through.
        TagTrouble{"MoreThan102StepsStartTheWalkAgain",
                   [](const std::string& c, int n) -> Reply {
                       if (c == "TA L C 5" && n <= 3) return Answer("garbage\r");
                       return std::nullopt;
                   },
                   TransferOutcome::Completed,
                   {{"TA L A 0", 2}, {"TA L C 5", 4 + 1}, {"TA L J 9", 1}},
                   {"ID list tag time-out!", "Read ID list tags/ 102", "ID tags read Ok"},
                   {"Read ID list tags/ 103"}},
        TagTrouble{"RestartsAreBounded",
                   [](const std::string& c, int) -> Reply {
                       if (c == "TA L J 9") return Answer("TA L J 8 LJ8\r");
                       return std::nullopt;
                   },
                   TransferOutcome::Failed,
                   {{"TA L A 0", 3}, {"TA S A", 0}},
                   {},
                   {"ID tags read Ok"}}),
    RowName<TagTrouble>);

TEST_F(ListTagRead, ASilentScannerEndsWithTheCommunicationTimeOut) {
    scanner.intercept = [](const std::string& c, int) -> Reply {
        if (c.rfind("TA L ", 0) == 0 && c >= "TA L B 2") return Silent();
        return std::nullopt;
    };
    const TransferResult r = readTags();
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message, kCommunicationTimeoutMessage);
    EXPECT_EQ(r.title, "Error");
    EXPECT_EQ(sentCount("TA L B 2"), 10);
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
    EXPECT_EQ(sentCount("TA L F 0"), 1) << "a refusal is an answer, not asked again";

    scanner.inject("err@TA L B 1:always");
    scanner.inject("err@TA L B 2:always");
    r = readTags();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.image.ScanListTag[1][1], "old");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_THAT(r.warnings[0], HasSubstr("refused 2 ID list tags"));
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
    EXPECT_LT(lastId, firstTag);
    EXPECT_LT(firstTag, std::find(texts.begin(), texts.end(), "PC A"));

    EXPECT_EQ(read(ReadAll({false, true, false})).outcome, TransferOutcome::Completed);
    EXPECT_EQ(sentCount("TA L A 0"), 0) << "without the choice a read asks for no tag";
}

TEST_F(ListTagRead, NamesReadFlagIsSetByCompleteNameReadsOnlyAndClearedByOpening) {
    scanner.setTypeNames({"LTR", "", "", "", ""});
    const std::tuple<const char*, StartFn, bool> cases[] = {
        {"channels", StartRead(ReadAll()), false},
        {"settings", StartRead(ReadAll({false, false, true})), false},
        {"trunk types", kReadTrunkTypes, false},
        {"bank names", kReadBankNames, true},
        {"trunk IDs", StartRead(ReadAll({false, true, false})), true},
        {"ID list tags", kReadIdListTags, true},
    };
    for (const auto& [what, start, sets] : cases) {
        make();
        open();
        const TransferResult r = run(start);
        ASSERT_EQ(r.outcome, TransferOutcome::Completed) << what << ": " << r.message;
        EXPECT_EQ(r.namesRead, sets) << what;
        // It stays for the following transfers, and opening again clears it.
        EXPECT_EQ(read(ReadAll({false, false, true})).namesRead, sets) << what;
        EXPECT_EQ(session->namesRead(), sets) << what;
        open();
        EXPECT_FALSE(session->namesRead()) << what;
    }
}

}  // namespace
}  // namespace vex::test
