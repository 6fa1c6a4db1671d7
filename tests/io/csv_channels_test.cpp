#include "io/csv_channels.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

struct ImportCase {
    const char* name;
    const char* text;
    int bank;
    int slot;
    const char* frequency;
    const char* tag;
    const char* flags;  // trunk, delay and lockout as 0 and 1
};

class CsvChannelRead : public ::testing::TestWithParam<ImportCase> {};

TEST_P(CsvChannelRead, PlacesTheChannel) {
    const ImportCase& c = GetParam();
    const CsvChannelImport read = ParseCsvChannels(c.text);
    ASSERT_TRUE(read.ok) << read.message;
    Image image;
    ClearForFileNew(image);
    ApplyImport(image, read.plan);
    const Channel& got = image.channel(c.bank, c.slot);
    EXPECT_EQ(got, (Channel{got[kFieldNumber], c.frequency, c.tag, std::string(1, c.flags[0]),
                            std::string(1, c.flags[1]), std::string(1, c.flags[2]), ""}));
}

// With ";" between fields, a comma is a decimal comma.
INSTANTIATE_TEST_SUITE_P(
    Import, CsvChannelRead,
    ::testing::Values(ImportCase{"HeaderAnyCaseAndOrder",
                                 "tag,FREQUENCY,lockout\r\nWX,162.55,on\r\n", 0, 1, "0162.5500",
                                 "WX", "001"},
                      ImportCase{"SemicolonAndQuotes",
                                 "Frequency;Tag;Trunk\n\"851,0125\";\"A;B \"\"C\"\"\";Yes\n", 0, 1,
                                 "0851.0125", "A;B 'C'", "100"},
                      ImportCase{"BankAndSlot", "Bank,Channel,Frequency\n3,7,460.5\n", 2, 7,
                                 "0460.5000", "", "000"},
                      ImportCase{"AbsoluteChannel", "Channel,Frequency\n120,460.5\n", 2, 20,
                                 "0460.5000", "", "000"},
                      ImportCase{"ConsecutiveWithoutNumbers", "Frequency\n155\n156\n", 0, 2,
                                 "0156.0000", "", "000"},
                      ImportCase{"HeaderAfterTitleLines", "My list\n\nFreq. (MHz),Name\n155.1,X\n",
                                 0, 1, "0155.1000", "X", "000"},
                      ImportCase{"LongTagCut", "Frequency,Tag\n155,ABCDEFGHIJKLMNOPQRST\n", 0, 1,
                                 "0155.0000", "ABCDEFGHIJKLMNOP", "000"},
                      ImportCase{"FormulaGuardUndone", "Frequency,Tag\n155,'=X\n", 0, 1,
                                 "0155.0000", "=X", "000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvChannelImport, RefusesFilesWithoutFrequencyColumn) {
    EXPECT_EQ(ParseCsvChannels("a,b,c\n1,2,3\n").message, kMsgNoFrequencyColumn);
    EXPECT_EQ(ParseCsvChannels("").message, kMsgNoFrequencyColumn);
    EXPECT_EQ(ParseCsvChannels("Frequency\r\n\r\n").message, kMsgNoChannels);
}

TEST(CsvChannelImport, OutOfBandAndMissingChannelsAreReported) {
    const CsvChannelImport read = ParseCsvChannels("Frequency,Channel\n600.5,1\n155,400\n155,2\n");
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.problems.size(), 2u);
    EXPECT_EQ(read.problems[0].text,
              "Line 2: 600.5 MHz lies outside the scanner's bands; channel left empty.");
    EXPECT_EQ(read.problems[1].line, 3);
    Image image;
    ClearForFileNew(image);
    ApplyImport(image, read.plan);
    EXPECT_TRUE(IsEmptyChannel(image, 0, 1));
    EXPECT_EQ(image.channel(0, 2)[kFieldFrequency], "0155.0000");
}

}  // namespace
}  // namespace vex
