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
    auto all = TrunkEditEntries(image, 1, TrunkEditScope::AllBanks, TrunkEditUnit::Ids);
    ASSERT_EQ(all.size(), 300u);
    EXPECT_EQ(all[0], "Bank 1: 1-1 : id0/0 - tag0/0");
    EXPECT_EQ(all[299], "Dummy: 5-10 : id5/49 - tag5/49");
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

}  // namespace
}  // namespace vex
