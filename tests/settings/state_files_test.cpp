#include "settings/state_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "settings/ini.h"

namespace vex {
namespace {

using test::TempFolder;

using test::ReadText;

TEST(ComSettingsFile, PortCheck) {
    struct Case {
        std::string text;
        bool valid;
        int port;
    };
    const std::vector<Case> cases = {
        {"", true, 1},
        {"[com]\r\nport=19\r\n", true, 19},
        {"[com]\r\nport=0\r\n", false, 0},
        {"[com]\r\nport=20\r\n", false, 20},
        {"[com]\r\nport=abc\r\n", false, 0},
        {"[com]\r\nport= 7 \r\n", true, 7},
    };
    for (const Case& c : cases) {
        const ComReadResult r = ParseComSettings(c.text);
        EXPECT_EQ(r.portValid, c.valid) << c.text;
        EXPECT_EQ(r.settings.port, c.port) << c.text;
        EXPECT_EQ(r.message.empty(), c.valid) << c.text;
    }
    EXPECT_EQ(ParseComSettings("[com]\r\nport=20\r\n").message,
              "The comport setting in the communication .ini file is wrong. Value is set at: 20. "
              "Value must be between 1 and 19. Please run the commmunication setup program.");
}

TEST(ComSettingsFile, WriteAndReadBackWithDevice) {
    TempFolder folder;
    EXPECT_EQ(ReadComSettings(folder.path()).settings, ComSettings{});
    const ComSettings settings{3, 9600, "/dev/serial/by-id/usb-FTDI_BCT8-if00-port0"};
    ASSERT_TRUE(WriteComSettings(settings, folder.path()).ok);
    EXPECT_EQ(
        ReadText(folder / "com250.ini"),
        "[com]\r\nport=3\r\nbaud=9600\r\ndevice=/dev/serial/by-id/usb-FTDI_BCT8-if00-port0\r\n");
    EXPECT_EQ(ReadComSettings(folder.path()).settings, settings);
    EXPECT_EQ(SerializeComSettings({2, 4800, ""}), "[com]\r\nport=2\r\nbaud=4800\r\n");
    EXPECT_EQ(ParseComSettings("[com]\r\nbaud=junk\r\n").settings.baud, 19200);
}

TEST(LastFile, WholeFirstLineIsThePath) {
    TempFolder folder;
    EXPECT_EQ(ReadLastFile(folder.path()), "");
    ASSERT_TRUE(WriteLastFile(folder.path(), "/home/u/scans, old/police.mem").ok);
    EXPECT_EQ(ReadText(folder / "lastfile.ini"), "/home/u/scans, old/police.mem\r\n");
    EXPECT_EQ(ReadLastFile(folder.path()), "/home/u/scans, old/police.mem");
    EXPECT_EQ(ParseLastFile("  \"C:\\data\\a.mem\"  \r\nsecond\r\n"), "C:\\data\\a.mem");
}

TEST(WindowPlacementFile, Repairs) {
    EXPECT_EQ(ParseWindowPlacement(""), std::nullopt);
    EXPECT_EQ(ParseWindowPlacement("1\r\n2\r\n3\r\n"), std::nullopt);
    EXPECT_EQ(ParseWindowPlacement(" 10 \r\n20\r\n3000\r\n4000\r\n"),
              (WindowPlacement{10, 20, 3000, 4000}));
    EXPECT_EQ(ParseWindowPlacement("-5\r\n-1\r\n-300\r\n0\r\n"),
              (WindowPlacement{100, 100, 1000, 1000}));
    TempFolder folder;
    EXPECT_EQ(ReadWindowPlacement(folder.path()), std::nullopt);
    ASSERT_TRUE(SaveWindowPlacement(folder.path(), {15, 30, 9000, 6000}).ok);
    EXPECT_EQ(ReadText(folder / "window.dat"), "15\r\n30\r\n9000\r\n6000\r\n");
    EXPECT_EQ(ReadWindowPlacement(folder.path()), (WindowPlacement{15, 30, 9000, 6000}));
}

TEST(ColumnWidthsFile, ClampedAndPartial) {
    EXPECT_EQ(ParseColumnWidths(""), std::vector<int>{});
    EXPECT_EQ(ParseColumnWidths("5\r\n9001\r\n 1200 \r\n"), (std::vector<int>{10, 9000, 1200}));
    EXPECT_EQ(ParseColumnWidths("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n").size(),
              10u);
}

TEST(DefaultDataFile, DefaultsGarbageAndRoundTrip) {
    TempFolder folder;
    EXPECT_EQ(ReadDefaultData(folder.path()), DefaultData{});
    const DefaultData partial = ParseDefaultData("0\r\n7\r\n");
    EXPECT_EQ(partial.use, (std::array<int, 3>{0, 0, 1}));
    EXPECT_EQ(partial.value, (std::array<int, 3>{0, 1, 0}));
    const DefaultData data{{0, 1, 0}, {1, 1, 0}};
    ASSERT_TRUE(WriteDefaultData(folder.path(), data).ok);
    EXPECT_EQ(ReadText(folder / "defdata.ini"), "0\r\n1\r\n0\r\n1\r\n1\r\n0\r\n");
    EXPECT_EQ(ReadDefaultData(folder.path()), data);
}

TEST(BankTagsFile, CommasBecomeSemicolons) {
    TempFolder folder;
    std::array<std::string, kBankCount> tags = {"a", "b", "c", "d", "e", "f"};
    ReadBankTags(folder.path(), tags);  // no file: unchanged
    EXPECT_EQ(tags[0], "a");
    const std::array<std::string, kBankCount> written = {"Police, County", "  Fire", "",
                                                         "x\"y",           "Bank 5", "Dummy"};
    ASSERT_TRUE(WriteBankTags(folder.path(), written).ok);
    EXPECT_EQ(ReadText(folder / "names.dat"),
              "Police, County\r\n  Fire\r\n\r\nx\"y\r\nBank 5\r\nDummy\r\n");
    ReadBankTags(folder.path(), tags);
    EXPECT_EQ(tags, (std::array<std::string, kBankCount>{"Police; County", "  Fire", "", "x\"y",
                                                         "Bank 5", "Dummy"}));
    std::array<std::string, kBankCount> some = {"a", "b", "c", "d", "e", "f"};
    ParseBankTags("one\r\ntwo", some);
    EXPECT_EQ(some, (std::array<std::string, kBankCount>{"one", "two", "c", "d", "e", "f"}));
    EXPECT_FALSE(WriteBankTags(folder / "missing", written).ok);
}

TEST(TrunkTypesFile, NegativeIsZeroAndNameCaseIgnored) {
    std::array<std::string, kTrunkTypeCount> types{};
    ParseTrunkTypes("1\r\n-2\r\n 5 \r\n\r\n11\r\n", types);
    EXPECT_EQ(std::vector<std::string>(types.begin(), types.begin() + 5),
              (std::vector<std::string>{"1", "0", "5", "", "11"}));

    TempFolder folder;
    ASSERT_TRUE(WriteFileAtomically(folder / "TTYPE.dat", "6\r\n9\r\n").ok);
    std::array<std::string, kTrunkTypeCount> read{};
    ReadTrunkTypes(folder.path(), read);
    EXPECT_EQ(read[0] + read[1], "69");
    // The writer replaces the file it found rather than adding a second one.
    read[2] = "4";
    ASSERT_TRUE(WriteTrunkTypes(folder.path(), read).ok);
    EXPECT_FALSE(std::filesystem::exists(folder / "ttype.dat"));
    EXPECT_EQ(ReadText(folder / "TTYPE.dat"), "6\r\n9\r\n4\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

}  // namespace
}  // namespace vex
