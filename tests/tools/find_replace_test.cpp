#include "tools/find_replace.h"

#include <gtest/gtest.h>

#include "../mainwin/mainwin_helpers.h"

namespace vex {
namespace {

using testing::EmptyImage;
using testing::Put;

Image Sample() {
    Image image = EmptyImage();
    Put(image, 0, 4, "0460.0000", "PD Dispatch North");
    Put(image, 2, 7, "0155.2250", "Fire pd");
    Put(image, 2, 9, "0155.4000", "EMS");
    Put(image, 4, 50, "0851.0125", "PD PD");
    Put(image, kDummyBank, 1, "0155.0000", "PD DUMMY");
    image.channel(1, 1)[kFieldTag] = "PD HIDDEN";  // an empty channel's tag
    return image;
}

struct FindCase {
    const char* name;
    FindScope scope;
    int currentBank;
    FindField field;
    std::string text;
    bool matchCase;
    std::vector<int> hits;  // absolute channels of successive presses; 0 = nothing found
};

class ToolsFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(ToolsFind, SuccessivePresses) {
    const FindCase& c = GetParam();
    const Image image = Sample();
    int position = 0;
    std::vector<int> hits;
    for (std::size_t i = 0; i < c.hits.size(); ++i) {
        const auto hit =
            FindNext(image, c.currentBank, c.scope, c.field, c.text, c.matchCase, position);
        hits.push_back(hit ? hit->channel : 0);
    }
    EXPECT_EQ(hits, c.hits);
}

using enum FindScope;
using enum FindField;

// Hits are absolute channels of successive presses; 155 is first found at 107 (bank 3 slot 7),
// the next press goes on from there and wraps round.
INSTANTIATE_TEST_SUITE_P(
    Tools, ToolsFind,
    ::testing::Values(
        FindCase{"FrequencyWrapsRound", AllBanks, 0, Frequency, "155", false, {107, 109, 0, 107}},
        FindCase{
            "TagIgnoresCaseSkipsEmptyAndDummy", AllBanks, 0, Tag, "pd", false, {4, 107, 250, 0}},
        FindCase{"TagMatchingCase", AllBanks, 0, Tag, "pd", true, {107, 0}},
        FindCase{"DummyBankAsCurrent", CurrentBank, kDummyBank, Tag, "DUMMY", false, {251, 0, 251}},
        FindCase{"NoMatch", CurrentBank, 0, Tag, "zzz", false, {0, 0}},
        FindCase{"EmptyTextFindsNothing", AllBanks, 0, Tag, "", false, {0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolsFindText, ResultLine) {
    EXPECT_EQ(FindResultText({2, 7, 107}), "Channel #107 contains this data, in bank 3.");
    EXPECT_EQ(FindResultText({kDummyBank, 1, 251}),
              "Channel #251 contains this data, in the Dummy bank.");
}

struct ReplaceCase {
    const char* name;
    FindScope scope;
    std::string find, with;
    bool matchCase;
    int changed;
    std::string bank1Slot4, bank5Slot50;
};

class ToolsReplace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ToolsReplace, Tags) {
    const ReplaceCase& c = GetParam();
    Image image = Sample();
    const ReplaceResult result = ReplaceInTags(image, 0, c.scope, c.find, c.with, c.matchCase);
    EXPECT_EQ(result.tags, c.changed);
    EXPECT_EQ(image.channel(0, 4)[kFieldTag], c.bank1Slot4);
    EXPECT_EQ(image.channel(4, 50)[kFieldTag], c.bank5Slot50);
    EXPECT_EQ(image.channel(1, 1)[kFieldTag], "PD HIDDEN");
    EXPECT_EQ(image.channel(kDummyBank, 1)[kFieldTag], "PD DUMMY");
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolsReplace,
                         ::testing::Values(
                             // Kept whole until the table is checked, which cuts it to 16.
                             ReplaceCase{"LongerThanSixteen", FindScope::CurrentBank, "PD",
                                         "Police Dept", true, 1, "Police Dept Dispatch North",
                                         "PD PD"},
                             ReplaceCase{"EveryOccurrenceAllBanks", FindScope::AllBanks, "PD", "P",
                                         true, 2, "P Dispatch North", "P P"},
                             ReplaceCase{"IgnoringCase", FindScope::AllBanks, "pd", "X", false, 3,
                                         "X Dispatch North", "X X"},
                             ReplaceCase{"QuoteBecomesSpaceCommaStays", FindScope::AllBanks, "PD",
                                         "\"A,B\"", true, 2, " A,B  Dispatch North", " A,B   A,B "},
                             ReplaceCase{"ReplacementHoldingTheText", FindScope::AllBanks, "PD",
                                         "PDPD", true, 2, "PDPD Dispatch North", "PDPD PDPD"},
                             ReplaceCase{"EmptyFindDoesNothing", FindScope::AllBanks, "", "X", true,
                                         0, "PD Dispatch North", "PD PD"},
                             ReplaceCase{"DeleteTheText", FindScope::AllBanks, "PD ", "", true, 2,
                                         "Dispatch North", "PD"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ToolsReplaceText, StepNameAndReport) {
    EXPECT_EQ(ReplaceStepName("PD", "Police \"Dept\""), "Replace \"PD\" with \"Police  Dept \"");
    EXPECT_EQ(ReplaceResultText({0, 0}), "No tag contains this text.");
    EXPECT_EQ(ReplaceResultText({2, 1}),
              "2 tags changed. 1 tag is now longer than 16 characters and will be cut to 16 when "
              "the table is checked or saved.");
}

}  // namespace
}  // namespace vex
