#include "trunk/trunk_settings.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

using Row = std::array<std::string, 3>;

struct BaseRowCase {
    int type;
    Row input;
    Row expected;
};

class BaseRows : public testing::TestWithParam<BaseRowCase> {};
TEST_P(BaseRows, Corrected) {
    Row row = GetParam().input;
    CorrectBaseRow(GetParam().type, row);
    EXPECT_EQ(row, GetParam().expected)
        << "type " << GetParam().type << " " << testing::PrintToString(GetParam().input);
}
INSTANTIATE_TEST_SUITE_P(
    Trunk, BaseRows,
    testing::Values(BaseRowCase{5, {"120", "", ""}, {"0136.0000", "012.50", "380"}},
                    BaseRowCase{5, {"180", "25", "500"}, {"0174.0000", "025.00", "500"}},
                    BaseRowCase{5, {"151.0125", "6.25", "400"}, {"0151.0125", "006.25", "400"}},
                    BaseRowCase{4, {"300", "12.5", "100"}, {"0406.0000", "012.50", "380"}},
                    BaseRowCase{4, {"", "12.5", "400"}, {"", "", ""}},
                    BaseRowCase{4, {"0", "12.5", "400"}, {"", "", ""}},
                    BaseRowCase{4, {"-5", "12.5", "400"}, {"", "", ""}},
                    BaseRowCase{4, {"450.123456", "-3", "0400"}, {"0450.1234", "012.50", "400"}},
                    // Text after the number used to make the formatting loop forever.
                    BaseRowCase{5, {"150xx.5", "12.5xx.1", "400"}, {"0150.0000", "012.50", "400"}},
                    BaseRowCase{5, {"150", "0.001", "400"}, {"0150.0000", "012.50", "400"}}));

// The row cases above show the usual forms; these are the limits.
TEST(TrunkBaseNumber, RoundsDownAndCapsAtAllNines) {
    EXPECT_EQ(FormatBaseNumber("12.555", 3, 6), "012.55");
    EXPECT_EQ(FormatBaseNumber("", 3, 6), "000.00");
    EXPECT_EQ(FormatBaseNumber("12345.6", 4, 9), "9999.9999");
}

struct BlockCase {
    std::array<std::string, 8> input;
    std::array<std::string, 8> expected;
};
class FleetBlocks : public testing::TestWithParam<BlockCase> {};
TEST_P(FleetBlocks, Normalised) {
    auto blocks = GetParam().input;
    NormaliseFleetBlocks(blocks);
    EXPECT_EQ(blocks, GetParam().expected) << testing::PrintToString(GetParam().input);
}
INSTANTIATE_TEST_SUITE_P(
    Trunk, FleetBlocks,
    testing::Values(BlockCase{{"13", "4", "4", "4", "12", "4", "4", "4"},
                              {"13", "13", "13", "13", "12", "12", "4", "4"}},
                    BlockCase{{"14", "1", "2", "3", "4", "5", "6", "7"},
                              {"14", "14", "14", "14", "14", "14", "14", "14"}},
                    BlockCase{{"1", "20", "2", "3", "4", "5", "6", "7"},
                              {"1", "14", "2", "3", "4", "5", "6", "7"}},
                    BlockCase{{"20", "1", "", "", "", "", "", ""},
                              {"14", "14", "14", "14", "14", "14", "14", "14"}},
                    BlockCase{{"4", "12", "4", "4", "4", "13", "12", "1"},
                              {"4", "12", "4", "4", "4", "13", "12", "12"}},
                    BlockCase{{"1", "2", "", "3", "13", "0", "0", "0"},
                              {"1", "2", "", "3", "13", "13", "13", "13"}},
                    BlockCase{{"007", "-3", "x", "", "", "", "", ""},
                              {"7", "0", "0", "", "", "", "", ""}}));

class TrunkConfigLogic : public testing::Test {
  protected:
    Image image;
    TrunkConfigForm form;
};

TEST_F(TrunkConfigLogic, PresetFillsBlocksAndStoresItsPositionUnknownMapIsKept) {
    image.TrunkType[0] = "2";
    ShowTrunkBank(image, 0, form);
    SelectFleetMap(6, form);
    EXPECT_EQ(form.blocks,
              (std::array<std::string, 8>{"3", "10", "4", "4", "12", "12", "12", "12"}));
    StoreTrunkBank(form, image, 0);
    EXPECT_EQ(image.TrunkSetting[0][kTsFleetMap], "6");
    EXPECT_EQ(image.TrunkBase[0][0][1], "10");
    // Shown again, a preset overrides whatever the blocks held.
    image.TrunkBase[0][0][1] = "9";
    ShowTrunkBank(image, 0, form);
    EXPECT_EQ(form.blocks[1], "10");
    // A map number outside the list shows as none and is kept.
    image.TrunkSetting[0][kTsFleetMap] = "17";
    ShowTrunkBank(image, 0, form);
    EXPECT_EQ(form.fleetMap, kFleetMapNone);
    StoreTrunkBank(form, image, 0);
    EXPECT_EQ(image.TrunkSetting[0][kTsFleetMap], "17");
}

TEST_F(TrunkConfigLogic, UnknownListValuesShowNoSelectionAndStoreMinusOne) {
    image.TrunkType[0] = "10";
    image.TrunkSetting[0][kTsControlChannel] = "9";
    image.TrunkSetting[0][kTsEndCode] = "x";
    ShowTrunkBank(image, 0, form);
    EXPECT_EQ(form.controlChannel, -1);
    EXPECT_EQ(form.endCode800, -1);
    EXPECT_EQ(form.fleetMap, -1);
    StoreTrunkBank(form, image, 0);
    EXPECT_EQ(image.TrunkSetting[0][kTsControlChannel], "-1");
    EXPECT_EQ(image.TrunkSetting[0][kTsEndCode], "-1");
}

TEST_F(TrunkConfigLogic, AllButtonsFollowTheirTypeRules) {
    const char* types[] = {"6", "7", "9", "1", "11"};
    for (int b = 0; b < 5; ++b) image.TrunkType[b] = types[b];
    // The window's test covers the other types and buttons.
    ApplyIdFormatToAll(image, 1);
    EXPECT_EQ(image.TrunkSetting[0][kTsStatusOrIdFormat], "1");
    EXPECT_EQ(image.TrunkSetting[3][kTsStatusOrIdFormat], "");
    ApplyControlChannelToAll(image, 4);
    EXPECT_EQ(image.TrunkSetting[4][kTsControlChannel], "4");
    ApplyEndCodeToAll(image, 0);
    for (int b = 0; b < 5; ++b) EXPECT_EQ(image.TrunkSetting[b][kTsEndCode], "0");
}

}  // namespace
}  // namespace vex
