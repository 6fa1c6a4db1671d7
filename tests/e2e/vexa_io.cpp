// The import and export commands of vexa as a user runs them: real process, real files.
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

void Spit(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class VexaIo : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        dir = std::filesystem::temp_directory_path() / ("vexa-io-" + std::to_string(random()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string at(const char* name) const { return (dir / name).string(); }
    std::filesystem::path dir;
    const std::string sample = std::string(VEX_TEST_DATA) + "/handwritten.mem";
};

TEST_F(VexaIo, ExportReadsBackThroughTheCsvImport) {
    ASSERT_EQ(Vexa({"resave", sample, at("norm.mem")}).code, 0);
    Outcome r = Vexa({"export", at("norm.mem"), at("a.csv")});
    ASSERT_EQ(r.code, 0) << r.out;
    r = Vexa({"import-csv", at("a.csv"), at("b.mem")});
    ASSERT_EQ(r.code, 0) << r.out;
    ASSERT_EQ(Vexa({"export", at("b.mem"), at("b.csv")}).code, 0);
    EXPECT_EQ(Slurp(at("b.csv")), Slurp(at("a.csv")));
    // Save cleared the trunk flag: the bank's trunk type allows no trunking at 851 MHz.
    EXPECT_NE(Slurp(at("a.csv")).find("\r\n2,77,0851.0125,TAG  WITH COMMA,Off,On,Off\r\n"),
              std::string::npos);
}

TEST_F(VexaIo, RefusalsWriteNothing) {
    Spit(at("page.html"), "<html><p>no numbers here</p></html>");
    Outcome r = Vexa({"import", at("page.html"), at("out.mem")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "vexa: You did not select any frequencies.\n");
    r = Vexa({"import-icf", at("page.html"), at("out.mem"), "--all"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("This is not an ICF clone file."), std::string::npos) << r.out;
    r = Vexa({"export", at("page.html"), at("out.csv")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("File is not VEXA compatible."), std::string::npos) << r.out;
    r = Vexa({"import-mem", sample, at("out.mem"), "--all"});
    EXPECT_NE(r.out.find("File is not compatible."), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(at("out.mem")));
    EXPECT_FALSE(std::filesystem::exists(at("out.csv")));
    EXPECT_EQ(Vexa({"import-icf", at("page.html"), at("out.mem")}).code, 2);
}

TEST_F(VexaIo, SimpleImportIntoABankOfTheBase) {
    Spit(at("list.txt"), "Fire 154.430 MHz\r\nWX 162.550, Air 600.5\r\n");
    Outcome r = Vexa({"import", "--found", at("list.txt"), at("found.txt")});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(Slurp(at("found.txt")), "154.430\r\n162.550\r\n600.5\r\n");
    r = Vexa({"import", at("list.txt"), at("out.mem"), "--base", sample, "--bank", "3", "--start",
              "49"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("vexa: 1 entries lie outside the scanner's bands and were skipped: "
                         "600.5."),
              std::string::npos)
        << r.out;
    const std::string mem = Slurp(at("out.mem"));
    EXPECT_NE(mem.find("\r\n149,\"0154.4300\""), std::string::npos);
    EXPECT_NE(mem.find("\r\n150,\"0162.5500\""), std::string::npos);
}

TEST_F(VexaIo, FilledDestinationNeedsYes) {
    std::string icf = "13A00001\r\n#comment\r\n";
    icf +=
        "000010"
        "016255"
        "0000000000"
        "0"
        "0"
        "00"
        "574E31000000"
        "\r\n";
    Spit(at("radio.icf"), icf);
    Outcome r = Vexa({"import-icf", at("radio.icf"), at("out.mem"), "--base", sample, "--from", "A",
                      "--bank", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("Bank is not empty!"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(at("out.mem")));
    r = Vexa({"import-icf", at("radio.icf"), at("out.mem"), "--base", sample, "--from", "A",
              "--bank", "1", "--yes"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(Slurp(at("out.mem")).find("\r\n1,\"0162.5500\",\"WN1\""), std::string::npos);
}

TEST_F(VexaIo, MapperTypesAndSave) {
    Spit(at("list.csv"), "Frequency,Mode,Tag\r\n162.55,fm,ONE\r\n\r\n");
    Outcome r = Vexa({"map", "--types", at("list.csv")});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "Frequency (MHz)\nMode\nUnknown\n");
    r = Vexa({"map", at("list.csv"), at("clean"), "--remove-empty"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(Slurp(at("clean.csv")),
              "TrunkNetscoop,data,Marlo,The Netherlands\r\n"
              "Frequency,Mode,Tag,\r\n162.55,FM,ONE,\r\n");
}

}  // namespace

#endif
