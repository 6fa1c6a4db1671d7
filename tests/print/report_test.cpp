#include "print/report.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vex::print {
namespace {

constexpr int kA4Lines = 78;  // what an A4 page holds at the default size

std::vector<std::string> Texts(const Page& page) {
    std::vector<std::string> texts;
    for (const Line& line : page.lines) texts.push_back(line.plainText());
    return texts;
}

std::vector<std::string> Body(const Report& report) {
    std::vector<std::string> texts;
    for (const Page& page : report.pages)
        for (const Line& line : page.lines)
            if (line.kind == LineKind::Body) texts.push_back(line.plainText());
    return texts;
}

class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearForFileRead(image);
        SetStartupBankTags(image);
        image.BankTag[1] = "Fire \xE9quipe";  // Latin-1 e acute
        image.channel(1, 1) = {"", "0162.5500", "FIRE DISP", "1", "0", "1", ""};
        image.channel(1, 50) = {"", "0453.1250", "", "0", "1", "x", ""};
        image.channel(5, 3) = {"", "0851.0125", "PARKED", "0", "0", "0", ""};
        image.TrunkId[2][0] = {"000712", "DISPATCH", "", ""};
        image.TrunkId[2][49] = {"065535", "LAST ONE", "", ""};
        image.ScanListTag[2][0] = "Police";
        source.image = &image;
        source.fileName = "/home/op/lists/county.mem";
    }
    Image image;
    ReportSource source;
};

struct ChoiceCase {
    ReportChoice choice;
    int bank;
    std::vector<std::string> firstHeadings;  // the line under the title of each page
};

class ReportChoiceTest : public ReportTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ReportChoiceTest, OnePageEachWithTitleAndNumberedFoot) {
    const ChoiceCase& c = GetParam();
    source.bank = c.bank;
    const Report report = LayOutReport(c.choice, source, kA4Lines);
    ASSERT_EQ(report.pages.size(), c.firstHeadings.size());
    const std::string total = std::to_string(report.pages.size());
    for (std::size_t i = 0; i < report.pages.size(); ++i) {
        const Page& page = report.pages[i];
        EXPECT_LE(page.lines.size(), std::size_t(kA4Lines));
        EXPECT_EQ(page.lines.front().plainText(), "Vexatron for BCT8 - county.mem");
        EXPECT_EQ(page.lines[2].plainText(), c.firstHeadings[i]) << "page " << i + 1;
        const Line& foot = page.lines.back();
        ASSERT_EQ(foot.kind, LineKind::Foot);
        EXPECT_EQ(foot.cells.back().text, "Page " + std::to_string(i + 1) + " / " + total);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ReportChoiceTest,
    ::testing::Values(
        ChoiceCase{ReportChoice::OneBank, 1, {"Bank: 2"}},
        ChoiceCase{ReportChoice::AllBanks,
                   3,
                   {"Bank: 1", "Bank: 2", "Bank: 3", "Bank: 4", "Bank: 5", "Bank: Dummy"}},
        ChoiceCase{ReportChoice::BanksAndSearch,
                   0,
                   {"Bank: 1", "Bank: 2", "Bank: 3", "Bank: 4", "Bank: 5", "Bank: Dummy",
                    "Search / Edge Data"}},
        ChoiceCase{ReportChoice::TrunkIdsOfBank, 2, {"Bank: 3"}},
        ChoiceCase{
            ReportChoice::AllTrunkIds, 0, {"Bank: 1", "Bank: 2", "Bank: 3", "Bank: 4", "Bank: 5"}},
        ChoiceCase{ReportChoice::SearchEdge, 0, {"Search / Edge Data"}},
        ChoiceCase{ReportChoice::Bandplan, 0, {"Bandplan"}}));

TEST_F(ReportTest, ChannelListingOfABank) {
    const Report report = LayOutChannels({1}, source, kA4Lines);
    ASSERT_EQ(report.pages.size(), 1u);
    const std::vector<std::string> texts = Texts(report.pages[0]);
    EXPECT_EQ(texts[3], "Bankname: Fire \xC3\xA9quipe");
    EXPECT_EQ(texts[6], "Frequency Tag Trunk Delay L.out");
    const std::vector<std::string> body = Body(report);
    ASSERT_EQ(body.size(), 50u);
    EXPECT_EQ(body[0], "51: 0162.5500 FIRE DISP On Off On");
    EXPECT_EQ(body[1], "52: Empty");
    EXPECT_EQ(body[49], "100: 0453.1250 Off On");  // no tag; a flag that is not 0/1 shows blank
    // The Dummy bank is listed with the numbers the grid shows.
    const std::vector<std::string> dummy = Body(LayOutChannels({5}, source, kA4Lines));
    EXPECT_EQ(dummy[0], "251: Empty");
    EXPECT_EQ(dummy[2], "253: 0851.0125 PARKED Off Off Off");
}

TEST_F(ReportTest, TrunkIdListingHasEveryListAndRow) {
    const Report report = LayOutTrunkIds({2}, source, kA4Lines);
    ASSERT_EQ(report.pages.size(), 1u);
    const std::vector<std::string> texts = Texts(report.pages[0]);
    EXPECT_EQ(texts[6], "ID Tag");
    EXPECT_EQ(texts[7], "List 1: Police");
    EXPECT_NE(std::find(texts.begin(), texts.end(), "List 5: "), texts.end());
    const std::vector<std::string> body = Body(report);
    ASSERT_EQ(body.size(), 50u);
    EXPECT_EQ(body[0], "1-1: 000712 DISPATCH");
    EXPECT_EQ(body[1], "1-2:");
    EXPECT_EQ(body[10], "2-1:");
    EXPECT_EQ(body[49], "5-10: 065535 LAST ONE");
}

TEST_F(ReportTest, LongSectionsGoOnOverFurtherPages) {
    for (const int lines : {20, 30, 57, 58, kMinLinesPerPage}) {
        const Report report = LayOutChannels({0, 1}, source, lines);
        const std::vector<std::string> body = Body(report);
        ASSERT_EQ(body.size(), 100u) << lines;
        EXPECT_EQ(body[50], "51: 0162.5500 FIRE DISP On Off On");
        for (const Page& page : report.pages) {
            EXPECT_LE(page.lines.size(), std::size_t(lines));
            const auto headings =
                std::count_if(page.lines.begin(), page.lines.end(),
                              [](const Line& l) { return l.kind == LineKind::ColumnHeadings; });
            EXPECT_EQ(headings, 1);
        }
        // A bank always starts a page of its own.
        EXPECT_EQ(report.pages.size() % 2, 0u) << lines;
    }
    EXPECT_EQ(LayOutChannels({0}, source, 57).pages.size(), 2u);
    EXPECT_EQ(LayOutChannels({0}, source, 58).pages.size(), 1u);
}

TEST_F(ReportTest, PagesTooSmallToHoldAnythingStillEnd) {
    for (const int lines : {-3, 0, 1, 5}) {
        const Report report = LayOutTrunkIds({0}, source, lines);
        EXPECT_EQ(Body(report).size(), 50u);
        for (const Page& page : report.pages)
            EXPECT_LE(page.lines.size(), std::size_t(kMinLinesPerPage));
    }
}

TEST_F(ReportTest, BandplanShowsBandsAndBaseConfigurations) {
    image.TrunkType[3] = "5";
    image.TrunkBase[3][0] = {"0150.0000", "012.50", "380", "", "", "", "", ""};
    const std::vector<std::string> body =
        Body(LayOutReport(ReportChoice::Bandplan, source, kA4Lines));
    EXPECT_EQ(body[0], "1: 25 - 512 MHz");
    EXPECT_EQ(body[2], "3: 1240 - 1300 MHz");
    EXPECT_NE(std::find(body.begin(), body.end(), "4: Bank: 4 Motorola Type 2 - VHF"), body.end());
    EXPECT_NE(std::find(body.begin(), body.end(),
                        "Base Config 1: 0150.0000 MHz step 012.50 kHz offset 380"),
              body.end());
    EXPECT_NE(std::find(body.begin(), body.end(), "Base Config 2: Empty"), body.end());
}

TEST(PrintFailureMessageTest, NamesWhereItFailed) {
    EXPECT_EQ(PrintFailureMessage(2, 2, "refused"),
              "Problem in printerroutine bank: 3\n Err = 2 Error: refused");
    EXPECT_EQ(PrintFailureMessage(5, 2, "x"),
              "Problem in printerroutine bank: Dummy\n Err = 2 Error: x");
}

}  // namespace
}  // namespace vex::print
