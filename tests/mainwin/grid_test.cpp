#include "mainwin/grid.h"

#include <gtest/gtest.h>

#include "mainwin/easytags.h"
#include "mainwin_helpers.h"

namespace vex {
namespace {

using testing::EmptyImage;
using testing::Put;

TEST(MainwinShowBank, ShowsFrequencyByZeroSettingFlagsAsWordsAndEmptyAsBlank) {
    Image image = EmptyImage();
    Put(image, 0, 1, "0162.5500", "POLICE", "1", "0", "X");
    Put(image, 0, 2, "512", "EDGE");           // bare band edge from older files
    Put(image, 0, 3, "0460.1250abc", "JUNK");  // junk after the number is not shown
    Put(image, 0, 4, "-5");                    // a channel is never shown as empty
    Put(image, 0, 5, "123456");
    Put(image, 0, 6, "0", "HIDDEN", "1", "1", "1");
    Put(image, 0, 7, "Empty", " ", " ", " ", " ");
    Options options;
    GridBank grid = ShowBank(image, 0, options);
    EXPECT_EQ(grid.cell(1, kGridFrequency), "0162.5500");
    EXPECT_EQ(grid.cell(1, kGridTag), "POLICE");
    EXPECT_EQ(grid.cell(1, kGridTrunk), "On");
    EXPECT_EQ(grid.cell(1, kGridDelay), "Off");
    EXPECT_EQ(grid.cell(1, kGridLockout), "");
    EXPECT_EQ(grid.cell(2, kGridFrequency), "0512.0000");
    EXPECT_EQ(grid.cell(3, kGridFrequency), "0460.1250");
    EXPECT_EQ(grid.cell(4, kGridFrequency), "0025.0000");
    EXPECT_EQ(grid.cell(5, kGridFrequency), "1300.0000");
    for (int field = 1; field <= kGridColumns; ++field) {
        EXPECT_EQ(grid.cell(6, field), "") << field;
        EXPECT_EQ(grid.cell(7, field), "") << field;
    }
}

TEST(MainwinGridTransfer, RefusesBanksOutsideTheImage) {
    Image image = EmptyImage();
    const Image before = image;
    GridBank grid;
    grid.cell(1, 1) = "untouched";
    for (int bank : {-1, 6, 10, 11}) {
        const GridResult shown = ShowBank(image, bank, Options{}, grid);
        EXPECT_FALSE(shown.ok) << bank;
        EXPECT_EQ(shown.message, "convert error");
        EXPECT_EQ(grid.cell(1, 1), "untouched");
        const GridResult stored = StoreGrid(grid, image, bank, Options{});
        EXPECT_FALSE(stored.ok);
        EXPECT_EQ(stored.message, "Create error, click tabs and try again.");
        EXPECT_EQ(image, before);
    }
    EXPECT_TRUE(ShowBank(image, kDummyBank, Options{}, grid).ok);
}

TEST(MainwinStoreGrid, ConvertsCellsIntoTableTexts) {
    Image image = EmptyImage();
    Put(image, 2, 1, "0100.0000", "", "0", "0", "0", "my comment");
    GridBank grid;
    grid.cell(1, kGridFrequency) = "162.55";
    grid.cell(1, kGridTag) = "FIRE";
    grid.cell(1, kGridTrunk) = "";  // blank trunk of a channel -> "0"
    grid.cell(1, kGridDelay) = "";  // blank delay stays blank until normalised
    grid.cell(1, kGridLockout) = "On";
    grid.cell(2, kGridFrequency) = "1400";
    grid.cell(2, kGridTrunk) = "On";
    grid.cell(2, kGridDelay) = "Off";
    grid.cell(3, kGridTag) = "ORPHAN";  // tag on an empty row is kept as text
    ASSERT_TRUE(StoreGrid(grid, image, 2, Options{}).ok);

    const Channel& first = image.channel(2, 1);
    EXPECT_EQ(first[kFieldFrequency], "0162.5500");
    EXPECT_EQ(first[kFieldTag], "FIRE");
    EXPECT_EQ(first[kFieldTrunk], "0");
    EXPECT_EQ(first[kFieldDelay], "");
    EXPECT_EQ(first[kFieldLockout], "1");
    EXPECT_EQ(first[kFieldComment], "my comment");  // not in the grid: kept
    EXPECT_EQ(image.channel(2, 2)[kFieldFrequency], "1300.0000");
    EXPECT_EQ(image.channel(2, 2)[kFieldTrunk], "1");
    EXPECT_EQ(image.channel(2, 2)[kFieldDelay], "0");
    EXPECT_EQ(image.channel(2, 3)[kFieldFrequency], "0000.0000");
    EXPECT_EQ(image.channel(2, 3)[kFieldTag], "ORPHAN");
}

TEST(MainwinFieldIds, FollowTheHeaderCaptions) {
    EXPECT_EQ(FieldIdForCaption("Lock Out"), 5);
    EXPECT_EQ(FieldIdForCaption("Channel"), 0);
}

TEST(MainwinEasyTagLists, DistinctTrimmedAndHeldAtTheLastEntryWhenFull) {
    EasyTagLists tags;
    tags.offer(0, "");
    tags.offer(0, " ");
    EXPECT_TRUE(tags.all().empty());
    tags.offer(0, "A");
    tags.offer(1, "  A");
    EXPECT_EQ(tags.all().size(), 1u);
    EXPECT_EQ(tags.bank(1).size(), 1u);

    for (int i = 0; i < 200; ++i) tags.offer(2, "T" + std::to_string(i));
    EXPECT_EQ(tags.bank(2).size(), EasyTagLists::kBankCapacity);
    EXPECT_EQ(tags.bank(2).back(), "T199");  // each new tag replaced the last entry
    EXPECT_EQ(tags.bank(2)[99], "T99");
    tags.offer(2, "T5");  // already listed
    EXPECT_EQ(tags.bank(2).back(), "T199");

    for (int i = 0; i < 1200; ++i) tags.offer(3, "U" + std::to_string(i));
    EXPECT_EQ(tags.all().size(), EasyTagLists::kAllCapacity);
    EXPECT_EQ(tags.all().back(), "U1199");

    tags.clear();
    EXPECT_TRUE(tags.all().empty());
    EXPECT_TRUE(tags.bank(2).empty());
    EXPECT_TRUE(tags.bank(99).empty());
}

}  // namespace
}  // namespace vex
