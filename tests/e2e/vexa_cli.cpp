// The vexa command line as a user runs it: real process, real files, exit codes and output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "e2e/vexa_run.h"

namespace {

using vexarun::Outcome;
using vexarun::Vexa;

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class VexaCli : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        dir = std::filesystem::temp_directory_path() / ("vexa-cli-" + std::to_string(random()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
    const std::string sample = std::string(VEX_TEST_DATA) + "/handwritten.mem";
};

TEST_F(VexaCli, HelpAndUsageErrors) {
    Outcome r = Vexa({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("show"), std::string::npos);
    EXPECT_NE(r.out.find("resave"), std::string::npos);
    r = Vexa({"show", "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Usage: vexa show FILE.mem [--bank N]"), std::string::npos);
    EXPECT_EQ(Vexa({}).code, 2);
    r = Vexa({"frobnicate"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "vexa: unknown command 'frobnicate'; see \"vexa --help\"\n");
    EXPECT_EQ(Vexa({"show"}).code, 2);
    EXPECT_EQ(Vexa({"show", sample, "--bank"}).code, 2);
    EXPECT_EQ(Vexa({"show", sample, "--bank", "6"}).code, 2);
    EXPECT_EQ(Vexa({"show", sample, "--colour"}).code, 2);
    EXPECT_EQ(Vexa({"resave", sample}).code, 2);
}

TEST_F(VexaCli, ReadChecksItsOutputBeforeTheScanner) {
    // The port does not exist: a message about it would mean the scanner was tried first.
    const std::string port = (dir / "no-such-port").string();
    Outcome r = Vexa({"read", "--port", port, (dir / "missing" / "x.mem").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("does not exist"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("no-such-port"), std::string::npos) << r.out;
    r = Vexa({"read", "--port", port, dir.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("is a folder"), std::string::npos) << r.out;
}

TEST_F(VexaCli, ShowPrintsTheBanks) {
    Outcome r = Vexa({"show", sample, "--bank", "2"});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out,
              "Bank 2:   Spaced\n"
              "  Trunk type 5, priority channel 77, not active\n"
              "  Slot  Chan  Freq. (MHz)  Tag               Trunk  Delay  Lock Out\n"
              "    27    77  0851.0125    TAG, WITH COMMA   On     On     Off\n"
              "  1 channel\n");
    r = Vexa({"show", sample});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Bank 3: Police, County\n"), std::string::npos);
    EXPECT_NE(r.out.find("    50   250  1299.9875    LAST              Off    On     On\n"),
              std::string::npos);
    // An empty stored type is Unknown, "0", not Motorola 800.
    EXPECT_NE(r.out.find("Bank 4: Bank 4\n  Trunk type 0, priority channel 151, not active\n"
                         "  (no channels)\n"),
              std::string::npos);
}

TEST_F(VexaCli, ShowReportsBadFiles) {
    Outcome r = Vexa({"show", (dir / "none.mem").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "vexa: " + (dir / "none.mem").string() + ": no such file\n");
    std::ofstream(dir / "bad.mem") << "not a mem file\r\n";
    r = Vexa({"show", (dir / "bad.mem").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("File is not VEXA compatible."), std::string::npos);
    std::string cut = Slurp(sample);
    cut.resize(cut.size() / 2);
    std::ofstream(dir / "cut.mem", std::ios::binary) << cut;
    r = Vexa({"show", (dir / "cut.mem").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("Not a valid file! Line: "), std::string::npos);
}

TEST_F(VexaCli, ResaveNormalisesAndIsStable) {
    std::string text = Slurp(sample);
    // An out-of-band channel and a non-flag text, as an old or hand-made file may hold them.
    text.replace(text.find("\"0162.5500\",\"FIRE DISP\",\"0\""), 27,
                 "\"600\",\"FIRE DISP\",\"On\"");
    std::ofstream(dir / "in.mem", std::ios::binary) << text;
    const std::string once = (dir / "once.mem").string(), twice = (dir / "twice.mem").string();
    Outcome r = Vexa({"resave", (dir / "in.mem").string(), once});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, "Wrote " + once + "\n");
    const std::string written = Slurp(once);
    EXPECT_NE(written.find("\r\n1,\"0512.0000\",\"FIRE DISP\",\"0\",\"0\",\"1\",\"\"\r\n"),
              std::string::npos);
    ASSERT_EQ(Vexa({"resave", once, twice}).code, 0);
    EXPECT_EQ(Slurp(twice), written);
}

TEST_F(VexaCli, ResaveTakesSettingsFromTheProgramFolder) {
    std::ofstream(dir / "setup.ini") << "[setup]\r\nsavenames=0\r\n";
    const std::string out = (dir / "out.mem").string();
    ASSERT_EQ(Vexa({"--dir", dir.string(), "resave", sample, out}).code, 0);
    EXPECT_NE(Slurp(out).find("\r\n#$BT2 None\r\n"), std::string::npos);
    ASSERT_EQ(Vexa({"resave", sample, out}).code, 0);
    EXPECT_NE(Slurp(out).find("\r\n#$BT2 Police, County\r\n"), std::string::npos);
    EXPECT_EQ(Vexa({"resave", sample, out, "--dir", (dir / "nowhere").string()}).code, 1);
}

TEST_F(VexaCli, ResaveReportsFailureAndNamesBareExtension) {
    Outcome r = Vexa({"resave", sample, (dir / "no" / "out.mem").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out.rfind("vexa: cannot write ", 0), 0u) << r.out;
    // A bare extension becomes bct8.mem beside it.
    ASSERT_EQ(Vexa({"resave", sample, (dir / ".mem").string()}).code, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "bct8.mem"));
}

}  // namespace
