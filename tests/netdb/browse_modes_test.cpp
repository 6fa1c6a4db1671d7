// The browser's ZIP-code entry, the log-in retry count, and the XML checks of the File menu.
#include <gtest/gtest.h>

#include "core/temp_folder.h"
#include "netdb/browse_modes.h"
#include "netdb/messages.h"
#include "netdb/xml_file.h"
#include "netdb/xml_load.h"

namespace vex::netdb {
namespace {

struct ZipCase {
    const char* typed;
    std::int32_t zip;  // 0: refused
};

class ZipTest : public testing::TestWithParam<ZipCase> {};

TEST_P(ZipTest, ParsesFiveDigits) {
    const auto zip = ParseZipCode(GetParam().typed);
    if (GetParam().zip == 0)
        EXPECT_FALSE(zip) << *zip;
    else
        EXPECT_EQ(zip.value_or(-1), GetParam().zip);
}

INSTANTIATE_TEST_SUITE_P(Zips, ZipTest,
                         testing::Values(ZipCase{"12345", 12345}, ZipCase{" 02134 ", 2134},
                                         ZipCase{"12345-6789", 12345}, ZipCase{"1234", 0},
                                         ZipCase{"123456", 0}, ZipCase{"12a45", 0},
                                         ZipCase{"12345-67", 0}, ZipCase{"-1234", 0},
                                         ZipCase{"", 0}));

TEST(LoginRetryTest, WarnsFromTheTenthAttemptAndStopsAtTheLimit) {
    LoginRetry retry;
    EXPECT_TRUE(retry.failed(false, "INIT not ok"));
    EXPECT_NE(retry.status().find(kMsgNoResponse), std::string::npos);
    for (int attempt = 1; attempt < kRetryWarnAfter; ++attempt) {
        ASSERT_TRUE(retry.tick());
        ASSERT_TRUE(retry.failed(false, "INIT not ok"));
        ASSERT_NE(retry.status(), kMsgNoResponseRepeated) << attempt;
    }
    ASSERT_TRUE(retry.tick());
    EXPECT_TRUE(retry.failed(false, "INIT not ok"));
    EXPECT_EQ(retry.status(), kMsgNoResponseRepeated);
    while (retry.attempts() < kRetryLimit) ASSERT_TRUE(retry.tick());
    EXPECT_FALSE(retry.failed(false, "INIT not ok"));
    EXPECT_FALSE(retry.tick());
    EXPECT_EQ(retry.attempts(), kRetryLimit);
}

struct XmlCase {
    const char* name;
    std::string text;
    int line, position;  // 0, 0: parses
    const char* reason;
};

class XmlCheckTest : public testing::TestWithParam<XmlCase> {};

TEST_P(XmlCheckTest, FindsTheFirstFault) {
    const XmlCheck check = CheckXmlText(GetParam().text);
    EXPECT_EQ(check.ok, GetParam().line == 0);
    EXPECT_EQ(check.line, GetParam().line);
    EXPECT_EQ(check.position, GetParam().position);
    EXPECT_NE(check.reason.find(GetParam().reason), std::string::npos) << check.reason;
}

INSTANTIATE_TEST_SUITE_P(
    Xml, XmlCheckTest,
    testing::Values(XmlCase{"Good", "<a>\n<b/>\n</a>", 0, 0, ""},
                    XmlCase{"Mismatch", "<a>\n  <b></c>\n</a>", 2, 8, "mismatch"},
                    XmlCase{"Unclosed", "<a>\n<b>", 2, 3, ""},
                    XmlCase{"FirstLine", "<a x=1/>", 1, 6, "attribute"},
                    XmlCase{"NoRoot", "<!-- nothing -->", 1, 17, "No document element"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmlCheckTest, TooLargeIsRefusedBeforeParsing) {
    const XmlCheck check = CheckXmlText(std::string(kMaxXmlBytes + 1, ' '));
    EXPECT_FALSE(check.ok);
    EXPECT_NE(check.reason.find("larger than"), std::string::npos);
}

TEST(XmlFileTest, AFolderIsRefusedWithItsName) {
    vex::test::TempFolder folder;
    std::string text;
    const XmlCheck check = ReadXmlFile(folder.path(), text);
    EXPECT_FALSE(check.ok);
    EXPECT_NE(check.reason.find(folder.path().string()), std::string::npos);
}

}  // namespace
}  // namespace vex::netdb
