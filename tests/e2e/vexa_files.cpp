// The vexa commands on files as a user runs them: real process, real files, what they print and
// write. Mistakes and unusable files are in the command-line table.
#include <gtest/gtest.h>

#include "e2e/sim_process.h"

#ifdef VEXA_PATH

namespace {

using simtest::ReadFile;
using simtest::Vexa;

class VexaFiles : public ::testing::Test {
  protected:
    std::string at(const char* name) const { return (folder / name).string(); }
    void Edit(std::string& text, const std::string& from, const std::string& to) {
        const std::size_t found = text.find(from);
        ASSERT_NE(found, std::string::npos) << from;
        text.replace(found, from.size(), to);
    }
    bool Has(const std::string& file, const std::string& part) const {
        return ReadFile(at(file.c_str())).find(part) != std::string::npos;
    }
    simtest::TempFolder folder;
    const std::string sample = VEX_TEST_DATA "/handwritten.mem";
};

TEST_F(VexaFiles, ShowPrintsTheBanks) {
    auto r = Vexa({"show", sample, "--bank", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out,
              "Bank 2:   Spaced\n"
              "  Trunk type 5, priority channel 77, not active\n"
              "  Slot  Chan  Freq. (MHz)  Tag               Trunk  Delay  Lock Out\n"
              "    27    77  0851.0125    TAG, WITH COMMA   On     On     Off\n"
              "  1 channel\n");
    r = Vexa({"show", sample});
    ASSERT_EQ(r.code, 0) << r.err;
    // An empty stored type is Unknown, "0", not Motorola 800.
    EXPECT_NE(r.out.find("Bank 4: Bank 4\n  Trunk type 0, priority channel 151, not active\n"
                         "  (no channels)\n"),
              std::string::npos);
    EXPECT_EQ(Vexa({}).code, 2);
}

TEST_F(VexaFiles, ResaveNormalisesAndIsStable) {
    std::string text = ReadFile(sample);
    // An out-of-band channel and a non-flag text, as an old or hand-made file may hold them.
    Edit(text, "\"0162.5500\",\"FIRE DISP\",\"0\"", "\"600\",\"FIRE DISP\",\"On\"");
    simtest::WriteFile(at("in.mem"), text);
    auto r = Vexa({"resave", at("in.mem"), at("once.mem")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Wrote " + at("once.mem") + "\n");
    EXPECT_TRUE(Has("once.mem", "\r\n1,\"0512.0000\",\"FIRE DISP\",\"0\",\"0\",\"1\",\"\"\r\n"));
    ASSERT_EQ(Vexa({"resave", at("once.mem"), at("twice.mem")}).code, 0);
    EXPECT_EQ(ReadFile(at("twice.mem")), ReadFile(at("once.mem")));
    // A bare extension becomes bct8.mem beside it; the program folder's settings apply.
    simtest::WriteFile(at("setup.ini"), "[setup]\r\nsavenames=0\r\n");
    ASSERT_EQ(Vexa({"--dir", folder.path().string(), "resave", sample, at(".mem")}).code, 0);
    EXPECT_TRUE(Has("bct8.mem", "\r\n#$BT2 None\r\n"));
}

TEST_F(VexaFiles, DiffPrintsEachDifferenceInFileOrder) {
    auto r = Vexa({"diff", sample, sample});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "");
    std::string text = ReadFile(sample);
    Edit(text, "PRCH1 77", "PRCH1 78");
    Edit(text, "#$BT2 Police, County", "#$BT2 Police, City");
    Edit(text, "\"TAG, WITH COMMA\",\"1\"", "\"TAG\xE9\",\"0\"");
    simtest::WriteFile(at("copy.mem"), text);
    r = Vexa({"diff", sample, at("copy.mem")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out,
              "bank 2 channel 27 tag: \"TAG, WITH COMMA\" -> \"TAG\xC3\xA9\"\n"
              "bank 2 channel 27 trunk: \"1\" -> \"0\"\n"
              "bank 3 name: \"Police, County\" -> \"Police, City\"\n"
              "bank 2 priority channel: \"77\" -> \"78\"\n");
}

TEST_F(VexaFiles, ExportReadsBackThroughTheCsvImport) {
    ASSERT_EQ(Vexa({"resave", sample, at("norm.mem")}).code, 0);
    auto r = Vexa({"export", at("norm.mem"), at("a.csv")});
    ASSERT_EQ(r.code, 0) << r.err;
    r = Vexa({"import-csv", at("a.csv"), at("b.mem")});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(Vexa({"export", at("b.mem"), at("b.csv")}).code, 0);
    EXPECT_EQ(ReadFile(at("b.csv")), ReadFile(at("a.csv")));
    // Save cleared the trunk flag: the bank's trunk type allows no trunking at 851 MHz.
    EXPECT_TRUE(Has("a.csv", "\r\n2,77,0851.0125,TAG  WITH COMMA,Off,On,Off\r\n"));
}

TEST_F(VexaFiles, SimpleImportIntoABankOfTheBase) {
    simtest::WriteFile(at("list.txt"), "Fire 154.430 MHz\r\nWX 162.550, Air 600.5\r\n");
    auto r = Vexa({"import", "--found", at("list.txt"), at("found.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(at("found.txt")), "154.430\r\n162.550\r\n600.5\r\n");
    r = Vexa({"import", at("list.txt"), at("out.mem"), "--base", sample, "--bank", "3", "--start",
              "49"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("vexa: 1 entries lie outside the scanner's bands and were skipped: "
                         "600.5."),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(Has("out.mem", "\r\n149,\"0154.4300\""));
    EXPECT_TRUE(Has("out.mem", "\r\n150,\"0162.5500\""));
}

TEST_F(VexaFiles, IcfImportIntoAFilledBankNeedsYes) {
    // One channel at 162.55 MHz named "WN1": address and length, frequency, the rest, the name.
    const std::string record =
        std::string("000010") + "016255" + "0000000000" + "0000" + "574E31000000";
    simtest::WriteFile(at("radio.icf"), "13A00001\r\n#comment\r\n" + record + "\r\n");
    const std::vector<std::string> args{"import-icf", at("radio.icf"), at("out.mem"),
                                        "--base",     sample,          "--from",
                                        "A",          "--bank",        "1"};
    auto r = Vexa(args);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Bank is not empty!"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(at("out.mem")));
    auto yes = args;
    yes.push_back("--yes");
    r = Vexa(yes);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Has("out.mem", "\r\n1,\"0162.5500\",\"WN1\""));
}

TEST_F(VexaFiles, MapperTypesAndSave) {
    simtest::WriteFile(at("list.csv"), "Frequency,Mode,Tag\r\n162.55,fm,ONE\r\n\r\n");
    auto r = Vexa({"map", "--types", at("list.csv")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "Frequency (MHz)\nMode\nUnknown\n");
    r = Vexa({"map", at("list.csv"), at("clean"), "--remove-empty"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(at("clean.csv")),
              "TrunkNetscoop,data,Marlo,The Netherlands\r\n"
              "Frequency,Mode,Tag,\r\n162.55,FM,ONE,\r\n");
}

// The PDF read back as text, blanks collapsed so the columns read as single-spaced lines.
std::string PdfText(const std::string& pdf) {
    const simtest::Outcome r = simtest::Run("pdftotext", {"-layout", pdf, "-"});
    std::string simple;
    for (char c : r.out) {
        if (c == ' ' && (simple.empty() || simple.back() == ' ' || simple.back() == '\n')) continue;
        if (c == '\n' && !simple.empty() && simple.back() == ' ') simple.pop_back();
        simple += c;
    }
    return simple;
}

TEST_F(VexaFiles, PrintWritesAPdfOfAllBanksOneBankOrTheTrunkIds) {
    struct Case {
        std::vector<std::string> options;
        const char* said;  // after the file name
        std::vector<std::string> shown;
        const char* notShown;
    };
    const Case cases[] = {
        {{},
         ": 6 pages\n",
         {"Filename: " + sample + "\n", "250: 1299.9875 LAST Off On On\n"},
         "Trunk ID listing"},
        {{"--bank", "2"}, ": 1 page\n", {"Channel listing, bank 2 Page 1 / 1\n"}, "Bank: 1\n"},
        {{"--trunk", "--all"},
         ": 5 pages\n",
         {"Trunk ID listing, bank 5 Page 5 / 5\n"},
         "Channel listing"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"print", sample, "--pdf=" + at("out.pdf")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = Vexa(args);
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, at("out.pdf") + c.said);
        const std::string text = PdfText(at("out.pdf"));
        for (const std::string& part : c.shown)
            EXPECT_NE(text.find(part), std::string::npos) << part;
        EXPECT_EQ(text.find(c.notShown), std::string::npos) << c.notShown << "\n" << text;
    }
}

}  // namespace

#endif
