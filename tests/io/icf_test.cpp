#include "io/icf.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace vex {
namespace {

// A channel line: address, count, frequency digits, filler, mode, name.
std::string ChannelLine(int index, const std::string& digits, char mode = '0',
                        const std::string& name = "") {
    char address[16];
    std::snprintf(address, sizeof address, "%04X10", index * 16);
    std::string line =
        std::string(address) + digits + "00" + "88" + "00" + "5" + "000" + mode + "0" + "12";
    std::string hex;
    for (const char c : name) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned char>(c));
        hex += pair;
    }
    hex.resize(12, 'F');
    return line + hex;
}

std::string Clone(int channels, const std::string& eol = "\r\n") {
    std::string text = "13A00001" + eol + "#comment" + eol;
    for (int i = 0; i < channels; ++i) text += ChannelLine(i, "FFFFFF") + eol;
    return text;
}

struct DigitCase {
    const char* digits;
    const char* frequency;
};

class IcfDigits : public ::testing::TestWithParam<DigitCase> {};

TEST_P(IcfDigits, DecodeTheFrequency) {
    std::string text = Clone(0);
    text += ChannelLine(0, GetParam().digits, '4', "WX1") + "\r\n";
    const IcfFile file = ParseIcf(text);
    ASSERT_TRUE(file.ok) << file.message;
    EXPECT_EQ(file.banks[0][0].frequency, GetParam().frequency);
}

INSTANTIATE_TEST_SUITE_P(
    Icf, IcfDigits,
    ::testing::Values(DigitCase{"016250", "162.5000"}, DigitCase{"016251", "162.5125"},
                      DigitCase{"016252", "162.5250"}, DigitCase{"016253", "162.5375"},
                      DigitCase{"016255", "162.5500"}, DigitCase{"016256", "162.5625"},
                      DigitCase{"016257", "162.5750"}, DigitCase{"016258", "162.5875"},
                      DigitCase{"085101", "851.0125"}, DigitCase{"FFF123", ""},
                      DigitCase{"000000", ""}));

TEST(Icf, ChannelFieldsAndPlacement) {
    std::string text = Clone(0, "\n");
    for (int i = 0; i < 52; ++i)
        text += ChannelLine(i, i == 51 ? "015500" : "FFFFFF", '9', "ABC") + "\n";
    const IcfFile file = ParseIcf(text);
    ASSERT_TRUE(file.ok);
    const IcfChannel& c = file.banks[1][1];  // data line 51: bank B, channel 2
    EXPECT_EQ(c.frequency, "155.0000");
    EXPECT_EQ(c.name, "ABC");
    EXPECT_EQ(c.mode, "2");
    EXPECT_EQ(c.tone, "88.5");
    EXPECT_TRUE(file.problems.empty());
    const ImportPlan plan = PlanIcfBank(file, 1, kDummyBank);
    ASSERT_EQ(plan.channels.size(), 50u);
    EXPECT_EQ(plan.channels[1].value, (Channel{"", "0155.0000", "ABC", "0", "0", "0", ""}));
    EXPECT_EQ(plan.channels[0].value[kFieldFrequency], "0000.0000");
    EXPECT_EQ(IcfBankName(7), "Bank H");
}

TEST(Icf, EdgesAndAllBanks) {
    std::string text = Clone(400);
    text +=
        "190010"
        "014400"
        "0000000000"
        "014800"
        "0000000000"
        "\r\n";
    const IcfFile file = ParseIcf(text);
    ASSERT_TRUE(file.ok);
    EXPECT_EQ(file.edgeStart, "144.0000");
    EXPECT_EQ(file.edgeEnd, "148.0000");
    EXPECT_EQ(PlanIcfAll(file).channels.size(), 250u);
}

TEST(Icf, BadLinesAreReportedAndGoodOnesRead) {
    std::string text = Clone(3);
    text += "short\r\n" + ChannelLine(4, "016255") + "\r\n";
    const IcfFile file = ParseIcf(text);
    ASSERT_TRUE(file.ok);
    ASSERT_EQ(file.problems.size(), 1u);
    EXPECT_EQ(file.problems[0].text, "Problem in datafile line: 6");
    EXPECT_EQ(file.banks[0][4].frequency, "162.5500");
}

TEST(Icf, NonCloneFilesAreRefused) {
    for (const std::string& text :
         {std::string(), std::string("a\r\nb\r\n"), std::string("a\nb\nc\nd\ne\n"),
          std::string("x\ny\n") + std::string(38, 'Z') + "\n", std::string(1000, '\0')}) {
        const IcfFile file = ParseIcf(text);
        EXPECT_FALSE(file.ok);
        EXPECT_EQ(file.message, kMsgNotIcf);
        EXPECT_TRUE(file.problems.empty());
    }
}

TEST(Icf, OutOfBandChannelsAreLeftEmpty) {
    const IcfFile file = ParseIcf(Clone(0) + ChannelLine(0, "060050") + "\r\n");
    ASSERT_TRUE(file.ok);
    const ImportPlan plan = PlanIcfBank(file, 0, 0);
    EXPECT_EQ(plan.channels[0].value[kFieldFrequency], "0000.0000");
    ASSERT_EQ(plan.notes.size(), 1u);
    EXPECT_EQ(plan.notes[0],
              "Bank A channel 1: 600.5000 MHz lies outside the scanner's bands; "
              "left empty.");
}

TEST(Icf, PerconCleanKeepsTheFirstOfEqualFrequencies) {
    std::string text = Clone(0);
    const char* digits[] = {"016255", "015500", "016255", "016255"};
    for (int i = 0; i < 51; ++i)
        text += ChannelLine(i, i < 4 ? digits[i] : i == 50 ? "016255" : "FFFFFF") + "\r\n";
    IcfFile file = ParseIcf(text);
    ASSERT_TRUE(file.ok);
    EXPECT_EQ(PerconClean(file), 2);
    EXPECT_EQ(file.banks[0][0].frequency, "162.5500");
    EXPECT_EQ(file.banks[0][2].frequency, "");
    EXPECT_EQ(file.banks[0][3].frequency, "");
    EXPECT_EQ(file.banks[1][0].frequency, "162.5500");
}

}  // namespace
}  // namespace vex
