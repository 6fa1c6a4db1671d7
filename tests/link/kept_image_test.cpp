#include "link/kept_image.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/temp_folder.h"
#include "link/protocol.h"
#include "session_fixture.h"

namespace vex {
namespace {

class KeptImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearForStartup(image);
        SetStartupBankTags(image);
        for (int b = 0; b < kScannerBanks; ++b) image.TrunkType[static_cast<std::size_t>(b)] = "0";
        image.channel(0, 1) = {"1", "0154.3850", "ENGINE 7", "0", "1", "0", ""};
        image.TrunkId[2][0] = {"000712", "", "", ""};
    }
    static SendRequest All() { return test::SendAll({true, true, true}); }

    test::TempFolder temp;
    std::filesystem::path folder = temp.path();
    Image image;
    Options options;
};

struct NameCase {
    const char* identification;
    const char* stem;  // the name before the checksum
};

class KeptImageNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(KeptImageNameTest, StaysInsideTheFolderAndReadable) {
    const std::string name = KeptImageFileName(GetParam().identification);
    EXPECT_EQ(name.rfind(std::string("scanner-") + GetParam().stem + "-", 0), 0u) << name;
    EXPECT_EQ(name.size(), std::string("scanner-").size() + std::string(GetParam().stem).size() +
                               std::string("-12345678.mem").size());
    EXPECT_EQ(name.find_first_of("/\\ .:\"*?\r\n"), name.find(".mem"));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, KeptImageNameTest,
    ::testing::Values(NameCase{"BCT8 V1.02", "BCT8-V1-02"}, NameCase{"", "unnamed"},
                      NameCase{"../../etc/passwd", "etc-passwd"}, NameCase{"  \t\r\n", "unnamed"},
                      NameCase{"A\xe9\xff:B", "A-B"},
                      NameCase{"XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX",
                               "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"}));

TEST_F(KeptImageTest, KeptImageReadsBackPerScannerAndADamagedOneIsNotTrusted) {
    ASSERT_TRUE(KeepImage(folder, "BCT8 V1.02", image));
    const KeptImage kept = LoadKeptImage(folder, "BCT8 V1.02");
    ASSERT_TRUE(kept.image.has_value()) << kept.problem;
    EXPECT_TRUE(PlanChanges(*kept.image, image).empty());
    const KeptImage other = LoadKeptImage(folder, "BCT8 V2.00");
    EXPECT_FALSE(other.image.has_value());
    EXPECT_TRUE(other.problem.empty());
    EXPECT_NE(KeptImageFileName("BCT8 V1.02"), KeptImageFileName("BCT8 V1-02"));
    EXPECT_NE(KeptImageFileName("BCT8 V1.02"), KeptImageFileName("BCT8 V1.02 "));

    ASSERT_TRUE(WriteFileAtomically(KeptImagePath(folder, "X"), "not an image\r\n"));
    const KeptImage damaged = LoadKeptImage(folder, "X");
    EXPECT_FALSE(damaged.image.has_value());
    EXPECT_FALSE(damaged.problem.empty());
}

TEST_F(KeptImageTest, PartialSendReplacesOnlyWhatItCovered) {
    Image sent = image;
    sent.channel(0, 1)[kFieldFrequency] = "0155.0000";
    sent.channel(0, 2)[kFieldFrequency] = "0155.5000";
    sent.channel(1, 1)[kFieldFrequency] = "0156.0000";
    SendRequest bank = All();
    bank.area = TransferArea::SingleBank;
    bank.bank = 1;
    // Without a kept image only a whole send tells what the scanner holds.
    EXPECT_FALSE(HeldAfterSend(std::nullopt, sent, bank, options).has_value());
    SendRequest channelsOnly = All();
    channelsOnly.items.trunkIds = false;
    EXPECT_FALSE(HeldAfterSend(std::nullopt, sent, channelsOnly, options).has_value());
    EXPECT_TRUE(HeldAfterSend(std::nullopt, sent, All(), options).has_value());

    const auto held = HeldAfterSend(image, sent, bank, options);
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(held->channel(0, 1)[kFieldFrequency], "0154.3850");
    EXPECT_EQ(held->channel(1, 1)[kFieldFrequency], "0156.0000");

    SendRequest planned = All();
    planned.plan.emplace();
    planned.plan->channels[2] = true;
    const auto heldPlanned = HeldAfterSend(image, sent, planned, options);
    EXPECT_EQ(heldPlanned->channel(0, 2)[kFieldFrequency], "0155.5000");
    EXPECT_EQ(heldPlanned->channel(0, 1)[kFieldFrequency], "0154.3850");

    // Without "delid" an empty trunk ID row leaves the scanner's ID.
    sent.TrunkId[2][0][0] = "";
    options.delid = 0;
    EXPECT_EQ(HeldAfterSend(image, sent, All(), options)->TrunkId[2][0][0], "000712");
    options.delid = 1;
    EXPECT_EQ(HeldAfterSend(image, sent, All(), options)->TrunkId[2][0][0], "");
}

TEST_F(KeptImageTest, ReadTakesItsCoverage) {
    TransferResult read;
    read.outcome = TransferOutcome::Completed;
    read.image = image;
    read.image.channel(0, 1)[kFieldFrequency] = "0160.0000";
    read.image.channel(0, 2)[kFieldFrequency] = "0161.0000";
    read.read.channels[1] = true;
    EXPECT_FALSE(HeldAfterRead(std::nullopt, read).has_value());
    const auto held = HeldAfterRead(image, read);
    EXPECT_EQ(held->channel(0, 1)[kFieldFrequency], "0160.0000");
    EXPECT_EQ(held->channel(0, 2)[kFieldFrequency], image.channel(0, 2)[kFieldFrequency]);
    // A whole read; banks without a trunk system have no IDs to read.
    read.read.channels.set();
    read.read.trunkTypes = true;
    read.read.trunkSettings.fill(true);
    EXPECT_EQ(HeldAfterRead(std::nullopt, read)->channel(0, 2)[kFieldFrequency], "0161.0000");
    read.image.TrunkType[2] = "1";
    EXPECT_FALSE(HeldAfterRead(std::nullopt, read).has_value());
}

TEST_F(KeptImageTest, SendThatEndedHalfWayForgetsTheKeptImage) {
    ASSERT_TRUE(KeepImage(folder, "S", image));
    EXPECT_EQ(RecordSend(folder, "S", image, All(), options, TransferOutcome::Refused), "");
    EXPECT_TRUE(std::filesystem::exists(KeptImagePath(folder, "S")));
    EXPECT_EQ(RecordSend(folder, "S", image, All(), options, TransferOutcome::Stopped), "");
    EXPECT_FALSE(std::filesystem::exists(KeptImagePath(folder, "S")));
    EXPECT_EQ(RecordSend(folder, "S", image, All(), options, TransferOutcome::Completed), "");
    EXPECT_TRUE(LoadKeptImage(folder, "S").image.has_value());
}

}  // namespace
}  // namespace vex
