// "vexa print" as a user runs it, without a display: the PDF it writes, read back as text.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "e2e/vexa_run.h"

#ifdef VEXA_PATH

namespace {

using vexarun::Outcome;
using vexarun::Quote;
using vexarun::Vexa;

std::string PdfText(const std::filesystem::path& pdf) {
    std::string text;
    FILE* pipe =
        ::popen(("pdftotext -layout " + Quote(pdf.string()) + " - 2>/dev/null").c_str(), "r");
    if (!pipe) return text;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        text.append(buffer.data(), n);
    ::pclose(pipe);
    // Blanks collapsed, so the columns read as single-spaced lines.
    std::string simple;
    for (char c : text) {
        if (c == ' ' && (simple.empty() || simple.back() == ' ' || simple.back() == '\n')) continue;
        if (c == '\n' && !simple.empty() && simple.back() == ' ') simple.pop_back();
        simple += c;
    }
    return simple;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class VexaPrint : public ::testing::Test {
  protected:
    void SetUp() override {
        std::random_device random;
        dir = std::filesystem::temp_directory_path() / ("vexa-print-" + std::to_string(random()));
        std::filesystem::create_directories(dir);
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
    const std::string sample = std::string(VEX_TEST_DATA) + "/handwritten.mem";
};

TEST_F(VexaPrint, AllBanksByDefault) {
    const auto pdf = dir / "all.pdf";
    const Outcome r = Vexa({"print", sample, "--pdf", pdf.string()});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, pdf.string() + ": 6 pages\n");
    const std::string text = PdfText(pdf);
    EXPECT_TRUE(Has(text, "Vexatron for BCT8 - handwritten.mem\n")) << text;
    EXPECT_TRUE(Has(text, "Filename: " + sample + "\n"));
    EXPECT_TRUE(Has(text, "Bank: Dummy\n"));
    EXPECT_TRUE(Has(text, "77: 0851.0125 TAG, WITH COMMA On On Off\n"));
    EXPECT_TRUE(Has(text, "250: 1299.9875 LAST Off On On\n"));
    EXPECT_TRUE(Has(text, "Page 6 / 6\n"));
}

TEST_F(VexaPrint, OneBankAndTrunkIds) {
    const auto pdf = dir / "bank.pdf";
    Outcome r = Vexa({"print", sample, "--bank", "2", "--pdf=" + pdf.string()});
    ASSERT_EQ(r.code, 0) << r.out;
    std::string text = PdfText(pdf);
    EXPECT_TRUE(Has(text, "Bank: 2\n"));
    EXPECT_TRUE(Has(text, "Channel listing, bank 2 Page 1 / 1\n")) << text;
    EXPECT_FALSE(Has(text, "Bank: 1\n"));

    r = Vexa({"print", sample, "--trunk", "--all", "--pdf", pdf.string()});
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out, pdf.string() + ": 5 pages\n");
    text = PdfText(pdf);
    EXPECT_TRUE(Has(text, "ID Tag\n"));
    EXPECT_TRUE(Has(text, "5-10:"));
    EXPECT_TRUE(Has(text, "Trunk ID listing, bank 5 Page 5 / 5\n"));
}

TEST_F(VexaPrint, UsageAndFileErrors) {
    const auto pdf = (dir / "x.pdf").string();
    EXPECT_EQ(Vexa({"print", sample}).code, 2);
    EXPECT_EQ(Vexa({"print", sample, "--pdf", pdf, "--bank", "0"}).code, 2);
    EXPECT_EQ(Vexa({"print", sample, "--pdf", pdf, "--bank", "2", "--all"}).code, 2);
    Outcome r = Vexa({"print", (dir / "none.mem").string(), "--pdf", pdf});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "vexa: " + (dir / "none.mem").string() + ": no such file\n");
    r = Vexa({"print", sample, "--pdf", (dir / "no/folder/x.pdf").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(Has(r.out, "vexa: Problem in printerroutine #1\n Err = 4 Error: could not write "))
        << r.out;
    EXPECT_FALSE(std::filesystem::exists(pdf));
    r = Vexa({"print", "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(
        Has(r.out, "Usage: vexa print FILE.mem --pdf OUT.pdf [--bank N | --all] [--trunk]"));
}

}  // namespace

#endif
