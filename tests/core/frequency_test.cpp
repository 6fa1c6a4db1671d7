#include "core/frequency.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vex {
namespace {

struct Case {
    std::string in;
    std::string out;
};

TEST(FrequencyFormat, CanonicalFormCutsNeverRounds) {
    const std::vector<Case> cases = {
        {"162.55", "0162.5500"},    {"1240", "1240.0000"},      {"  27.3", "0027.3000"},
        {"162.55555", "0162.5555"}, {"162.55559", "0162.5555"}, {"0", "0000.0000"},
        {"", "0000.0000"},          {"0000.0000", "0000.0000"}, {".5", "0000.5000"},
        {"0851.0125", "0851.0125"}, {"00162.55", "0162.5500"},  {" 0 0162.5", "0162.5000"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFrequency(c.in), c.out) << '"' << c.in << '"';
}

TEST(FrequencyFormat, OtherLengthsAndPointPositions) {
    EXPECT_EQ(FormatFrequency("12.5", 5, 4), "012.50");
    EXPECT_EQ(FormatFrequency("851.0125", 8, 5), "0851.0125");
    // Five integer digits: nothing is prepended and the text is cut to nine characters.
    EXPECT_EQ(FormatFrequency("12345.678"), "12345.678");
}

TEST(FrequencyFormat, WithoutLeadingZeros) {
    const std::vector<Case> cases = {
        {"0162.55", "162.5500"},   {"162.55555", "162.55555"}, {"1240", "1240.0000"},
        {"0851.0125", "851.0125"}, {"  27.3", "27.3000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFrequencyNoLeadingZeros(c.in), c.out) << '"' << c.in << '"';
    EXPECT_EQ(FormatFrequencyNoLeadingZeros("12.5", 2), "12.50");
}

TEST(FrequencyBands, EdgesOnWholeMegahertz) {
    const std::vector<std::pair<int, std::string>> cases = {
        {-4, "25"},    {0, "25"},    {24, "25"}, {25, ""},       {512, ""},
        {513, "512"},  {805, "512"}, {806, ""},  {956, ""},      {957, "956"},
        {1239, "956"}, {1240, ""},   {1300, ""}, {1301, "1300"}, {99999, "1300"},
    };
    for (const auto& [f, edge] : cases) EXPECT_EQ(BandEdgeFor(f), edge) << f;
}

TEST(FrequencyCanonical, UsesTheNumbersOwnDigits) {
    const std::vector<Case> cases = {
        {"512", "0512.0000"},       {"162.55abc", "0162.5500"}, {" +162.5", "0162.5000"},
        {"-5", "0000.0000"},        {"12345", "0000.0000"},     {"", "0000.0000"},
        {"0162.5500", "0162.5500"}, {"956", "0956.0000"},       {"1.2.3", "0001.2000"},
    };
    for (const Case& c : cases) EXPECT_EQ(CanonicalFrequency(c.in), c.out) << '"' << c.in << '"';
}

TEST(FrequencyNormalised, ClampsIntoTheBandsAndStaysCanonical) {
    const std::vector<Case> cases = {
        {"600", "0512.0000"},       {"1000", "0956.0000"},
        {"2000", "1300.0000"},      {"10", "0025.0000"},
        {"512.9", "0512.9000"},     {"-5", "0025.0000"},
        {"0.0", "0000.0000"},       {"", "0000.0000"},
        {"162.55abc", "0162.5500"}, {"99999", "1300.0000"},
        {"805.9999", "0512.0000"},  {"1239.99", "0956.0000"},
        {"1240", "1240.0000"},      {"0000000162.5", "0162.5000"},
        {"0.00001", "0025.0000"},   {"162.55555", "0162.5555"},
        {"25", "0025.0000"},        {"1300.9999", "1300.9999"},
    };
    for (const Case& c : cases) {
        const std::string out = NormalisedFrequency(c.in);
        EXPECT_EQ(out, c.out) << '"' << c.in << '"';
        EXPECT_TRUE(IsCanonicalFrequency(out)) << out;
    }
}

TEST(FrequencyCanonical, Recognised) {
    EXPECT_TRUE(IsCanonicalFrequency("0162.5500"));
    EXPECT_TRUE(IsCanonicalFrequency("0000.0000"));
    for (const char* bad :
         {"512", "0162.550", "0162.55000", "0162,5500", "a162.5500", " 162.5500", "01625.500", ""})
        EXPECT_FALSE(IsCanonicalFrequency(bad)) << bad;
}

}  // namespace
}  // namespace vex
