#include <gtest/gtest.h>

#include <string>

#include "core/latin1.h"
#include "core/text.h"

namespace vex {
namespace {

TEST(Text, DigitsAndBlanksIgnoreTheLocale) {
    // Latin-1 superscripts and the no-break space are neither.
    for (const char c : std::string("\xB2\xB3\xB9\xA0\r\n"))
        EXPECT_FALSE(IsDigit(c) || IsBlank(c)) << static_cast<int>(static_cast<unsigned char>(c));
    EXPECT_TRUE(IsDigit('0') && IsDigit('9') && !IsDigit('/') && !IsDigit(':'));
    EXPECT_TRUE(IsBlank(' ') && IsBlank('\t'));
}

struct TrimCase {
    std::string text;
    std::string trimmed;
};

class TrimBlanksTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimBlanksTest, KeepsWhatIsInside) {
    EXPECT_EQ(TrimBlanks(GetParam().text), GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(Text, TrimBlanksTest,
                         ::testing::Values(TrimCase{" \t a b \t", "a b"}, TrimCase{"", ""},
                                           TrimCase{" \t ", ""}, TrimCase{"\r\nx\r\n", "\r\nx\r\n"},
                                           TrimCase{"\xA0x\xA0", "\xA0x\xA0"}));

struct Utf8Case {
    std::string utf8;
    std::string latin1;
};

class Utf8ToLatin1Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToLatin1Test, Converts) {
    EXPECT_EQ(Utf8ToLatin1(GetParam().utf8), GetParam().latin1);
}

// Anything Latin-1 lacks, and any broken sequence, is one '?' that leaves what follows alone.
const Utf8Case kUtf8Cases[] = {
    {"plain", "plain"},
    {"caf\xC3\xA9", "caf\xE9"},
    {"\xE2\x82\xAC 5", "? 5"},
    {"\xF0\x9F\x93\xBB!", "?!"},
    {"cut \xC3", "cut ?"},
    {std::string("\xC3") + "A,B", "?A,B"},
    {std::string("\xE2\x82") + "ZZ", "?ZZ"},
    {"\x80x", "?x"},
    {"\xC1\x81", "?"},
};

INSTANTIATE_TEST_SUITE_P(Latin1, Utf8ToLatin1Test, ::testing::ValuesIn(kUtf8Cases));

TEST(Latin1, RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(all)), all);
}

}  // namespace
}  // namespace vex
