#include "io/freq_picker.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

using List = std::vector<std::string>;

struct PickCase {
    const char* name;
    const char* text;
    List found;
};

class Picker : public ::testing::TestWithParam<PickCase> {};

TEST_P(Picker, FindsTheFrequencies) {
    EXPECT_EQ(FindFrequencies(GetParam().text), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Import, Picker,
    ::testing::Values(PickCase{"UnitAfterNumber", "162.550MHz", {"162.550"}},
                      PickCase{"LettersAround", "v1.2b", {"1.2"}},
                      PickCase{"PointAtEdge", ".5 5. x.y", {}},
                      PickCase{"Duplicates", "155.1,155.1;155.1", {"155.1"}},
                      PickCase{"Separators",
                               "a>460.125-851.0125\tb 1.5;2.5\r\n3.5",
                               {"460.125", "851.0125", "1.5", "2.5", "3.5"}},
                      PickCase{"HtmlCell", "<td>154.4300</td><td>KXX</td>", {"154.4300"}},
                      PickCase{"ZeroIsNoFrequency", "0.0 00.000", {}},
                      PickCase{"OnlyFirstPointCounts", "1.2.3", {"1.2"}},
                      PickCase{"CutTo15", "1234567890.1234567890", {"1234567890.1234"}},
                      PickCase{
                          "LeadingZerosGoBeforeTheCut", "000000000000154.430", {"00000000154.430"}},
                      PickCase{"NoRoomForThePoint", "12345678901234.5 1234567890123456.7", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimpleImport, WritesConsecutiveFrequencies) {
    const ImportPlan plan = PlanSimpleImport({"162.55", "460.125"}, 1, 49);
    EXPECT_TRUE(plan.notes.empty());
    Image image;
    ClearForFileNew(image);
    image.channel(1, 49)[kFieldTag] = "KEEP";
    EXPECT_TRUE(ApplyImport(image, plan));
    EXPECT_EQ(image.channel(1, 49)[kFieldFrequency], "0162.5500");
    EXPECT_EQ(image.channel(1, 49)[kFieldTag], "KEEP");
}

struct NoteCase {
    const char* name;
    int entries;
    int start;
    std::size_t written;
    const char* note;
};

class SimpleImportNotes : public ::testing::TestWithParam<NoteCase> {};

TEST_P(SimpleImportNotes, SaysWhatWasNotImported) {
    List entries;
    for (int i = 0; i < GetParam().entries; ++i) entries.push_back(std::to_string(150 + i) + ".5");
    const ImportPlan plan = PlanSimpleImport(entries, 0, GetParam().start);
    EXPECT_EQ(plan.channels.size(), GetParam().written);
    ASSERT_FALSE(plan.notes.empty());
    EXPECT_EQ(plan.notes.back(), GetParam().note);
}

INSTANTIATE_TEST_SUITE_P(
    Import, SimpleImportNotes,
    ::testing::Values(NoteCase{"PastChannel50", 10, 45, 6,
                               "4 entries were not imported: the bank has no channel past 50."},
                      NoteCase{"StartAbove50", 3, 60, 0,
                               "3 entries were not imported: the bank has no channel past 50."},
                      NoteCase{"AtMost100", 120, 1, 50,
                               "50 entries were not imported: the bank has no channel past 50."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimpleImport, OutOfBandValuesAreSkippedNotClamped) {
    const ImportPlan plan = PlanSimpleImport({"600.5", "162.55", "1.2"}, 0, 1);
    ASSERT_EQ(plan.channels.size(), 1u);
    EXPECT_EQ(plan.channels[0].slot, 1);
    EXPECT_EQ(plan.channels[0].value[kFieldFrequency], "0162.5500");
    ASSERT_EQ(plan.notes.size(), 1u);
    EXPECT_EQ(plan.notes[0],
              "2 entries lie outside the scanner's bands and were skipped: 600.5, 1.2.");
}

TEST(SimpleImport, HundredTakenAtMost) {
    List entries(120, "162.55");
    const ImportPlan plan = PlanSimpleImport(entries, 0, 1);
    EXPECT_EQ(plan.notes.front(), "20 entries were not imported: at most 100 are taken at a time.");
    EXPECT_EQ(FoundListText({"1.5", "2.5"}), "1.5\r\n2.5\r\n");
    EXPECT_EQ(AbsoluteStartChannel(2, 7), 107);
}

}  // namespace
}  // namespace vex
