// A folder, a device or a huge file in place of a settings or state file: every reader gives its
// defaults at once and notes the file and why. Which things are refused is the plain-file test's.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "core/temp_folder.h"
#include "settings/setup_ini.h"
#include "settings/state_files.h"

namespace vex {
namespace {

using test::TempFolder;

struct Reader {
    const char* file;
    // Reads from the folder; true when the result is the reader's default.
    std::function<bool(const std::filesystem::path&, FileNotes*)> readsDefault;
};

const Reader kReaders[] = {
    {"setup.ini",
     [](const auto& f, FileNotes* n) { return ReadSetupIni(f, n) == ParseSetupIni(""); }},
    {"com250.ini",
     [](const auto& f, FileNotes* n) { return ReadComSettings(f, n).settings == ComSettings{}; }},
    {"lastfile.ini", [](const auto& f, FileNotes* n) { return ReadLastFile(f, n).empty(); }},
    {"window.dat", [](const auto& f, FileNotes* n) { return !ReadWindowPlacement(f, n); }},
    {"tabw250.ini", [](const auto& f, FileNotes* n) { return ReadColumnWidths(f, n).empty(); }},
    {"defdata.ini",
     [](const auto& f, FileNotes* n) { return ReadDefaultData(f, n) == DefaultData{}; }},
    {"names.dat",
     [](const auto& f, FileNotes* n) {
         std::array<std::string, kBankCount> tags{"kept"};
         ReadBankTags(f, tags, n);
         return tags[0] == "kept";
     }},
    {"ttype.dat",
     [](const auto& f, FileNotes* n) {
         std::array<std::string, kTrunkTypeCount> types{"kept"};
         ReadTrunkTypes(f, types, n);
         return types[0] == "kept";
     }},
};

struct Stand {
    const char* name;
    std::function<void(const std::filesystem::path&)> make;
    std::string reason;
};

const Stand kStands[] = {
    {"Folder", [](const auto& p) { std::filesystem::create_directory(p); }, "it is a folder"},
    {"Huge",
     [](const auto& p) {
         { std::ofstream(p) << "1\n"; }
         std::filesystem::resize_file(p, 2u << 20);
     },
     "it is too large (2097152 bytes)"},
};

class UnusableSettingsFile : public ::testing::TestWithParam<std::tuple<Reader, Stand>> {};

TEST_P(UnusableSettingsFile, GivesDefaultsAndANote) {
    const auto& [reader, stand] = GetParam();
    TempFolder folder;
    stand.make(folder / reader.file);
    FileNotes notes;
    EXPECT_TRUE(reader.readsDefault(folder.path(), &notes));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].file, folder / reader.file);
    EXPECT_EQ(notes[0].reason, stand.reason);
    // Without a place for notes, just the defaults.
    EXPECT_TRUE(reader.readsDefault(folder.path(), nullptr));
}

INSTANTIATE_TEST_SUITE_P(Files, UnusableSettingsFile,
                         ::testing::Combine(::testing::ValuesIn(kReaders),
                                            ::testing::ValuesIn(kStands)),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param).file;
                             for (char& c : name)
                                 if (c == '.') c = '_';
                             return name + "_" + std::get<1>(info.param).name;
                         });

TEST(UnusableSettingsFile, MissingFilesAreNoNews) {
    TempFolder folder;
    FileNotes notes;
    for (const Reader& reader : kReaders) EXPECT_TRUE(reader.readsDefault(folder.path(), &notes));
    EXPECT_TRUE(notes.empty());
}

// A damaged file cannot hand on values of megabytes.
TEST(SettingsValues, AreCutToTheirSize) {
    std::array<std::string, kBankCount> tags{};
    ParseBankTags(std::string(5'000'000, 'T') + "\r\nsecond\r\n", tags);
    EXPECT_EQ(tags[0], std::string(16, 'T'));
    EXPECT_EQ(tags[1], "second");
    std::array<std::string, kTrunkTypeCount> types{};
    ParseTrunkTypes("5" + std::string(100'000, '0') + "\r\n", types);
    EXPECT_EQ(types[0].size(), 32u);
    EXPECT_EQ(ParseLastFile(std::string(100'000, 'p')).size(), 4096u);
}

}  // namespace
}  // namespace vex
