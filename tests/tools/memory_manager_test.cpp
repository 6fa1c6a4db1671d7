#include "tools/memory_manager.h"

#include <gtest/gtest.h>

#include "../mainwin/mainwin_helpers.h"

namespace vex {
namespace {

using testing::EmptyImage;
using testing::Put;

// Two banks with channels, trunk data and tags, the rest empty.
Image Sample() {
    Image image = EmptyImage();
    Put(image, 0, 1, "0155.0000", "ONE", "1", "0", "1", "first");
    Put(image, 0, 2, "0156.0000", "TWO");
    Put(image, 2, 1, "0460.0000", "THREE");
    image.BankTag = {"POLICE", "FIRE", "EMS", "", "", "Dummy"};
    image.TrunkType[1] = "4";
    image.TrunkSetting[1][0] = "5";
    image.TrunkBase[1][0][0] = "0851.0000";
    image.TrunkId[0][0] = {"000100", "DISPATCH", "", ""};
    image.TrunkId[2][60] = {"000300", "SPARE", "", ""};
    image.ScanListTag[0][0] = "LIST A";
    return image;
}

TEST(ToolsMemoryManager, ChannelPositionsOfAllBanks) {
    EXPECT_EQ(ChannelAtPosition(57, true, 0), (ChannelPlace{1, 8}));
    EXPECT_EQ(ChannelAtPosition(299, true, 0), (ChannelPlace{kDummyBank, 50}));
    EXPECT_EQ(ChannelAtPosition(4, false, 3), (ChannelPlace{3, 5}));
}

TEST(ToolsMemoryManager, ListEntries) {
    const Image image = Sample();
    const auto current = ChannelListEntries(image, false, 0);
    ASSERT_EQ(current.size(), 50u);
    EXPECT_EQ(current[0], "1 : 0155.0000 - ONE");
    EXPECT_EQ(current[2], "3 : Empty");
    const auto all = ChannelListEntries(image, true, 0);
    ASSERT_EQ(all.size(), 300u);
    EXPECT_EQ(all[100], "Bank 3 - 101 : 0460.0000 - THREE");
    EXPECT_EQ(all[299], "Dummy - 300 : Empty");
    EXPECT_EQ(
        BankListEntries(image),
        (std::vector<std::string>{"1: POLICE ", "2: FIRE  -  EMPTY", "3: EMS ", "4:   -  EMPTY",
                                  "5:   -  EMPTY", "Dummy: Dummy  -  EMPTY"}));
}

struct ChannelCase {
    const char* name;
    TransferOp op;
    ChannelPlace from, to;
    std::string fromTag, toTag;  // afterwards
    bool changed;
};

class ToolsChannelTransfer : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(ToolsChannelTransfer, FieldsOneToSix) {
    const ChannelCase& c = GetParam();
    Image image = Sample();
    const std::string fromNumber = image.channel(c.from.bank, c.from.slot)[kFieldNumber];
    EXPECT_EQ(TransferChannel(image, c.op, c.from, c.to), c.changed);
    EXPECT_EQ(image.channel(c.from.bank, c.from.slot)[kFieldTag], c.fromTag);
    EXPECT_EQ(image.channel(c.to.bank, c.to.slot)[kFieldTag], c.toTag);
    EXPECT_EQ(image.channel(c.from.bank, c.from.slot)[kFieldNumber], fromNumber);
    if (c.changed && c.op == TransferOp::Move) {  // flags and comment go with the channel
        EXPECT_TRUE(IsEmptyChannel(image, c.from.bank, c.from.slot));
        EXPECT_EQ(image.channel(c.to.bank, c.to.slot)[kFieldComment], "first");
        EXPECT_EQ(image.channel(c.to.bank, c.to.slot)[kFieldTrunk], "1");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ToolsChannelTransfer,
    ::testing::Values(
        ChannelCase{"CopyToDummy", TransferOp::Copy, {0, 1}, {kDummyBank, 9}, "ONE", "ONE", true},
        ChannelCase{"MoveEmptiesSource", TransferOp::Move, {0, 1}, {4, 50}, "", "ONE", true},
        ChannelCase{"SwapAcrossBanks", TransferOp::Swap, {0, 2}, {2, 1}, "THREE", "TWO", true},
        ChannelCase{"MoveOntoItselfKeepsIt", TransferOp::Move, {0, 1}, {0, 1}, "ONE", "ONE", false},
        ChannelCase{"SwapWithItself", TransferOp::Swap, {0, 2}, {0, 2}, "TWO", "TWO", false},
        ChannelCase{"CopyEmptyOverChannel", TransferOp::Copy, {0, 3}, {0, 1}, "", "", true},
        ChannelCase{"MoveEmptyOntoEmpty", TransferOp::Move, {0, 3}, {0, 4}, "", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolsMemoryManager, SwapTrunkIdsOnlyLeavesChannels) {
    Image image = Sample();
    ASSERT_TRUE(TransferBank(image, TransferOp::Swap, 0, 2, {false, true, false, true}).changed);
    EXPECT_EQ(image.TrunkId[2][0][1], "DISPATCH");
    EXPECT_EQ(image.TrunkId[0][60][1], "SPARE");
    EXPECT_EQ(image.ScanListTag[2][0], "LIST A");
    EXPECT_EQ(image.ScanListTag[0][0], "");
    EXPECT_EQ(image.channel(0, 1)[kFieldTag], "ONE");
    EXPECT_EQ(image.BankTag[0], "POLICE");  // the tag goes with the frequencies only
}

TEST(ToolsMemoryManager, BanksOntoThemselvesStay) {
    for (TransferOp op : {TransferOp::Copy, TransferOp::Move, TransferOp::Swap}) {
        Image image = Sample();
        EXPECT_FALSE(TransferBank(image, op, 0, 0, {true, true, true, true}).changed);
        EXPECT_EQ(image, Sample());
    }
}

TEST(ToolsMemoryManager, MoveFrequenciesWithTagToDummy) {
    Image image = Sample();
    const BankParts parts{true, true, true, true};
    const BankTransferResult result = TransferBank(image, TransferOp::Move, 0, kDummyBank, parts);
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(result.settingsLeftOut);
    EXPECT_EQ(image.channel(kDummyBank, 1)[kFieldTag], "ONE");
    EXPECT_EQ(image.channel(kDummyBank, 1)[kFieldNumber], "251");
    EXPECT_TRUE(IsEmptyChannel(image, 0, 1));
    EXPECT_EQ(image.BankTag[kDummyBank], "POLICE");
    EXPECT_EQ(image.BankTag[0], "");
    EXPECT_EQ(image.TrunkId[kDummyBank][0][1], "DISPATCH");
    EXPECT_EQ(BankStepName(TransferOp::Move, 0, kDummyBank, parts), "Move bank 1 to Dummy bank");
    // Back again: nothing lost on the way.
    TransferBank(image, TransferOp::Move, kDummyBank, 0, parts);
    EXPECT_EQ(image.BankTag[kDummyBank], "");  // its own tag was moved over
    image.BankTag[kDummyBank] = "Dummy";
    EXPECT_EQ(image, Sample());
}

TEST(ToolsMemoryManager, StepNames) {
    EXPECT_EQ(ChannelStepName(TransferOp::Copy, {0, 3}, {1, 7}), "Copy channel 3 to channel 57");
    EXPECT_EQ(ChannelStepName(TransferOp::Swap, {0, 3}, {kDummyBank, 1}),
              "Swap channels 3 and 251");
}

}  // namespace
}  // namespace vex
