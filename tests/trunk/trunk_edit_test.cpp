#include "trunk/trunk_edit.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

class TrunkEditTest : public testing::Test {
  protected:
    void SetUp() override {
        for (int b = 0; b < kTrunkIdBanks; ++b) {
            for (int r = 0; r < kTrunkIdUsedRows; ++r) {
                const std::string name = std::to_string(b) + "/" + std::to_string(r);
                image.TrunkId[b][r] = {"id" + name, "tag" + name, "x" + name, "y" + name};
            }
            for (int k = 0; k < 10; ++k) image.ScanListTag[b][k] = "L" + std::to_string(b * 10 + k);
        }
    }
    Image image;
};

TEST_F(TrunkEditTest, EntriesPerScopeAndUnit) {
    auto ids = TrunkEditEntries(image, 1, TrunkEditScope::ActiveBank, TrunkEditUnit::Ids);
    ASSERT_EQ(ids.size(), 50u);
    EXPECT_EQ(ids[12], "2-3 : id1/12 - tag1/12");
    auto all = TrunkEditEntries(image, 1, TrunkEditScope::AllBanks, TrunkEditUnit::Ids);
    ASSERT_EQ(all.size(), 300u);
    EXPECT_EQ(all[0], "Bank 1: 1-1 : id0/0 - tag0/0");
    EXPECT_EQ(all[299], "Dummy: 5-10 : id5/49 - tag5/49");
    auto lists = TrunkEditEntries(image, 2, TrunkEditScope::ActiveBank, TrunkEditUnit::Lists);
    ASSERT_EQ(lists.size(), 5u);
    EXPECT_EQ(lists[0], "1: L20");
    auto allLists = TrunkEditEntries(image, 2, TrunkEditScope::AllBanks, TrunkEditUnit::Lists);
    ASSERT_EQ(allLists.size(), 30u);
    EXPECT_EQ(allLists[6], "Bank 2: 2: L11");
    EXPECT_EQ(allLists[25], "Dummy: 1: L50");
    EXPECT_EQ(TrunkEditTargetAt(2, TrunkEditScope::AllBanks, TrunkEditUnit::Lists, 6),
              (TrunkEditTarget{1, 1}));
    EXPECT_EQ(TrunkEditTargetAt(2, TrunkEditScope::ActiveBank, TrunkEditUnit::Ids, 7),
              (TrunkEditTarget{2, 7}));
}

TEST_F(TrunkEditTest, CopyAndSwapIds) {
    ApplyTrunkEdit(image, TrunkEditUnit::Ids, TrunkEditOp::Copy, {0, 0}, {4, 49});
    EXPECT_EQ(image.TrunkId[4][49], image.TrunkId[0][0]);
    ApplyTrunkEdit(image, TrunkEditUnit::Ids, TrunkEditOp::Swap, {1, 0}, {1, 1});
    EXPECT_EQ(image.TrunkId[1][0][3], "y1/1");
    EXPECT_EQ(image.TrunkId[1][1][3], "y1/0");
    ApplyTrunkEdit(image, TrunkEditUnit::Lists, TrunkEditOp::Swap, {1, 0}, {5, 4});
    EXPECT_EQ(image.TrunkId[5][40][0], "id1/1");
    EXPECT_EQ(image.ScanListTag[1][0], "L54");
}

TEST_F(TrunkEditTest, OntoItselfChangesNothing) {
    const Image before = image;
    for (auto op : {TrunkEditOp::Copy, TrunkEditOp::Move, TrunkEditOp::Swap}) {
        ApplyTrunkEdit(image, TrunkEditUnit::Ids, op, {1, 5}, {1, 5});
        ApplyTrunkEdit(image, TrunkEditUnit::Lists, op, {2, 3}, {2, 3});
    }
    EXPECT_EQ(image, before);
    ApplyTrunkEdit(image, TrunkEditUnit::Lists, TrunkEditOp::Move, {0, 5}, {1, 0});
    ApplyTrunkEdit(image, TrunkEditUnit::Ids, TrunkEditOp::Move, {6, 0}, {1, 0});
    EXPECT_EQ(image, before) << "targets outside the table are ignored";
}

TEST(ListTags, DefaultLeftCenterStore) {
    EXPECT_EQ(DefaultListTag(0, 0), "Bank 1 List 1");
    EXPECT_EQ(DefaultListTag(4, 9), "Bank 5 List 10");
    ListTagFields fields = DefaultListTags(2);
    EXPECT_EQ(fields[9], "Bank 3 List 10");
    fields[0] = "  Police  ";
    CenterListTags(fields);  // the tag rules are the trunk ID tags' test
    Image image;
    StoreListTags(fields, image, 2);
    EXPECT_EQ(image.ScanListTag[2][0], "     Police");
    EXPECT_EQ(LoadListTags(image, 2), fields);
}

}  // namespace
}  // namespace vex
