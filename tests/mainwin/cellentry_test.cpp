#include "mainwin/cellentry.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

Options WithRound(int round, int zero = 0) {
    Options options;
    options.round = round;
    options.zero = zero;
    return options;
}

struct FrequencyCase {
    const char* typed;
    int round;
    int zero;
    const char* cell;
};

class MainwinEnterFrequencyTest : public ::testing::TestWithParam<FrequencyCase> {};

TEST_P(MainwinEnterFrequencyTest, GivesTheCellText) {
    const FrequencyCase& c = GetParam();
    EXPECT_EQ(EnterFrequencyText(c.typed, WithRound(c.round, c.zero)), c.cell) << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainwinEnterFrequencyTest,
    ::testing::Values(
        // Raster check with round 0.
        FrequencyCase{"162.553", 0, 0, "0162.5500"},   // on no raster: down to 5 kHz
        FrequencyCase{"162.5625", 0, 0, "0162.5625"},  // 6.25 kHz raster by its last digits
        FrequencyCase{"162.5125", 0, 0, "0162.5125"},  // 12.5 kHz raster
        FrequencyCase{"162.5025", 0, 0, "0162.5025"},  // 7.5 kHz raster
        FrequencyCase{"151.0025", 0, 0, "0151.0025"},  // offset raster inside the special band
        FrequencyCase{"160.0025", 0, 0, "0160.0000"},  // ... but not outside it
        FrequencyCase{"150.8125", 0, 0, "0150.8125"},
        // Extra decimals are rounded to 100 Hz before the check, except on the 6.25 kHz raster.
        FrequencyCase{"162.55999", 0, 0, "0162.5600"},
        FrequencyCase{"162.56249", 0, 0, "0162.5625"},
        FrequencyCase{"162.50625", 0, 0, "0162.5062"},
        FrequencyCase{"512.99999", 0, 0, "0512.0000"},  // rounded over the band edge
        FrequencyCase{"851.0063", 0, 0, "0851.0050"},
        // A comma is the decimal point.
        FrequencyCase{"162,55", 0, 0, "0162.5500"}, FrequencyCase{"162,553", 1, 0, "0162.5530"},
        // No raster check with round 1.
        FrequencyCase{"162.55555", 1, 0, "0162.5555"},
        // Band clamps, then formatted.
        FrequencyCase{"600", 0, 0, "0512.0000"}, FrequencyCase{"-162.55", 1, 0, "0025.0000"},
        FrequencyCase{"99999999", 1, 0, "1300.0000"},
        // Leading spaces and junk after the number.
        FrequencyCase{"   162.55", 1, 0, "0162.5500"},
        FrequencyCase{"162.55abc", 1, 0, "0162.5500"},
        // The zero setting.
        FrequencyCase{"162.55", 1, 1, "162.5500"}, FrequencyCase{"0162.5500", 0, 1, "162.5500"},
        FrequencyCase{"600", 1, 1, "512.0000"},
        // Empty and zero entries leave the channel empty.
        FrequencyCase{"", 0, 0, ""}, FrequencyCase{"0", 0, 0, ""},
        FrequencyCase{"0.0000", 1, 0, ""}, FrequencyCase{"   ", 1, 0, ""},
        FrequencyCase{".", 1, 0, ""}, FrequencyCase{"-", 1, 0, ""}));

struct NoteCase {
    const char* typed;
    int round;
    const char* note;  // "" for none
};

class MainwinEnterFrequencyNote : public ::testing::TestWithParam<NoteCase> {};

TEST_P(MainwinEnterFrequencyNote, SaysWhatWasStoredInsteadOfTheTypedValue) {
    EXPECT_EQ(EnterFrequency(GetParam().typed, WithRound(GetParam().round), DefaultData{}).note,
              GetParam().note)
        << GetParam().typed;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainwinEnterFrequencyNote,
    ::testing::Values(NoteCase{"20", 0,
                               "20 MHz lies outside the scanner's bands: stored 0025.0000."},
                      NoteCase{"512.99999", 0,
                               "512.99999 MHz lies outside the scanner's bands: stored 0512.0000."},
                      NoteCase{"162.553", 1, ""}, NoteCase{"162.55", 0, ""},
                      NoteCase{"162.55999", 0, ""}, NoteCase{"0", 0, ""}));

TEST(MainwinEnterFrequency, FillsTheFlagsFromTheDefaultData) {
    DefaultData defaults;
    defaults.use = {1, 0, 1};
    defaults.value = {1, 1, 0};
    const FrequencyEntry entry = EnterFrequency("162.55", Options{}, defaults);
    EXPECT_FALSE(entry.empty);
    EXPECT_EQ(entry.flags[0], "On");
    EXPECT_EQ(entry.flags[1], std::nullopt);  // switch off: the cell stays as it is
    EXPECT_EQ(entry.flags[2], "Off");
}

TEST(MainwinPastedFrequency, ClampsAndFormatsButKeepsOffRasterValues) {
    EXPECT_EQ(PastedFrequencyText("162.553", WithRound(0)), "0162.5530");
    EXPECT_EQ(PastedFrequencyText("600", WithRound(0)), "0512.0000");
    EXPECT_EQ(PastedFrequencyText("162.55", WithRound(0, 1)), "162.5500");
    EXPECT_EQ(PastedFrequencyText("0", WithRound(0)), "");
    EXPECT_EQ(PastedFrequencyText("162,553", WithRound(0)), "0162.5530");
}

TEST(MainwinEnterTag, CutsToSixteenAndBlanksCharactersThatBreakTheFile) {
    EXPECT_EQ(EnterTag("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(EnterTag("Say \"hi\""), "Say  hi ");
    EXPECT_EQ(EnterTag("A\rB\nC"), "A B C");
    EXPECT_EQ(EnterTag("  Fire \xE9"), "  Fire \xE9");  // Latin-1 letters and spaces stay
    EXPECT_EQ(EnterTag(""), "");
}

TEST(MainwinKeyFilters, FrequencyColumnAcceptsDigitsDecimalSignsAndMinusOnly) {
    for (char c : std::string("0123456789.,-")) EXPECT_TRUE(AcceptsFrequencyChar(c)) << c;
    for (char c : std::string("/a +e\t")) EXPECT_FALSE(AcceptsFrequencyChar(c)) << c;
}

TEST(MainwinKeyFilters, TagColumnRefusesTheSeventeenthCharacterAndQuotes) {
    EXPECT_TRUE(AcceptsTagChar('~', 16));
    EXPECT_FALSE(AcceptsTagChar('A', 17));
    for (char c : {'A', ' '}) EXPECT_TRUE(AcceptsTagChar(c, 1)) << c;
    for (char c : {'"', '\t', '\x7f', '\xe9'}) EXPECT_FALSE(AcceptsTagChar(c, 1)) << int(c);
}

TEST(MainwinFlagKeys, SetOrToggleTheCell) {
    struct Case {
        char key;
        const char* current;
        std::optional<std::string> result;
    };
    const Case cases[] = {
        {'0', "On", "Off"},        {'F', "On", "Off"},        {'f', "", "Off"},
        {'1', "Off", "On"},        {'N', "", "On"},           {'n', "Off", "On"},
        {' ', "On", "Off"},        {' ', "Off", "On"},        {' ', "", "On"},
        {'x', "On", std::nullopt}, {'2', "On", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FlagCellForKey(c.key, c.current), c.result) << c.key << " on " << c.current;
}

TEST(MainwinFlagWords, PastedWordsBecomeFlagCells) {
    for (const char* on : {"On", "on", "1", "N", "Yes", " TRUE "})
        EXPECT_EQ(FlagCellFromText(on), "On") << on;
    for (const char* off : {"Off", "0", "F", "no", "False"})
        EXPECT_EQ(FlagCellFromText(off), "Off") << off;
    for (const char* blank : {"", "  ", "maybe", "2"}) EXPECT_EQ(FlagCellFromText(blank), "");
}

TEST(MainwinCaptions, HelpOnlyForTheGridsColumns) {
    EXPECT_EQ(HelpForField(5).caption, "Lock Out:");
    EXPECT_TRUE(HelpForField(6).caption.empty());
}

}  // namespace
}  // namespace vex
