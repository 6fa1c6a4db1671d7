#include "mainwin/startup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../core/temp_folder.h"
#include "settings/state_files.h"

namespace vex {
namespace {

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Which ports are valid, and the text, are the com settings file's test.
TEST(Startup, AWrongPortStopsTheStartWithTheComFilesText) {
    test::TempFolder folder;
    WriteFile(folder / "com250.ini", "[com]\r\nport=20\r\nbaud=19200\r\n");
    AppState state;
    const StartupOutcome refused = LoadStartupState(folder.path(), state);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, ParseComSettings("[com]\r\nport=20\r\n").message);
    WriteFile(folder / "com250.ini", "[com]\r\nport=19\r\n");
    EXPECT_TRUE(LoadStartupState(folder.path(), state).ok);
    EXPECT_EQ(state.com.port, 19);
}

TEST(Startup, ExitKeepsTheColumnWidthsTheGridDoesNotHave) {
    test::TempFolder folder;
    WriteFile(folder / "tabw250.ini", "100,200,300,400,500,600,700,800,900,1000\r\n");
    AppState state;
    ASSERT_TRUE(LoadStartupState(folder.path(), state).ok);
    ExitState exit;
    exit.columnWidths = {110, 120, 130, 140, 150};
    EXPECT_TRUE(WriteStateAtExit(state, exit).empty());
    EXPECT_EQ(ReadColumnWidths(folder.path()),
              (std::vector<int>{110, 120, 130, 140, 150, 600, 700, 800, 900, 1000}));
}

TEST(Startup, ExitTriesEveryFileAndNamesTheOnesThatFailed) {
    test::TempFolder folder;
    AppState state;
    ASSERT_TRUE(LoadStartupState(folder.path(), state).ok);
    std::filesystem::create_directory(folder / "names.dat");
    std::filesystem::create_directory(folder / "tabw250.ini");
    const FileNotes failed = WriteStateAtExit(state, ExitState{});
    ASSERT_EQ(failed.size(), 2u);
    EXPECT_EQ(failed[0].file, folder / "names.dat");
    EXPECT_EQ(failed[1].file, folder / "tabw250.ini");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "setup.ini"));
    EXPECT_EQ(DescribeFileNotes("Not written:", failed).rfind("Not written:\n\n", 0), 0u);
}

}  // namespace
}  // namespace vex
