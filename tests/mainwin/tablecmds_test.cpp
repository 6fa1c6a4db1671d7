#include "mainwin/tablecmds.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/atomic_file.h"
#include "mainwin_helpers.h"

namespace vex {
namespace {

using testing::EmptyImage;
using testing::Put;
using testing::Tags;
using Strings = std::vector<std::string>;

TEST(MainwinInsertLine, AsksWhenSlot50HoldsDataAndMovesChannelsDown) {
    Image image = EmptyImage();
    EXPECT_EQ(InsertLineQuestion(image, 1), std::nullopt);
    Put(image, 1, 2, "0151.0000", "A", "1", "0", "0", "c2");
    Put(image, 1, 3, "0152.0000", "B");
    Put(image, 1, 50, "0159.0000", "LOST");
    const auto question = InsertLineQuestion(image, 1);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->buttons, Question::Buttons::YesNo);
    ASSERT_TRUE(InsertEmptyLine(image, 1, 2));
    EXPECT_TRUE(IsEmptyChannel(image, 1, 2));
    EXPECT_EQ(Tags(image, 1, 4), (Strings{"", " ", "A", "B"}));
    EXPECT_EQ(image.channel(1, 3)[kFieldComment], "c2");
    EXPECT_EQ(image.channel(1, 3)[kFieldNumber], "53");  // slot numbers stay with the slots
    for (int slot = 1; slot <= 50; ++slot) EXPECT_NE(image.channel(1, slot)[kFieldTag], "LOST");
    EXPECT_FALSE(InsertEmptyLine(image, 1, 0));
    EXPECT_FALSE(InsertEmptyLine(image, 1, 51));
}

TEST(MainwinLineQuestions, AreYouSureUnlessExpert) {
    Options options;
    EXPECT_EQ(RemoveLinesQuestion(options)->text, "Are you sure?");
    EXPECT_EQ(ClearBankQuestion().text, "This will clear the current bank.\nAre you sure?");
    options.expert = 1;
    EXPECT_EQ(RemoveLinesQuestion(options), std::nullopt);
}

TEST(MainwinSortQuestion, OnlyForAnEdacsBankWithTrunkedChannels) {
    struct Case {
        const char* type;
        int option6;
        bool trunked;
        bool asks;
    };
    const Case cases[] = {
        {"6", 0, true, true},   {"6", 1, true, true},  {"7", 0, true, true}, {"7", 1, true, false},
        {"6", 0, false, false}, {"5", 0, true, false}, {"", 0, true, false},
    };
    for (const Case& c : cases) {
        Image image = EmptyImage();
        image.TrunkType[2] = c.type;
        Put(image, 2, 7, "0851.0000", "", c.trunked ? "1" : "0");
        Options options;
        options.option[6] = c.option6;
        const auto question = SortQuestion(image, 2, options);
        EXPECT_EQ(question.has_value(), c.asks) << c.type << " " << c.option6 << " " << c.trunked;
        if (question) {
            EXPECT_TRUE(question->beep);
            EXPECT_EQ(question->text,
                      "WARNING:\nThis bank contains an EDACS trunk system!\nSorting this bank "
                      "can cause problems.\nDo you want to sort this bank anyway?");
        }
    }
}

TEST(MainwinRemoveEmptyLines, CompactsInOrder) {
    Image image = EmptyImage();
    Put(image, 3, 1, "0151.0000", "ONE");
    Put(image, 3, 5, "0155.0000", "FIVE", "0", "0", "0", "comment five");
    Put(image, 3, 9, "0159.0000", "NINE");
    ASSERT_TRUE(RemoveEmptyLines(image, 3));
    EXPECT_EQ(Tags(image, 3, 4), (Strings{"ONE", "FIVE", "NINE", ""}));
    EXPECT_EQ(image.channel(3, 2)[kFieldComment], "comment five");
    for (int slot = 4; slot <= 50; ++slot) EXPECT_TRUE(IsEmptyChannel(image, 3, slot)) << slot;
    EXPECT_FALSE(RemoveEmptyLines(image, 3));  // nothing left to move
}

TEST(MainwinRemoveAndClearLines, RemoveMovesChannelsUpClearOnlyEmpties) {
    Image image = EmptyImage();
    for (int slot = 1; slot <= 50; ++slot) Put(image, 0, slot, "0400.0000", std::to_string(slot));
    ASSERT_TRUE(RemoveLines(image, 0, 4, 2));  // corners in any order
    EXPECT_EQ(Tags(image, 0, 3), (Strings{"1", "5", "6"}));
    EXPECT_EQ(image.channel(0, 47)[kFieldTag], "50");
    for (int slot = 48; slot <= 50; ++slot) EXPECT_TRUE(IsEmptyChannel(image, 0, slot));
    ASSERT_TRUE(ClearLines(image, 0, 2, 3));
    EXPECT_EQ(Tags(image, 0, 4), (Strings{"1", "", "", "7"}));
    EXPECT_FALSE(ClearLines(image, 0, 2, 3));
    EXPECT_TRUE(ClearBank(image, 0));
    for (int slot = 1; slot <= 50; ++slot) EXPECT_TRUE(IsEmptyChannel(image, 0, slot));
}

TEST(MainwinCenterTags, CutTrimAndCentreByLeadingSpaces) {
    Image image = EmptyImage();
    Put(image, 0, 1, "0151.0000", "  AB  ");
    Put(image, 0, 2, "0152.0000", "ABC");
    Put(image, 0, 3, "0153.0000", "ABCDEFGHIJKLMNOPQRS");
    Put(image, 0, 4, "0154.0000", "   ");
    ASSERT_TRUE(CenterTags(image, 0));
    EXPECT_EQ(Tags(image, 0, 4), (Strings{std::string(7, ' ') + "AB", std::string(6, ' ') + "ABC",
                                          "ABCDEFGHIJKLMNOP", ""}));
    EXPECT_FALSE(CenterTags(image, 0));  // centring is stable
    ASSERT_TRUE(RemoveLeadingSpaces(image, 0));
    EXPECT_EQ(Tags(image, 0, 4), (Strings{"AB", "ABC", "ABCDEFGHIJKLMNOP", ""}));
    EXPECT_FALSE(RemoveLeadingSpaces(image, 0));
}

TEST(MainwinSortBank, StableWithEmptyChannelsLastEitherWay) {
    Image image = EmptyImage();
    Put(image, 0, 1, "0460.0000", "X", "1", "0", "0", "c1");
    Put(image, 0, 2, "0000.0000", "E");
    Put(image, 0, 3, "0155.0000", "A");
    Put(image, 0, 4, "155", "B");  // same value written differently: still equal keys
    ASSERT_TRUE(SortBank(image, 0, Selection::cell(1, 1), SortOrder::Ascending));
    EXPECT_EQ(Tags(image, 0, 4), (Strings{"A", "B", "X", "E"}));
    EXPECT_EQ(image.channel(0, 3)[kFieldTrunk], "1");  // every field moves with the frequency
    EXPECT_EQ(image.channel(0, 3)[kFieldComment], "c1");
    EXPECT_EQ(image.channel(0, 3)[kFieldNumber], "3");
    ASSERT_TRUE(SortBank(image, 0, Selection::rows(1, 1), SortOrder::Descending));
    EXPECT_EQ(Tags(image, 0, 4), (Strings{"X", "A", "B", "E"}));
}

TEST(MainwinDuplicates, CurrentBankComparesNumericValues) {
    Image image = EmptyImage();
    Put(image, 1, 2, "0162.5500");
    Put(image, 1, 7, "162.55");
    Put(image, 1, 9, "0162.5500");
    Put(image, 0, 1, "0162.5500");  // another bank: not compared
    EXPECT_EQ(FindDuplicates(image, 1, DuplicateScope::CurrentBank),
              (Strings{"Duplicate Channel Found: 52 and 57 / Frequency: 0162.5500",
                       "Duplicate Channel Found: 52 and 59 / Frequency: 0162.5500",
                       "Duplicate Channel Found: 57 and 59 / Frequency: 162.55"}));
}

TEST(MainwinDuplicates, AllBanksIncludeTheDummyBankAsLaterPartner) {
    Image image = EmptyImage();
    Put(image, 0, 1, "0460.5000");
    Put(image, kDummyBank, 3, "0460.5000");
    Put(image, kDummyBank, 4, "0460.5000");
    Put(image, kDummyBank, 5, "0999.0000");
    Put(image, kDummyBank, 6, "0999.0000");  // two Dummy channels are not compared with each other
    EXPECT_EQ(FindDuplicates(image, 0, DuplicateScope::AllBanks),
              (Strings{"Duplicate Channel Found: 1 and 253 / Frequency: 0460.5000",
                       "Duplicate Channel Found: 1 and 254 / Frequency: 0460.5000"}));
}

TEST(MainwinDuplicates, RemoveEmptiesLaterIdenticalTextsOfTheBank) {
    Image image = EmptyImage();
    Put(image, 0, 1, "0162.5500", "KEEP");
    Put(image, 0, 2, "0162.5500", "GONE", "1");
    Put(image, 0, 3, "162.55", "DIFFERENT TEXT");
    Put(image, 0, 4, "0162.5500", "GONE TOO");
    ASSERT_TRUE(RemoveDuplicates(image, 0));
    EXPECT_FALSE(IsEmptyChannel(image, 0, 1));
    EXPECT_TRUE(IsEmptyChannel(image, 0, 2));
    EXPECT_EQ(image.channel(0, 2)[kFieldTag], "GONE");  // other fields stay
    EXPECT_FALSE(IsEmptyChannel(image, 0, 3));
    EXPECT_TRUE(IsEmptyChannel(image, 0, 4));
    EXPECT_FALSE(RemoveDuplicates(image, 0));
}

// How each cell's text is taken is the cell entry's test; here, where the cells land.
TEST(MainwinPaste, StaysInsideTheGrid) {
    GridBank grid;
    const Options options;
    EXPECT_EQ(PasteCells(grid, 49, 1, "600\tA\tyes\t0\tmaybe\textra\n0\tQ\n162.553", options), 2);
    EXPECT_EQ(grid.cell(49, 5), "");
    EXPECT_EQ(grid.cell(50, 1), "");  // 0 is an empty channel
    EXPECT_EQ(grid.cell(50, 2), "Q");

    GridBank offset;
    EXPECT_EQ(PasteCells(offset, 5, 2, "TAG\tOn\tOn\tOn\tspill", options), 1);
    EXPECT_EQ(offset.cell(5, 2), "TAG");
    EXPECT_EQ(offset.cell(5, 5), "On");
    EXPECT_EQ(offset.cell(5, 1), "");
    EXPECT_EQ(PasteCells(offset, 5, 2, "", options), 0);
}

TEST(MainwinFillSeries, NumbersTheTagsWithTheWholeTrailingNumber) {
    struct Case {
        const char* first;
        long long k;
        std::optional<std::string> tag;
    };
    const Case cases[] = {
        {"TAG1", 1, "TAG2"},
        {"TAG999999", 1, "TAG1000000"},
        {"TAG1999999", 1, "TAG2000000"},  // more than six digits: never split at a carry
        {"UNIT 009", 1, "UNIT 010"},
        {"UNIT 009  ", 2, "UNIT 011"},
        {"99999999999999999999", 1, "100000000000000000000"},
        {"7", 3, "10"},
        {"TAG", 1, std::nullopt},
        {"   ", 1, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(SeriesTag(c.first, c.k), c.tag) << c.first;
}

TEST(MainwinFillSeries, WorksOnlyWithinTheTagColumn) {
    GridBank grid;
    grid.cell(1, kGridTag) = "CH98";
    EXPECT_EQ(FillSeries(grid, {1, 4, 2, 2, 1, 2}), FillSeriesOutcome::Filled);
    EXPECT_EQ(grid.cell(2, kGridTag), "CH99");
    EXPECT_EQ(grid.cell(4, kGridTag), "CH101");
    EXPECT_EQ(grid.cell(5, kGridTag), "");

    GridBank longTag;
    longTag.cell(1, kGridTag) = "ABCDEFGHIJKLM999";
    FillSeries(longTag, {1, 2, 2, 2, 1, 2});
    EXPECT_EQ(longTag.cell(2, kGridTag), "ABCDEFGHIJKLM100");  // cut to 16 like a typed tag
}

TEST(MainwinSelectionShape, NormalisedOrdersAndClampsCorners) {
    const Selection s = Selection{60, 0, 9, -1, 70, 0}.normalised();
    EXPECT_EQ(s, (Selection{1, 50, 1, 5, 50, 1}));
}

}  // namespace
}  // namespace vex
