// "vexa diff" as a user runs it: exit status and the lines it prints for real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "e2e/vexa_run.h"

#ifdef VEXA_PATH

namespace {

using vexarun::Outcome;
using vexarun::Vexa;

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

class VexaDiff : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        dir = std::filesystem::temp_directory_path() / ("vexa-diff-" + std::to_string(random()));
        std::filesystem::create_directories(dir);
        copy = (dir / "copy.mem").string();
        std::filesystem::copy_file(sample, copy);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    void write(const std::string& text) { std::ofstream(copy, std::ios::binary) << text; }

    std::filesystem::path dir;
    const std::string sample = std::string(VEX_TEST_DATA) + "/handwritten.mem";
    std::string copy;
};

TEST_F(VexaDiff, SameImageSaysNothing) {
    const Outcome r = Vexa({"diff", sample, copy});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
}

TEST_F(VexaDiff, EachDifferenceOnItsOwnLineInFileOrder) {
    std::string text = Slurp(sample);
    Replace(text, "PRCH1 77", "PRCH1 78");
    Replace(text, "#$BT2 Police, County", "#$BT2 Police, City");
    Replace(text, "\"TAG, WITH COMMA\",\"1\"", "\"TAG\xE9\",\"0\"");
    write(text);
    const Outcome r = Vexa({"diff", sample, copy});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out,
              "bank 2 channel 27 tag: \"TAG, WITH COMMA\" -> \"TAG\xC3\xA9\"\n"
              "bank 2 channel 27 trunk: \"1\" -> \"0\"\n"
              "bank 3 name: \"Police, County\" -> \"Police, City\"\n"
              "bank 2 priority channel: \"77\" -> \"78\"\n");
}

TEST_F(VexaDiff, UnreadableFilesAndUsage) {
    const std::string missing = (dir / "none.mem").string();
    Outcome r = Vexa({"diff", sample, missing});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "vexa: " + missing + ": no such file\n");
    write("not a mem file\r\n");
    r = Vexa({"diff", copy, sample});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "vexa: " + copy + ": File is not VEXA compatible.\n");
    std::string cut = Slurp(sample);
    cut.resize(cut.size() / 2);
    write(cut);
    r = Vexa({"diff", sample, copy});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("vexa: " + copy + ": Not a valid file! Line: "), std::string::npos)
        << r.out;
    EXPECT_EQ(Vexa({"diff", sample}).code, 2);
    EXPECT_EQ(Vexa({"diff", sample, copy, copy}).code, 2);
    r = Vexa({"diff", "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Usage: vexa diff A.mem B.mem"), std::string::npos);
}

}  // namespace

#endif
