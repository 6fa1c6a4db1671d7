#include "io/csv_export.h"

#include <gtest/gtest.h>

#include "io/csv_channels.h"

namespace vex {
namespace {

Image Sample() {
    Image image;
    ClearForFileNew(image);
    image.channel(0, 1) = {"1", "0162.5500", "FIRE, DISP", "1", "0", "1", "c"};
    image.channel(0, 2) = {"2", "0460.1250", "=SUM(A1)", "0", "1", "0", ""};
    image.channel(1, 50) = {"100", "0851.0125", " CTR ", "1", "1", "1", ""};
    image.channel(kDummyBank, 1) = {"", "0155.0000", "DUMMY", "0", "0", "0", ""};
    image.TrunkId[0][0] = {"000042", "POLICE, NORTH", "", ""};
    image.TrunkId[0][11] = {"000099", "@HOME", "", ""};
    return image;
}

struct LineCase {
    const char* name;
    int bank;
    int slot;
    const char* line;
};

class ChannelLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ChannelLine, IsWrittenAsExpected) {
    const Image image = Sample();
    EXPECT_EQ(ChannelCsvLine(image, GetParam().bank, GetParam().slot), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Export, ChannelLine,
    ::testing::Values(LineCase{"CommaInTagBecomesSpace", 0, 1,
                               "1,1,0162.5500,FIRE  DISP,On,Off,On"},
                      LineCase{"FormulaTagIsGuarded", 0, 2, "1,2,0460.1250,'=SUM(A1),Off,On,Off"},
                      LineCase{"AbsoluteChannelNumber", 1, 50, "2,100,0851.0125, CTR ,On,On,On"},
                      LineCase{"EmptyChannelHasSixFields", 0, 3, "Empty,,,,,"},
                      LineCase{"DummyBank", kDummyBank, 1, "6,251,0155.0000,DUMMY,Off,Off,Off"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvExport, FileShapes) {
    const Image image = Sample();
    const std::string bank = ExportCsv(image, CsvExportChoice::CurrentBank, 0);
    EXPECT_EQ(std::count(bank.begin(), bank.end(), '\n'), 51);
    const std::string all = ExportCsv(image, CsvExportChoice::AllBanks, 0);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 501);
    // The editor-only Dummy bank is not part of "all banks".
    EXPECT_EQ(all.find("DUMMY"), std::string::npos);
    const std::string ids = ExportCsv(image, CsvExportChoice::TrunkIdsCurrentBank, 0);
    EXPECT_TRUE(ids.starts_with("Index,ID,Tag\r\n1_1,000042,POLICE  NORTH\r\n1_2,,\r\n"));
    EXPECT_NE(ids.find("\r\n2_2,000099,'@HOME\r\n"), std::string::npos);
    EXPECT_NE(ids.find("\r\n5_10,,\r\n"), std::string::npos);
    const std::string allIds = ExportCsv(image, CsvExportChoice::TrunkIdsAllBanks, 0);
    EXPECT_EQ(std::count(allIds.begin(), allIds.end(), '\n'), 501);
    Image search = image;
    search.SearchEdgeTable[1] = {"0406.0000", "0420.0000", "UHF", "2", "4"};
    const std::string edges = ExportCsv(search, CsvExportChoice::SearchEdge, 0);
    EXPECT_TRUE(
        edges.starts_with("Start,End,Tag,Mode,Step\r\nEmpty,,,,\r\n"
                          "0406.0000,0420.0000,UHF,FM,12.5\r\nEmpty,,,,\r\n"));
}

// The whole export read back is the command line's end-to-end test; one bank exported alone
// lands in its own bank again, with its flags.
TEST(CsvExport, OneBankReadBackByTheChannelImport) {
    const Image image = Sample();
    const CsvChannelImport read =
        ParseCsvChannels(ExportCsv(image, CsvExportChoice::CurrentBank, 1));
    ASSERT_TRUE(read.ok) << read.message;
    EXPECT_TRUE(read.problems.empty());
    Image bank2;
    ClearForFileNew(bank2);
    ApplyImport(bank2, read.plan);
    Channel got = bank2.channel(1, 50);
    got[kFieldNumber] = "100";  // the import leaves the number field as it was
    EXPECT_EQ(got, image.channel(1, 50));
    EXPECT_TRUE(IsEmptyChannel(bank2, 0, 1));
}

}  // namespace
}  // namespace vex
