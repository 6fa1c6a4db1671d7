#include "core/image_diff.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/image.h"

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
        DiffCase{"Same", [](Image&) {}, {}},
        DiffCase{
            "EveryChannelFieldAsWritten",
            [](Image& i) {
                i.channel(1, 17) = {"99", "154.385", "FIRE TAC 2 ", "1", "0", "On", ""};
            },
            {R"(bank 2 channel 17 frequency: "0154.3850" -> "154.385")",
             R"(bank 2 channel 17 tag: "FIRE TAC 2" -> "FIRE TAC 2 ")",
             R"(bank 2 channel 17 trunk: "0" -> "1")", R"(bank 2 channel 17 delay: "1" -> "0")",
             R"(bank 2 channel 17 lockout: "0" -> "On")",
             R"(bank 2 channel 17 comment: "note" -> "")"}},
        DiffCase{
            "BankNames",
            [](Image& i) {
                i.BankTag[4] = "Airport";
                i.BankTag[kDummyBank] = "Spare";
            },
            {R"(bank 5 name: "Bank: 5" -> "Airport")", R"(Dummy bank name: "Dummy" -> "Spare")"}},
        DiffCase{"TrunkIdAndTag",
                 [](Image& i) {
                     i.TrunkId[0][0] = {"000713", "DISPATCH 2", "x", ""};
                 },
                 {R"(bank 1 trunk ID 1-1 ID: "000712" -> "000713")",
                  R"(bank 1 trunk ID 1-1 tag: "DISPATCH" -> "DISPATCH 2")",
                  R"(bank 1 trunk ID 1-1 field 3: "" -> "x")"}},
        DiffCase{"BankSettings",
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
        DiffCase{"ChannelNumberAndDummyChannelsAreNotInTheFile",
                 [](Image& i) {
                     i.channel(1, 17)[kFieldNumber] = "";
                     i.channel(kDummyBank, 1)[kFieldFrequency] = "0162.5500";
                 },
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vex
