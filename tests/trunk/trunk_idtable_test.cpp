#include "trunk/trunk_idtable.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

TrunkIdBankRows Rows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    TrunkIdBankRows result{};
    int r = 0;
    for (const auto& [id, tag] : rows) {
        result[r][kTidId] = id;
        result[r][kTidTag] = tag;
        result[r][kTidThird] = "t" + std::to_string(r);
        ++r;
    }
    return result;
}

std::vector<std::string> Ids(const TrunkIdBankRows& rows, int count) {
    std::vector<std::string> ids;
    for (int r = 0; r < count; ++r) ids.push_back(rows[r][kTidId]);
    return ids;
}

TEST(TrunkIdCopy, LoadLeavesFieldFourAndWriteBackReplacesQuotes) {
    Image image;
    image.TrunkId[0][3] = {"000123", "Say \"hi\"", "third", "fourth"};
    image.TrunkId[5][0] = {"dummy", "", "", ""};
    TrunkIdWorkingCopy copy = LoadTrunkIdCopy(image);
    EXPECT_EQ(copy[0][3][kTidFourth], "");
    EXPECT_EQ(copy[0][3][kTidThird], "third");
    copy[5][0][kTidId] = "changed";
    copy[1][60][kTidId] = "spare";
    WriteBackTrunkIdCopy(copy, image);
    EXPECT_EQ(image.TrunkId[0][3], (TrunkIdRow{"000123", "Say  hi ", "third", "fourth"}));
    EXPECT_EQ(image.TrunkId[5][0][kTidId], "dummy") << "the Dummy bank is not written back";
    EXPECT_EQ(image.TrunkId[1][60][kTidId], "spare");
}

TEST(TrunkIdSort, ByIdKeepsRowsTogetherAndEmptiesLast) {
    auto rows = Rows({{"000300", "c"}, {"", "orphan tag"}, {"000010", "a"}, {"700001", "i"}});
    SortTrunkIdRows(rows, TrunkSortKey::Id, true);
    EXPECT_EQ(Ids(rows, 4), (std::vector<std::string>{"000010", "000300", "700001", ""}));
    EXPECT_EQ(rows[0][kTidTag], "a");
    EXPECT_EQ(rows[0][kTidThird], "t2");
    EXPECT_EQ(rows[3][kTidTag], "orphan tag");
    SortTrunkIdRows(rows, TrunkSortKey::Id, false);
    EXPECT_EQ(Ids(rows, 4), (std::vector<std::string>{"700001", "000300", "000010", ""}));
    EXPECT_TRUE(rows[49][kTidId].empty());
}

TEST(TrunkIdSort, ByTagIgnoresCase) {
    auto rows = Rows({{"1", "bravo"}, {"2", ""}, {"3", "Alpha"}, {"4", "charlie"}});
    SortTrunkIdRows(rows, TrunkSortKey::Tag, true);
    EXPECT_EQ(Ids(rows, 4), (std::vector<std::string>{"3", "1", "4", "2"}));
    SortTrunkIdRows(rows, TrunkSortKey::Tag, false);
    EXPECT_EQ(Ids(rows, 4), (std::vector<std::string>{"4", "1", "3", "2"}));
}

TEST(TrunkIdRowsCommands, RemoveInsertMove) {
    auto rows = Rows({{"a", "A"}, {"b", "B"}, {"c", "C"}});
    rows[49] = {"last", "L", "", ""};
    ASSERT_TRUE(RemoveTrunkIdRow(rows, 1));
    EXPECT_EQ(Ids(rows, 3), (std::vector<std::string>{"a", "c", ""}));
    EXPECT_EQ(rows[1][kTidThird], "t2");
    EXPECT_EQ(rows[48][kTidId], "last");
    EXPECT_TRUE(rows[49][kTidId].empty());

    rows[49] = {"lost", "", "", ""};
    ASSERT_TRUE(InsertTrunkIdRow(rows, 0));
    EXPECT_EQ(Ids(rows, 3), (std::vector<std::string>{"", "a", "c"}));
    EXPECT_EQ(rows[49][kTidId], "last") << "the last row's content falls off";

    EXPECT_FALSE(MoveTrunkIdRowUp(rows, 0));
    EXPECT_FALSE(MoveTrunkIdRowDown(rows, 49));
    EXPECT_FALSE(RemoveTrunkIdRow(rows, 50));
}

TEST(TrunkIdClipboard, CopyDropsLineBreaksPasteStopsAtTheLastRowAndTakesTheBanksRules) {
    auto rows = Rows({{"000001", "One"}, {"000002", "Two\r"}});
    EXPECT_EQ(CopyTrunkIdCells(rows, {0, 0, 1, 1}), "000001\tOne\n000002\tTwo");
    auto written = PasteTrunkIdCells(rows, 1, 48, 0,
                                     "71\tA \"quoted\", tag that is long\textra\r\n"
                                     "i5\tB\n"
                                     "99\tC\n");
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->top, 48);
    EXPECT_EQ(written->bottom, 49);
    EXPECT_EQ(written->right, 1);
    EXPECT_EQ(rows[48][kTidTag], "A  quoted ; tag ");
    EXPECT_EQ(rows[49][kTidId], "700005");
    EXPECT_EQ(rows[50][kTidId], "") << "nothing lands past the last row";
    // Pasting into the tag column fills tags only.
    PasteTrunkIdCells(rows, 1, 0, 1, "x\ty\n");
    EXPECT_EQ(rows[0][kTidTag], "x");
    EXPECT_EQ(rows[0][kTidId], "000001");
    EXPECT_FALSE(PasteTrunkIdCells(rows, 1, 50, 0, "1").has_value());
    EXPECT_FALSE(PasteTrunkIdCells(rows, 1, 0, 0, "").has_value());
}

}  // namespace
}  // namespace vex
