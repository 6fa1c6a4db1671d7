#include "core/image.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

TEST(ImageClear, ThreeClearedForms) {
    Image image;
    ClearForStartup(image);
    for (int b = 0; b < kBankCount; ++b) {
        for (int s = 0; s <= ChannelsPerBank; ++s) {
            EXPECT_EQ(image.channel(b, s),
                      (Channel{"", "0000.0000", "         ", "0", "0", "0", "0"}));
        }
    }
    ClearForFileRead(image);
    EXPECT_EQ(image.channel(5, 50), (Channel{"", "0", "", "", "", "", ""}));
    ClearForFileNew(image);
    EXPECT_EQ(image.channel(0, 0), (Channel{"", "0", " ", " ", " ", " ", " "}));
    EXPECT_EQ(image.channel(4, 50), (Channel{"", "0", " ", " ", " ", " ", " "}));
}

TEST(ImageClear, FileNewEmptiesTrunkTablesButKeepsTypesAndTags) {
    Image image;
    image.TrunkType[2] = "5";
    image.TrunkSetting[1][7] = "3";
    image.TrunkBase[4][2][7] = "x";
    image.ScanListTag[9][9] = "t";
    image.SearchEdgeTable[0][0] = "25";
    image.BankTag[0] = "Mine";
    image.ActiveBank = {1, 1, 1, 1, 1};
    image.PriorityChannel = {7, 7, 7, 7, 7};
    ClearForFileNew(image);
    EXPECT_EQ(image.TrunkType[2], "5");
    EXPECT_EQ(image.TrunkSetting[1][7], "");
    EXPECT_EQ(image.TrunkBase[4][2][7], "");
    EXPECT_EQ(image.ScanListTag[9][9], "");
    EXPECT_EQ(image.SearchEdgeTable[0][0], "");
    EXPECT_EQ(image.BankTag[0], "Mine");
    EXPECT_EQ(image.ActiveBank, (std::array<std::int16_t, 5>{0, 0, 0, 0, 0}));
    EXPECT_EQ(image.PriorityChannel, (std::array<std::int16_t, 5>{1, 51, 101, 151, 201}));
}

TEST(ImageBankTags, NewFileTagsAndMenuCaption) {
    Image image;
    SetNewFileBankTags(image);
    EXPECT_EQ(image.BankTag[4], "Bank 5");
    image.BankTag[2] = "   Police";
    EXPECT_EQ(BankMenuCaption(image, 2), "Police");
    EXPECT_EQ(BankMenuCaption(image, 9), "");
}

TEST(ImageEmptyChannel, DependsOnlyOnTheFrequencysValue) {
    Image image;
    ClearForStartup(image);
    EXPECT_TRUE(IsEmptyChannel(image, 0, 1));
    image.channel(0, 1) = {"", "0.000", "TAG", "1", "1", "1", "c"};
    EXPECT_TRUE(IsEmptyChannel(image, 0, 1));
    image.channel(0, 1)[kFieldFrequency] = "  0162.5500";
    EXPECT_FALSE(IsEmptyChannel(image, 0, 1));
    image.channel(0, 1)[kFieldFrequency] = "abc";
    EXPECT_TRUE(IsEmptyChannel(image, 0, 1));
}

}  // namespace
}  // namespace vex
