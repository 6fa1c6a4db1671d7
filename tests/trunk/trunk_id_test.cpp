#include "trunk/trunk_id.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

struct IdCase {
    const char* input;
    const char* expected;
};

class Motorola2Ids : public testing::TestWithParam<IdCase> {};
TEST_P(Motorola2Ids, Normalise) {
    EXPECT_EQ(NormaliseMotorola2Id(GetParam().input), GetParam().expected)
        << "input \"" << GetParam().input << "\"";
}
INSTANTIATE_TEST_SUITE_P(
    Trunk, Motorola2Ids,
    testing::Values(IdCase{"65535", "065535"}, IdCase{"65536", "0"}, IdCase{"700000", "700000"},
                    IdCase{"765535", "765535"}, IdCase{"765536", "0"}, IdCase{"699999", "0"},
                    IdCase{"I5", "700005"}, IdCase{"i12", "700012"}, IdCase{"i99999", "700000"},
                    IdCase{"71", "000071"}, IdCase{"7", "000007"}, IdCase{"7123", "007123"},
                    IdCase{"712", "000712"}, IdCase{"0", "000000"}, IdCase{"  42 ", "000042"},
                    // Leading zeros never change the value.
                    IdCase{"00000012345", "012345"}, IdCase{"0712345", "712345"},
                    IdCase{"i0000012", "700012"}, IdCase{"000065535", "065535"},
                    // Text after a number is dropped; no number at all gives "0".
                    IdCase{"123.", "000123"}, IdCase{"12abc", "000012"}, IdCase{"12.5", "000012"},
                    IdCase{"i12a", "700012"}, IdCase{"-5", "0"}, IdCase{"iabc", "0"},
                    IdCase{".", "0"}, IdCase{"", ""}, IdCase{"   ", ""}, IdCase{"i", "700000"},
                    // An over-long ICALL keeps its first five digits.
                    IdCase{"i123456", "712345"}));

class Motorola1Ids : public testing::TestWithParam<IdCase> {};
TEST_P(Motorola1Ids, Normalise) {
    EXPECT_EQ(NormaliseMotorola1Id(GetParam().input), GetParam().expected)
        << "input \"" << GetParam().input << "\"";
}
INSTANTIATE_TEST_SUITE_P(Trunk, Motorola1Ids,
                         testing::Values(IdCase{"100-12", "100-12"}, IdCase{"i7", "i00007"},
                                         IdCase{"I65536", "I65536"}, IdCase{"i65537", "i00000"},
                                         IdCase{"65536", "65536"}, IdCase{"65537", "0"},
                                         IdCase{"i0000007", "i00007"}, IdCase{"", ""},
                                         // Text that is no number stays as typed.
                                         IdCase{"1a-2", "1a-2"}, IdCase{"abc", "abc"},
                                         IdCase{"i1234567", "i12345"}, IdCase{"iabc", "0"}));

class EdacsIds : public testing::TestWithParam<IdCase> {};
TEST_P(EdacsIds, Normalise) {
    EXPECT_EQ(NormaliseEdacsId(GetParam().input), GetParam().expected)
        << "input \"" << GetParam().input << "\"";
}
INSTANTIATE_TEST_SUITE_P(
    Trunk, EdacsIds,
    testing::Values(IdCase{"1-5", "01-05"}, IdCase{"16-209", "15-157"}, IdCase{"3000", "0"},
                    IdCase{"12345-1", ""}, IdCase{"i20000", "i00000"}, IdCase{"i16383", "i16383"},
                    IdCase{"i5", "i00005"}, IdCase{"05-123", "05-123"}, IdCase{"-5", "00-05"},
                    IdCase{"123-45", "15-15"}, IdCase{"1-", "01-00"}, IdCase{"------", ""},
                    IdCase{"2047", "2047"}, IdCase{"2048", "0"}, IdCase{"0", "0"}, IdCase{"1", "1"},
                    IdCase{"0012", "0012"}, IdCase{"00000008", "0008"}, IdCase{"0001-5", "01-05"},
                    IdCase{"1a-5", ""}, IdCase{"12.5", "12"}, IdCase{"12i", "12"},
                    IdCase{"01-158", "01-157"}, IdCase{"-", ""}, IdCase{"--", ""},
                    IdCase{"i123456", "i12345"}, IdCase{"abc", "0"}));

class LtrIds : public testing::TestWithParam<IdCase> {};
TEST_P(LtrIds, Normalise) {
    EXPECT_EQ(NormaliseLtrId(GetParam().input), GetParam().expected)
        << "input \"" << GetParam().input << "\"";
}
INSTANTIATE_TEST_SUITE_P(Trunk, LtrIds,
                         testing::Values(IdCase{"0", "0"}, IdCase{"5", "001005"},
                                         IdCase{"35300", "020254"}, IdCase{"250999", "120254"},
                                         IdCase{"100000", "101000"}, IdCase{"12005", "012005"},
                                         IdCase{"112254", "112254"}, IdCase{"0012005", "012005"},
                                         IdCase{"1234567", "120254"}, IdCase{"i5", "0"},
                                         IdCase{"1.5", "001001"}, IdCase{"", ""}));

TEST(TrunkIdRules, TypeChoosesTheRule) {
    for (int type : {1, 3, 4, 5}) EXPECT_EQ(NormaliseTrunkId(type, "71"), "000071") << type;
    EXPECT_EQ(NormaliseTrunkId(2, "i7"), "i00007");
    EXPECT_EQ(NormaliseTrunkId(6, "1-5"), "01-05");
    EXPECT_EQ(NormaliseTrunkId(7, "1-5"), "01-05");
    EXPECT_EQ(NormaliseTrunkId(8, "5"), "001005");
    // Types without a rule take the ID exactly as typed.
    for (int type : {0, 9, 10, 11}) {
        EXPECT_EQ(NormaliseTrunkId(type, "1-5"), "1-5") << type;
        EXPECT_EQ(NormaliseTrunkId(type, " 71"), " 71") << type;
    }
}

struct NoteCase {
    int type;
    const char* typed;
    const char* note;
};
class TrunkIdNotes : public testing::TestWithParam<NoteCase> {};
TEST_P(TrunkIdNotes, SayWhatTheRulesStored) {
    const NoteCase& c = GetParam();
    EXPECT_EQ(TrunkIdEntryNote(c.typed, NormaliseTrunkId(c.type, c.typed)), c.note)
        << "type " << c.type << " \"" << c.typed << '"';
}
INSTANTIATE_TEST_SUITE_P(
    Trunk, TrunkIdNotes,
    testing::Values(NoteCase{1, "712", ""}, NoteCase{1, " 42 ", ""}, NoteCase{2, "100-12", ""},
                    NoteCase{1, "65536", "ID 65536 does not fit this system: stored 0."},
                    NoteCase{1, "i12", "ID i12 was stored as 700012."},
                    NoteCase{1, "123.", "ID 123. was stored as 000123."},
                    NoteCase{6, "12345-1",
                             "ID 12345-1 does not fit this system: the ID was cleared."},
                    NoteCase{8, "35300", "ID 35300 was stored as 020254."}, NoteCase{1, "", ""}));

TEST(TrunkIdRules, CleaningABankDropsBlanksThenNormalises) {
    EXPECT_EQ(CleanTrunkId(1, " 1 2 3 "), "000123");
    EXPECT_EQ(CleanTrunkId(9, " 1 2 3 "), "123");
    EXPECT_EQ(CleanTrunkId(8, "   "), "");
    EXPECT_EQ(CleanTrunkId(6, "1 - 5"), "01-05");
}

TEST(TrunkIdRules, ValidityMatchesTheRules) {
    const std::pair<int, const char*> valid[] = {
        {1, "065535"}, {1, "765535"}, {6, "15-157"}, {10, "anything"}, {8, "0"}};
    const std::pair<int, const char*> invalid[] = {
        {1, "065536"}, {1, "i00001"}, {6, "16-157"}, {8, "220001"}};
    for (const auto& [type, id] : valid) EXPECT_TRUE(IsStoredTrunkIdValid(type, id)) << id;
    for (const auto& [type, id] : invalid) EXPECT_FALSE(IsStoredTrunkIdValid(type, id)) << id;
}

TEST(TrunkIdKeys, IdFieldFilter) {
    for (unsigned char key : {'0', '9', '.', 'i', 'I', '\b', '\r'})
        EXPECT_TRUE(IdKeyAccepted(1, key)) << int(key);
    for (unsigned char key : {'a', ' ', '"', ',', 'x', 'A'})
        EXPECT_FALSE(IdKeyAccepted(1, key)) << int(key);
    // "-" only for the types whose IDs have one.
    for (int type = 0; type <= 11; ++type)
        EXPECT_EQ(IdKeyAccepted(type, '-'), type == 2 || type == 6 || type == 7) << type;
}

TEST(TrunkIdKeys, TagFieldFilter) {
    for (unsigned char key : {'A', ' ', '~', '\b'}) EXPECT_TRUE(TagKeyAccepted(key)) << int(key);
    for (unsigned char key : {'"', ',', '\x7f', '\xe9'})
        EXPECT_FALSE(TagKeyAccepted(key)) << int(key);
}

TEST(TrunkTags, CutAlignCenter) {
    EXPECT_EQ(CutTag("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(AlignTagLeft("                 x"), "");
    EXPECT_EQ(CenterTag("  Fire Dept  "), "   Fire Dept");
    EXPECT_EQ(CenterTag("ABCDEFGHIJKLMNOPQ"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(CenterTag("    "), "");
}

TEST(TrunkTags, SanitisePastedText) {
    EXPECT_EQ(SanitiseTagText("Say \"hi\", ok\t"), "Say  hi ; ok");
    EXPECT_EQ(SanitiseTagText("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(SanitiseIdText(1, " 1-2a\"3 "), "123");
    EXPECT_EQ(SanitiseIdText(6, " 1-2a\"3 "), "1-23");
}

}  // namespace
}  // namespace vex
