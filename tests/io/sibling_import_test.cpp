#include "io/sibling_import.h"

#include <gtest/gtest.h>

#include "core/ten_bank_text.h"

namespace vex {
namespace {

std::string TenBank(const std::string& header, int idRows = 100) {
    return test::TenBankText(header, idRows);
}

class TenBankHeaders : public ::testing::TestWithParam<const char*> {};

TEST_P(TenBankHeaders, AreReadIntoTheSourceTable) {
    TenBankFile file;
    const MemReadResult read = ParseTenBankFile(TenBank(GetParam()), file);
    ASSERT_TRUE(read.ok) << read.message;
    EXPECT_EQ(file.channels[7][50], (Channel{"400", "500.0000", "B7S50", "1", "0", "1", "c"}));
    EXPECT_EQ(file.bankTags[9], "Name9");
    EXPECT_EQ(file.trunkIds[9][99], (TrunkIdRow{"9099", "9099", "9099", "9099"}));
    EXPECT_EQ(SiblingBankCaption(file, 2, true), "Bank 3: Name2");
    EXPECT_EQ(SiblingBankCaption(file, 2, false), "Bank 3");
}

INSTANTIATE_TEST_SUITE_P(Sibling, TenBankHeaders,
                         ::testing::Values("DURMAN MEM V1.00 - older", "DURMAN MEM V1.01",
                                           "PELIXO 780 MEM V1.05"));

TEST(TenBank, RefusalsAndDamage) {
    TenBankFile file;
    EXPECT_EQ(ParseTenBankFile("DURMAN MEM V1.02\r\n", file).message, "File is not compatible.");
    EXPECT_EQ(ParseTenBankFile("VEXA MEM V1.00\r\n", file).message, "File is not compatible.");
    const std::string good = TenBank("DURMAN MEM V1.00");
    for (std::size_t n = 40; n < good.size(); n += good.size() / 7) {
        const MemReadResult read = ParseTenBankFile(good.substr(0, n), file);
        EXPECT_FALSE(read.ok);
        EXPECT_TRUE(read.message.starts_with("Not a valid file! Line: ")) << read.message;
    }
    // A file that ends in its signature line leaves the table as it was.
    TenBankFile kept;
    kept.bankTags[0] = "kept";
    EXPECT_FALSE(ParseTenBankFile("DURMAN MEM V1.00", kept).imageChanged);
    EXPECT_EQ(kept.bankTags[0], "kept");
}

TEST(SiblingImport, ChannelsOfOneBankIntoAnother) {
    TenBankFile file;
    ASSERT_TRUE(ParseTenBankFile(TenBank("DURMAN MEM V1.00"), file).ok);
    Image image;
    ClearForFileNew(image);
    image.channel(kDummyBank, 3)[kFieldNumber] = "keep";
    const ImportPlan plan = PlanSiblingChannels(file, 7, kDummyBank);
    EXPECT_TRUE(plan.notes.empty());
    EXPECT_TRUE(ApplyImport(image, plan));
    EXPECT_EQ(image.channel(kDummyBank, 3),
              (Channel{"keep", "0453.0000", "B7S3", "1", "0", "1", "c"}));
    // Bank 10 lies out of band: its channels stay empty, each one said.
    const ImportPlan outOfBand = PlanSiblingChannels(file, 9, 0);
    EXPECT_EQ(outOfBand.notes.size(), 50u);
    EXPECT_EQ(outOfBand.channels[0].value[kFieldFrequency], "0000.0000");
    // All banks: 1 to 5 into 1 to 5.
    const ImportPlan all = PlanSiblingChannelsAll(file);
    EXPECT_EQ(all.channels.size(), 250u);
    EXPECT_EQ(all.channels.back().bank, 4);
    EXPECT_EQ(all.channels.back().value[kFieldFrequency], "0350.0000");
}

struct TrunkCase {
    const char* name;
    int idRows;
    std::size_t notes;
};

class SiblingTrunk : public ::testing::TestWithParam<TrunkCase> {};

TEST_P(SiblingTrunk, CopiesRowsOneToFiftyAndCountsTheRest) {
    TenBankFile file;
    ASSERT_TRUE(ParseTenBankFile(TenBank("DURMAN MEM V1.01", GetParam().idRows), file).ok);
    Image image;
    ClearForFileNew(image);
    const ImportPlan plan = PlanSiblingTrunkIds(file, 3, 1);
    ASSERT_EQ(plan.trunkIds.size(), 50u);
    ApplyImport(image, plan);
    EXPECT_EQ(image.TrunkId[1][0][0], "3000");
    EXPECT_EQ(image.TrunkId[1][49][0], GetParam().idRows >= 50 ? "3049" : "");
    EXPECT_EQ(image.TrunkId[1][50][0], "");
    EXPECT_EQ(plan.notes.size(), GetParam().notes);
    if (GetParam().idRows == 61) {
        EXPECT_EQ(plan.notes[0],
                  "Bank 4: 11 trunk ID rows past row 50 were not imported; the "
                  "scanner holds 50 per bank.");
    }
}

INSTANTIATE_TEST_SUITE_P(Sibling, SiblingTrunk,
                         ::testing::Values(TrunkCase{"Full", 100, 1}, TrunkCase{"SixtyOne", 61, 1},
                                           TrunkCase{"Fifty", 50, 0}, TrunkCase{"Ten", 10, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImportPlan, FilledDestinationsAndNames) {
    Image image;
    ClearForFileNew(image);
    image.channel(2, 5)[kFieldFrequency] = "0155.0000";
    image.TrunkId[3][4][1] = "TAG";
    ImportPlan plan;
    for (int b = 0; b < kScannerBanks; ++b) plan.channels.push_back({b, 1, {}, false});
    plan.trunkIds.push_back({3, 0, {}});
    EXPECT_EQ(FilledDestinations(image, plan), (std::vector<int>{2, 3}));
    EXPECT_EQ(DestinationName(kDummyBank), "Dummy");
    EXPECT_EQ(ParseDestination("d"), kDummyBank);
    EXPECT_EQ(ParseDestination("5"), 4);
    EXPECT_EQ(ParseDestination("6"), -1);
    EXPECT_EQ(CleanTag("A\"B\r\nC"), "A'BC");
}

}  // namespace
}  // namespace vex
