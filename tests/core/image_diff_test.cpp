#include "core/image_diff.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/memfile.h"

namespace vex {
namespace {

Image Sample() {
    Image image;
    ClearForFileRead(image);
    SetStartupBankTags(image);
    image.channel(1, 17) = {"67", "0154.3850", "FIRE TAC 2", "0", "1", "0", "note"};
    image.TrunkId[0][0] = {"000712", "DISPATCH", "", ""};
    for (int b = 0; b < kScannerBanks; ++b) image.TrunkType[b] = "1";  // as the reader leaves it
    image.TrunkType[2] = "5";
    return image;
}

struct DiffCase {
    const char* name;
    std::function<void(Image&)> change;
    std::vector<std::string> lines;
};

class DiffImagesTest : public ::testing::TestWithParam<DiffCase> {};

TEST_P(DiffImagesTest, NamesEachValueWithBothSides) {
    const Image first = Sample();
    Image second = first;
    GetParam().change(second);
    std::vector<std::string> lines;
    for (const ImageDifference& d : DiffImages(first, second)) lines.push_back(DifferenceLine(d));
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DiffImagesTest,
    ::testing::Values(
        DiffCase{"same", [](Image&) {}, {}},
        DiffCase{
            "every channel field, as written",
            [](Image& i) {
                i.channel(1, 17) = {"99", "154.385", "FIRE TAC 2 ", "1", "0", "On", ""};
            },
            {R"(bank 2 channel 17 frequency: "0154.3850" -> "154.385")",
             R"(bank 2 channel 17 tag: "FIRE TAC 2" -> "FIRE TAC 2 ")",
             R"(bank 2 channel 17 trunk: "0" -> "1")", R"(bank 2 channel 17 delay: "1" -> "0")",
             R"(bank 2 channel 17 lockout: "0" -> "On")",
             R"(bank 2 channel 17 comment: "note" -> "")"}},
        DiffCase{
            "bank names",
            [](Image& i) {
                i.BankTag[4] = "Airport";
                i.BankTag[kDummyBank] = "Spare";
            },
            {R"(bank 5 name: "Bank: 5" -> "Airport")", R"(Dummy bank name: "Dummy" -> "Spare")"}},
        DiffCase{"trunk ID and tag",
                 [](Image& i) {
                     i.TrunkId[0][0] = {"000713", "DISPATCH 2", "x", ""};
                 },
                 {R"(bank 1 trunk ID 1-1 ID: "000712" -> "000713")",
                  R"(bank 1 trunk ID 1-1 tag: "DISPATCH" -> "DISPATCH 2")",
                  R"(bank 1 trunk ID 1-1 field 3: "" -> "x")"}},
        DiffCase{"bank settings",
                 [](Image& i) {
                     i.TrunkSetting[1][0] = "2";
                     i.TrunkSetting[1][7] = "17";
                     i.TrunkType[2] = "4";
                     i.TrunkBase[2][1][0] = "0150.0000";
                     i.ActiveBank[0] = 1;
                     i.PriorityChannel[3] = 177;
                 },
                 {R"(bank 2 trunk control channel: "" -> "2")",
                  R"(bank 2 trunk fleet map: "" -> "17")", R"(bank 3 trunk type: "5" -> "4")",
                  R"(bank 3 base configuration 2 value 1: "" -> "0150.0000")",
                  R"(bank 1 active: "0" -> "1")", R"(bank 4 priority channel: "0" -> "177")"}},
        DiffCase{"channel number and Dummy channels are not in the file",
                 [](Image& i) {
                     i.channel(1, 17)[kFieldNumber] = "";
                     i.channel(kDummyBank, 1)[kFieldFrequency] = "0162.5500";
                 },
                 {}}),
    [](const ::testing::TestParamInfo<DiffCase>& info) {
        std::string name;
        for (const char c : std::string(info.param.name)) name += std::isalnum(c) ? c : '_';
        return name;
    });

// The order of the lines is the command line's end-to-end test.
TEST(DiffImagesReadBack, ReadBackFileHasNoDifferences) {
    const Image image = Sample();
    ImageOptions options;
    Image reread;
    ClearForStartup(reread);
    ASSERT_TRUE(ParseMemFile(reread, SerializeMemFile(image, options), options).ok);
    std::vector<std::string> lines;
    for (const ImageDifference& d : DiffImages(image, reread)) lines.push_back(DifferenceLine(d));
    EXPECT_EQ(lines, std::vector<std::string>{});
}

}  // namespace
}  // namespace vex
