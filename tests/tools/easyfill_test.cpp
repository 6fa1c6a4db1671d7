#include "tools/easyfill.h"

#include <gtest/gtest.h>

#include "../mainwin/mainwin_helpers.h"

namespace vex {
namespace {

using testing::EmptyImage;
using testing::Frequencies;
using testing::Put;
using Strings = std::vector<std::string>;

struct RangeCase {
    const char* name;
    std::string start, end;
    EasyFillRange range;
};

class ToolsEasyFillRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ToolsEasyFillRange, Normalised) {
    EXPECT_EQ(EasyFillRangeOf(GetParam().start, GetParam().end), GetParam().range);
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolsEasyFillRange,
                         ::testing::Values(RangeCase{"Swapped", "60", "20", {20, 60}},
                                           RangeCase{"EndAbove300", "20", "400", {20, 300}},
                                           RangeCase{"StartBelowOne", "-5", "3", {1, 3}},
                                           RangeCase{"Empty", "", "", {1, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FrequencyCase {
    const char* name;
    std::string start, step;
    int k;
    std::string frequency;
};

class ToolsEasyFillFrequency : public ::testing::TestWithParam<FrequencyCase> {};

TEST_P(ToolsEasyFillFrequency, KthChannel) {
    const FrequencyCase& c = GetParam();
    EXPECT_EQ(EasyFillFrequency(c.start, c.step, c.k), c.frequency);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ToolsEasyFillFrequency,
    ::testing::Values(FrequencyCase{"Start", "88.00", "100", 0, "0088.0000"},
                      FrequencyCase{"Third", "88.00", "100", 3, "0088.3000"},
                      FrequencyCase{"TwelveAndAHalf", "460.0125", "12.5", 2, "0460.0375"},
                      // 8.33 kHz counts as 8 1/3: the twelfth step lands exactly on 100 kHz.
                      FrequencyCase{"AirbandThirds", "118.000", "8.33", 12, "0118.1000"},
                      FrequencyCase{"AirbandRounded", "118.000", "8.33", 1, "0118.0083"},
                      FrequencyCase{"StepBelowFive", "150", "1", 1, "0150.0050"},
                      FrequencyCase{"StepAboveLimit", "25", "99999", 1, "0035.0000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolsEasyFill, SeriesTagsKeepTheirNumberWhole) {
    EXPECT_EQ(EasyFillSeriesTag("CAR9", 0), "CAR9");
    EXPECT_EQ(EasyFillSeriesTag("CAR9", 2), "CAR11");
    EXPECT_EQ(EasyFillSeriesTag("UNIT 007", 3), "UNIT 010");
    EXPECT_EQ(EasyFillSeriesTag("PD", 0), "PD1");
    EXPECT_EQ(EasyFillSeriesTag("PD", 4), "PD5");
    EXPECT_EQ(EasyFillSeriesTag("ABCDEFGHIJKLMNO9", 1), "ABCDEFGHIJKLMN10");
    EXPECT_EQ(EasyFillSeriesTag("SAY \"HI\" 1", 1), "SAY  HI  2");
}

TEST(ToolsEasyFill, FillsTheRangeAcrossBanksIntoTheDummyBank) {
    Image image = EmptyImage();
    Put(image, 1, 1, "0999.0000", "OLD", "1", "1", "1", "kept comment");
    EasyFillChoices c;
    c.start = "300";
    c.end = "49";
    c.frequency = true;
    c.startMHz = "155";
    c.stepKHz = "5";
    c.tag = true;
    c.tagText = "FILL";
    c.delay = false;  // ticked, OFF
    const EasyFillResult result = EasyFill(image, c);
    EXPECT_EQ(result.range, (EasyFillRange{49, 300}));
    EXPECT_TRUE(result.changed);
    EXPECT_EQ(result.clamped, 0);
    EXPECT_EQ(image.channel(0, 49)[kFieldFrequency], "0155.0000");
    EXPECT_EQ(image.channel(1, 1)[kFieldFrequency], "0155.0100");
    EXPECT_EQ(image.channel(1, 1)[kFieldTag], "FILL");
    EXPECT_EQ(image.channel(1, 1)[kFieldTrunk], "1");  // not ticked: kept
    EXPECT_EQ(image.channel(1, 1)[kFieldDelay], "0");
    EXPECT_EQ(image.channel(1, 1)[kFieldComment], "kept comment");
    EXPECT_EQ(image.channel(kDummyBank, 50)[kFieldTag], "FILL");
    EXPECT_TRUE(IsEmptyChannel(image, 0, 48));
    EXPECT_EQ(EasyFillStepName(result.range), "Easy Fill channels 49 to 300");
}

TEST(ToolsEasyFill, FrequenciesOutsideTheBandsAreClampedAndCounted) {
    Image image = EmptyImage();
    EasyFillChoices c;
    c.start = "1";
    c.end = "4";
    c.frequency = true;
    c.startMHz = "511.990";
    c.stepKHz = "500";
    c.lockout = true;
    const EasyFillResult result = EasyFill(image, c);
    // Bands are judged on whole megahertz: 512.99 is in, 513.49 is not.
    EXPECT_EQ(result.clamped, 1);
    EXPECT_EQ(Frequencies(image, 0, 4),
              (Strings{"0511.9900", "0512.4900", "0512.9900", "0512.0000"}));
    EXPECT_EQ(image.channel(0, 4)[kFieldLockout], "1");
}

}  // namespace
}  // namespace vex
