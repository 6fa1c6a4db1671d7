#include "core/memfile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <functional>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/normalise.h"
#include "core/temp_folder.h"
#include "core/ten_bank_text.h"

namespace vex {
namespace {

using test::TempFolder;
using test::TenBankText;

std::string DataFile(const std::string& name) {
    std::string content;
    EXPECT_TRUE(ReadWholeFile(std::filesystem::path(VEX_TEST_DATA) / name, content)) << name;
    return content;
}

// An image as the editor makes it: normalised channels, tags with commas and blanks, every trunk
// table filled.
Image EditedImage() {
    Image image;
    ClearForStartup(image);
    SetStartupBankTags(image);
    for (int b = 0; b < kScannerBanks; ++b) {
        for (int s = 1; s <= ChannelsPerBank; ++s) {
            Channel& c = image.channel(b, s);
            if ((b + s) % 7 == 0) continue;  // some empty channels
            c[kFieldFrequency] = std::to_string(150 + b * 100 + s) + ".1250";
            c[kFieldTag] =
                s % 5 == 0 ? "Fire, Dispatch " + std::to_string(s) : " Tag" + std::to_string(s);
            c[kFieldTrunk] = FlagText(s % 2);
            c[kFieldDelay] = FlagText(s % 3 == 0);
            c[kFieldLockout] = FlagText(s % 4 == 0);
            c[kFieldComment] = s == 9 ? "comment, with comma" : "";
        }
    }
    image.BankTag = {"Police, County", "  Fire", "Bank: 3", "", "EMS", "Dummy"};
    for (int b = 0; b < kScannerBanks; ++b) {
        image.TrunkType[b] = std::to_string(b + 1);
        for (int f = 0; f < kTrunkSettingFields; ++f)
            image.TrunkSetting[b][f] = std::to_string((b * 3 + f) % 5);
        for (int k = 0; k < kTrunkBaseRows; ++k)
            for (int f = 0; f < kTrunkBaseFields; ++f)
                image.TrunkBase[b][k][f] = std::to_string(b + k + f);
        for (int r = 0; r < kTrunkIdUsedRows; ++r)
            image.TrunkId[b][r] = {std::to_string(1000 + r), "ID, tag " + std::to_string(r), "1",
                                   ""};
        image.ActiveBank[b] = static_cast<std::int16_t>(b % 2);
        image.PriorityChannel[b] = static_cast<std::int16_t>(AbsoluteChannel(b, 10 + b));
    }
    for (int i = 0; i < kScanListTagRows; ++i)
        for (int j = 0; j < kScanListTagCols; ++j)
            image.ScanListTag[i][j] = "L" + std::to_string(i * 10 + j);
    NormaliseTable(image, ImageOptions{});
    return image;
}

// What a read gives back from a written image: field 0 numbered, the Dummy bank emptied, the
// parts the file does not carry untouched.
Image AfterRoundTrip(Image image, const Image& before) {
    for (int b = 0; b < kBankCount; ++b)
        for (int s = 0; s <= ChannelsPerBank; ++s) {
            Channel& c = image.channel(b, s);
            if (b < kScannerBanks && s >= 1) {
                c[kFieldNumber] = std::to_string(AbsoluteChannel(b, s));
            } else {
                c = {"", "0", "", "", "", "", ""};
            }
        }
    image.TrunkType = before.TrunkType;
    return image;
}

TEST(MemFileRoundTrip, WriteReadWriteIsByteForByte) {
    const Image original = EditedImage();
    const std::string first = SerializeMemFile(original, ImageOptions{});
    Image read;
    ClearForStartup(read);
    const MemReadResult result = ParseMemFile(read, first, ImageOptions{});
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(SerializeMemFile(read, ImageOptions{}), first);
    EXPECT_EQ(read, AfterRoundTrip(original, original));
}

TEST(MemFileWrite, LayoutOfTheSections) {
    Image image;
    ClearForFileNew(image);
    SetNewFileBankTags(image);
    image.channel(0, 1) = {"", "0162.5500", "FIRE DISP", "0", "0", "1", ""};
    image.TrunkType = {"1", "1", "1", "1", "1"};
    image.PriorityChannel[0] = 1;
    const std::string text = SerializeMemFile(image, ImageOptions{});
    EXPECT_EQ(text.substr(0, text.find("\r\n")), kMemFirstLine);
    for (const char* line :
         {"\r\n1,\"0162.5500\",\"FIRE DISP\",\"0\",\"0\",\"1\",\"\"\r\n",
          "\r\n2,\"0\",\" \",\" \",\" \",\" \",\" \"\r\n",
          "\r\n250,\"0\",\" \",\" \",\" \",\" \",\" \"\r\n \r\n#$BT0 Bank 1\r\n",
          "\r\n#$BT5 Dummy\r\nTD0 ,\"\",\"\",\"\",\"\"\r\n",
          "\r\nTD249 ,\"\",\"\",\"\",\"\"\r\nTID0 "
          ",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n",
          "\r\nTSI0 ,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n", "\r\n#$TT0 1\r\n",
          "\r\n#$TBS0,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n",
          "\r\n#$LKM,\"0\",\"0\",\"0\",\"0\",\"0\"\r\nPRCH0 1\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_TRUE(text.ends_with("\r\nPRCH4 201\r\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 549);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 549);
}

TEST(MemFileWrite, QuotesAndLineBreaksCannotShiftLaterFields) {
    Image image = EditedImage();
    image.channel(0, 1)[kFieldTag] = "SAY \"HI\", OK";
    image.channel(0, 1)[kFieldComment] = "two\r\nlines";
    image.BankTag[1] = "Bank\r\nbroken";
    image.TrunkId[0][0][1] = "a\",\"b";
    const std::string text = SerializeMemFile(image, ImageOptions{});
    Image read;
    const MemReadResult result = ParseMemFile(read, text, ImageOptions{});
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(read.channel(0, 1)[kFieldTag], "SAY 'HI', OK");
    EXPECT_EQ(read.channel(0, 1)[kFieldComment], "two  lines");
    EXPECT_EQ(read.BankTag[1], "Bank  broken");
    EXPECT_EQ(read.TrunkId[0][0][1], "a','b");
    // Everything after them is intact.
    EXPECT_EQ(read.channel(0, 2), AfterRoundTrip(image, image).channel(0, 2));
    EXPECT_EQ(read.BankTag[2], image.BankTag[2]);
    EXPECT_EQ(read.TrunkId[0][1], image.TrunkId[0][1]);
    EXPECT_EQ(read.PriorityChannel, image.PriorityChannel);
}

TEST(MemFileRead, HandWrittenFileFillsExactlyTheRightFields) {
    const std::string v100 = DataFile("handwritten.mem");
    const std::string v101 = "VEXA MEM V1.01" + v100.substr(std::string("VEXA MEM V1.00").size());
    for (const std::string& text : {v100, v101}) {
        SCOPED_TRACE(text.substr(0, 14));
        Image image;
        ClearForStartup(image);
        image.channel(kDummyBank, 3)[kFieldFrequency] = "0162.0000";
        image.SearchEdgeTable[1][1] = "untouched";
        const MemReadResult result = ParseMemFile(image, text, ImageOptions{});
        ASSERT_TRUE(result.ok) << result.message;
        EXPECT_TRUE(result.tags.empty());  // option9 is 0
        EXPECT_EQ(image.channel(0, 1), (Channel{"1", "0162.5500", "FIRE DISP", "0", "0", "1", ""}));
        EXPECT_EQ(image.channel(0, 2), (Channel{"2", "0000.0000", " ", " ", " ", " ", " "}));
        EXPECT_EQ(image.channel(1, 27)[kFieldComment], "a comment");
        EXPECT_EQ(image.channel(kDummyBank, 3), (Channel{"", "0", "", "", "", "", ""}));
        EXPECT_EQ(image.BankTag, (std::array<std::string, 6>{"Bank 1", "  Spaced", "Police, County",
                                                             "Bank 4", "Bank 5", "Dummy"}));
        EXPECT_EQ(image.TrunkId[0][0], (TrunkIdRow{"1234", "Fire", "1", "x"}));
        EXPECT_EQ(image.TrunkId[1][7], (TrunkIdRow{"0-001", "Unit A", "", ""}));
        EXPECT_EQ(image.ScanListTag[3][0], "t0");
        EXPECT_EQ(image.ScanListTag[4][0], "");
        EXPECT_EQ(image.TrunkSetting[2],
                  (std::array<std::string, 10>{"1", "0", "1", "", "", "1", "", "5", "", ""}));
        // "0" (Unknown) and an empty type read as "0".
        EXPECT_EQ(std::vector<std::string>(image.TrunkType.begin(), image.TrunkType.begin() + 5),
                  (std::vector<std::string>{"1", "5", "0", "0", "9"}));
        EXPECT_EQ(image.TrunkBase[0][0],
                  (std::array<std::string, 8>{"11", "11", "11", "11", "12", "12", "14", "0"}));
        EXPECT_EQ(image.TrunkBase[1][0][0], "0851.0125");
        EXPECT_EQ(image.TrunkBase[1][0][1], "012.50");
        EXPECT_EQ(image.TrunkBase[1][0][2], "380");
        EXPECT_EQ(image.ActiveBank, (std::array<std::int16_t, 5>{1, 0, 1, 0, 1}));
        EXPECT_EQ(image.PriorityChannel, (std::array<std::int16_t, 5>{1, 77, 101, 151, 250}));
        EXPECT_EQ(image.SearchEdgeTable[1][1], "untouched");
    }
}

TEST(MemFileRead, TagsOfferedToThePickListsWhenOption9) {
    ImageOptions options;
    options.option9 = 1;
    Image image;
    std::vector<int> progress;
    const MemReadResult result = ParseMemFile(image, DataFile("handwritten.mem"), options,
                                              [&](int percent) { progress.push_back(percent); });
    ASSERT_TRUE(result.ok);
    ASSERT_EQ(result.tags.size(), 250u);
    EXPECT_EQ(result.tags[76].bank, 1);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
}

TEST(MemFileRead, TrunkTypeAndPriorityLines) {
    const std::string good = DataFile("handwritten.mem");
    struct Case {
        std::string from, to;
        int bank;
        std::string type;
        std::int16_t priority;
    };
    const std::vector<Case> cases = {
        {"#$TT1 5", "#$TT1 2.5", 1, "2.5", 77},     {"#$TT1 5", "#$TT1 -3", 1, "-3", 77},
        {"#$TT1 5", "#$TT1 7abc", 1, "7", 77},      {"#$TT1 5", "#$TT1", 1, "0", 77},
        {"#$TT1 5", "junk", 1, "untouched", 77},    {"PRCH1 77", "PRCH1   88  ", 1, "5", 88},
        {"PRCH1 77", "PRCH1 x", 1, "5", 0},         {"PRCH1 77", "P", 1, "5", 0},
        {"PRCH1 77", "PRCH1 99999", 1, "5", 32767},
    };
    for (const Case& c : cases) {
        std::string text = good;
        text.replace(text.find(c.from), c.from.size(), c.to);
        Image image;
        image.TrunkType[c.bank] = "untouched";
        const MemReadResult result = ParseMemFile(image, text, ImageOptions{});
        ASSERT_TRUE(result.ok) << c.to << ": " << result.message;
        EXPECT_EQ(image.TrunkType[c.bank], c.type) << c.to;
        EXPECT_EQ(image.PriorityChannel[c.bank], c.priority) << c.to;
    }
}

TEST(MemFileRead, SignatureAnywhereInTheFirstFieldButExactlyThis) {
    std::string text = DataFile("handwritten.mem");
    text.replace(0, text.find("\r\n"), "My copy of VEXA MEM V1.01 backup");
    Image image;
    EXPECT_TRUE(ParseMemFile(image, text, ImageOptions{}).ok);
    for (const char* other :
         {"vexa mem v1.00\r\n", "DURMAN MEM V1.00\r\n", "VEXA MEM V1.02 - x\r\n"})
        EXPECT_EQ(ParseMemFile(image, other, ImageOptions{}).message,
                  "File is not VEXA compatible.");
}

// A damaged file names the line where the damage is; everything before it has been read and
// nothing after it.
struct DamageCase {
    const char* name;
    std::function<std::string(const std::string&)> damage;
    std::string message;
};

class MemFileDamage : public ::testing::TestWithParam<DamageCase> {};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}
std::string UpTo(const std::string& text, const std::string& marker) {
    return text.substr(0, text.find(marker));
}

TEST_P(MemFileDamage, NamesTheLineAndKeepsWhatCameBefore) {
    const std::string good = DataFile("handwritten.mem");
    Image full;
    ASSERT_TRUE(ParseMemFile(full, good, ImageOptions{}).ok);
    Image image;
    const MemReadResult result = ParseMemFile(image, GetParam().damage(good), ImageOptions{});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, GetParam().message);
    const std::string lineText = GetParam().message.substr(kMsgNotValidPrefix.size());
    EXPECT_EQ(result.damagedLine, std::stoi(lineText));
    // A file damaged in its signature line is not read at all.
    EXPECT_EQ(result.imageChanged, result.damagedLine > 1);
    // Channel 77 (line 78) is read exactly when the damage lies after it.
    if (result.damagedLine > 78) {
        EXPECT_EQ(image.channel(1, 27), full.channel(1, 27));
    } else {
        EXPECT_NE(image.channel(1, 27), full.channel(1, 27));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, MemFileDamage,
    ::testing::Values(
        DamageCase{"CutInTheSignature",
                   [](const std::string&) { return std::string("VEXA MEM V1.00 - x"); },
                   "Not a valid file! Line: 1 (the file ends inside this line)"},
        DamageCase{"Empty", [](const std::string&) { return std::string(); },
                   "Not a valid file! Line: 1 (the file is empty)"},
        DamageCase{"EndsAfterTheSignature",
                   [](const std::string&) { return std::string("VEXA MEM V1.00\r\n"); },
                   "Not a valid file! Line: 2 (the file ends before channel 1)"},
        DamageCase{
            "ChannelFieldTooMany",
            [](const std::string& t) { return Replace(t, "\r\n78,\"", "\r\n78,\"extra\",\""); },
            "Not a valid file! Line: 79 (channel 78: 8 fields where 7 belong)"},
        DamageCase{"ChannelFieldTooFew",
                   [](const std::string& t) { return Replace(t, "\r\n78,\"", "\r\n\""); },
                   "Not a valid file! Line: 79 (channel 78: 6 fields where 7 belong)"},
        DamageCase{"QuoteNotClosed",
                   [](const std::string& t) { return Replace(t, "\"a comment\"", "\"a comment"); },
                   "Not a valid file! Line: 78 (channel 77: a quoted value is not closed)"},
        DamageCase{"ChannelLineMissing",
                   [](const std::string& t) {
                       const std::size_t at = t.find("\r\n78,");
                       return t.substr(0, at) + t.substr(t.find("\r\n", at + 2));
                   },
                   "Not a valid file! Line: 251 (channel 250: 1 field where 7 belong)"},
        DamageCase{"EndsBeforeTheBankTags", [](const std::string& t) { return UpTo(t, "#$BT3"); },
                   "Not a valid file! Line: 256 (the file ends before #$BT3)"},
        DamageCase{"TrunkIdFieldTooMany",
                   [](const std::string& t) { return Replace(t, "\r\nTD57 ,", "\r\nTD57 ,\"\","); },
                   "Not a valid file! Line: 316 (TD57: 6 fields where 5 belong)"},
        DamageCase{"TrunkIdLineMissing",
                   [](const std::string& t) { return Replace(t, "\r\nTD57 ,", "\r\nXX ,"); },
                   "Not a valid file! Line: 316 (TD57: the line does not begin with TD)"},
        DamageCase{"EndsBeforeTheScanListTags",
                   [](const std::string& t) { return UpTo(t, "TID3"); },
                   "Not a valid file! Line: 512 (the file ends before TID3)"},
        DamageCase{"EndsBeforeTheTrunkSettings",
                   [](const std::string& t) { return UpTo(t, "TSI2"); },
                   "Not a valid file! Line: 521 (the file ends before TSI2)"},
        DamageCase{"EndsBeforeTheBaseRows", [](const std::string& t) { return UpTo(t, "#$TBS2"); },
                   "Not a valid file! Line: 535 (the file ends before #$TBS2)"},
        DamageCase{"EndsBeforeTheActiveBanks",
                   [](const std::string& t) { return UpTo(t, "#$LKM"); },
                   "Not a valid file! Line: 544 (the file ends before #$LKM)"},
        DamageCase{"LastLineWithoutItsEnd",
                   [](const std::string& t) { return t.substr(0, t.size() - 2); },
                   "Not a valid file! Line: 549 (the file ends inside this line)"}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

// Arbitrary bytes are the fuzzer's; a signature line of 5 MB without any comma is read once.
TEST(MemFileRead, HugeSignatureLine) {
    Image image;
    EXPECT_FALSE(ParseMemFile(image, std::string(5'000'000, 'V'), ImageOptions{}).ok);
}

// Every value is cut to its size as it is read, so a damaged or hostile file cannot hand
// megabytes to the windows; the fields after it stay where they belong.
TEST(MemFileRead, ValuesAreCutToTheirSize) {
    const std::string huge(1'000'000, 'T');
    std::string text = DataFile("handwritten.mem");
    text = Replace(text, "\"FIRE DISP\"", "\"" + huge + "\"");
    text = Replace(text, "\"a comment\"", "\"" + huge + "\"");
    text = Replace(text, "#$BT1   Spaced", "#$BT1 " + huge);
    text = Replace(text, "TD0 ,\"1234\",\"Fire\"", "TD0 ,\"" + huge + "\",\"" + huge + "\"");
    text = Replace(text, "#$TT4 9", "#$TT4 9" + huge);
    Image image;
    const MemReadResult result = ParseMemFile(image, text, ImageOptions{});
    ASSERT_TRUE(result.ok) << result.message.substr(0, 200);
    EXPECT_EQ(image.channel(0, 1),
              (Channel{"1", "0162.5500", std::string(16, 'T'), "0", "0", "1", ""}));
    EXPECT_EQ(image.channel(1, 27)[kFieldComment], std::string(255, 'T'));
    EXPECT_EQ(image.BankTag[1], std::string(16, 'T'));
    EXPECT_EQ(image.TrunkId[0][0],
              (TrunkIdRow{std::string(32, 'T'), std::string(16, 'T'), "1", "x"}));
    EXPECT_EQ(image.TrunkType[4], "9");
    EXPECT_EQ(image.PriorityChannel[4], 250);
}

TEST(MemFileWrite, BareExtensionGetsAName) {
    EXPECT_EQ(ApplyBareExtensionRule(".R3C"), std::filesystem::path("bct8.R3C"));
    EXPECT_EQ(ApplyBareExtensionRule("/x/.mem"), std::filesystem::path("/x/bct8.mem"));
    EXPECT_EQ(ApplyBareExtensionRule(".memo"), std::filesystem::path(".memo"));
}

TEST(MemFileWrite, FailedWriteLeavesTheOldFileIntact) {
    // A file-size limit makes the write itself fail part way, for any user.
    TempFolder folder;
    ASSERT_TRUE(WriteFileAtomically(folder / "a.mem", "old content").ok);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const MemWriteResult result = WriteMemFile(EditedImage(), folder / "a.mem", ImageOptions{});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
    std::string content;
    ASSERT_TRUE(ReadWholeFile(folder / "a.mem", content));
    EXPECT_EQ(content, "old content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(MemFileNames, SaveSuffixOpenFilterAndDialogFilters) {
    const std::vector<std::pair<std::string, std::string>> suffix = {
        {"scan", "scan.mem"},         {"scan.mem", "scan.mem"}, {"SCAN.MEM", "SCAN.MEM"},
        {"scan.Mem", "scan.Mem.mem"}, {"a.memo", "a.memo"},     {"/home/u/x", "/home/u/x.mem"},
    };
    for (const auto& [in, out] : suffix) EXPECT_EQ(WithMemSuffix(in), out) << in;
    for (const char* name : {"a.mem", "A.MEM", "old.R3C", "x.mem.bak"})
        EXPECT_TRUE(IsOpenableMemName(name)) << name;
    for (const char* name : {"a.txt", "a.Mem", "a.r3c", "", "mem"})
        EXPECT_FALSE(IsOpenableMemName(name)) << name;
}

TEST(MemFileSibling, FirstFiveBanksAreTaken) {
    Image image = EditedImage();
    const MemReadResult result =
        ParseSiblingMemFile(image, TenBankText("PELIXO 780 MEM V1.07"), ImageOptions{});
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(image.channel(0, 1), (Channel{"1", "101.0000", "B0S1", "1", "0", "1", "c"}));
    EXPECT_EQ(image.channel(4, 50), (Channel{"250", "350.0000", "B4S50", "1", "0", "1", "c"}));
    EXPECT_EQ(image.channel(kDummyBank, 1), (Channel{"", "0", "", "", "", "", ""}));
    EXPECT_EQ(image.BankTag[4], "Name4");
    EXPECT_EQ(image.BankTag[kDummyBank], "Dummy");
    EXPECT_EQ(image.TrunkId[4][49], (TrunkIdRow{"4049", "4049", "4049", "4049"}));
    EXPECT_EQ(image.TrunkId[0][50], EditedImage().TrunkId[0][50]);
    EXPECT_EQ(image.ScanListTag[9][9], "L9");
    EXPECT_EQ(image.TrunkSetting[4][9], "4");
    EXPECT_EQ(image.TrunkType[4], "5");
    EXPECT_EQ(image.TrunkBase[4][2][7], "42");
    EXPECT_EQ(image.PriorityChannel, (std::array<std::int16_t, 5>{1, 51, 101, 151, 201}));
    EXPECT_EQ(image.ActiveBank, (std::array<std::int16_t, 5>{0, 0, 0, 0, 0}));
}

TEST(MemFileSibling, OlderVersionsHaveNoTrunkIdSection) {
    Image image = EditedImage();
    const MemReadResult result =
        ParseSiblingMemFile(image, TenBankText("PELIXO 780 MEM V1.02", 100, false), ImageOptions{});
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(image.TrunkId[0][0], EditedImage().TrunkId[0][0]);
    EXPECT_EQ(image.TrunkType[0], "1");
}

TEST(MemFileSibling, Messages) {
    Image image = EditedImage();
    const Image before = image;
    EXPECT_EQ(ParseSiblingMemFile(image, "VEXA MEM V1.00\r\n", ImageOptions{}).message,
              "This is not an PELIXO file! For DURMAN mem files select FILE _ OPEN");
    EXPECT_EQ(ParseSiblingMemFile(image, "PELIXO 780 MEM V1.08\r\n", ImageOptions{}).message,
              "File is not compatible.");
    EXPECT_EQ(image, before);
    const std::string good = TenBankText("PELIXO 780 MEM V1.05");
    for (const char* section : {"#$BT3", "TD503", "TID4", "TSI3", "#$TT2", "#$TBS4", "SRCH5"}) {
        const MemReadResult cut =
            ParseSiblingMemFile(image, good.substr(0, good.find(section)), ImageOptions{});
        EXPECT_TRUE(cut.message.starts_with("Not a valid file! Line: ")) << section;
    }
    TempFolder folder;
    EXPECT_TRUE(ReadSiblingMemFile(image, folder / "none.mem", ImageOptions{}).fileMissing);
}

}  // namespace
}  // namespace vex
