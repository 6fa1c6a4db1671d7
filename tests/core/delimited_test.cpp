#include "core/delimited.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vex {
namespace {

std::vector<std::string> AllFields(std::string_view text) {
    DelimitedReader in(text);
    std::vector<std::string> fields;
    std::string field;
    while (in.readField(field)) fields.push_back(field);
    return fields;
}

using Fields = std::vector<std::string>;

TEST(DelimitedReader, FieldRules) {
    struct Case {
        std::string text;
        Fields fields;
    };
    const std::vector<Case> cases = {
        {"1,\"a,b\",\"  c  \", d ,\"\"", {"1", "a,b", "  c  ", "d", ""}},
        {" \r\n", {""}},
        {"\r\n", {""}},
        {"\"a\"xyz,b", {"a", "b"}},
        {"\"unterminated, still", {"unterminated, still"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a,\r\nb", {"a", "", "b"}},
        {"\t x y \t,z", {"x y", "z"}},
        {"\"two\r\nlines\",next", {"two\r\nlines", "next"}},
        {"", {}},
        {"last", {"last"}},
        {"x\r\n", {"x"}},
        {"\"q\"  \r\nnext", {"q", "next"}},
    };
    for (const Case& c : cases) EXPECT_EQ(AllFields(c.text), c.fields) << c.text;
}

TEST(DelimitedReader, LinesAndFieldsMix) {
    DelimitedReader in("HEAD,rest\r\n#$BT0 Bank, 1\r\n\"x\",\"y\"\r\nPRCH0 1");
    std::string s;
    ASSERT_TRUE(in.readField(s));
    EXPECT_EQ(s, "HEAD");
    ASSERT_TRUE(in.readLine(s));
    EXPECT_EQ(s, "rest");
    ASSERT_TRUE(in.readLine(s));
    EXPECT_EQ(s, "#$BT0 Bank, 1");
    EXPECT_EQ(in.lineNumber(), 3u);
    ASSERT_TRUE(in.readField(s));
    EXPECT_EQ(s, "x");
    ASSERT_TRUE(in.readField(s));
    EXPECT_EQ(s, "y");
    ASSERT_TRUE(in.readField(s));
    EXPECT_EQ(s, "PRCH0 1");
    EXPECT_TRUE(in.atEnd());
    EXPECT_FALSE(in.readField(s));
    EXPECT_FALSE(in.readLine(s));
}

TEST(DelimitedReader, HugeLineIsOnePass) {
    std::string text(4'000'000, 'x');
    text += ",\"";
    text.append(4'000'000, ',');
    text += "\",end";
    const Fields fields = AllFields(text);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0].size(), 4'000'000u);
    EXPECT_EQ(fields[1].size(), 4'000'000u);
    EXPECT_EQ(fields[2], "end");
}

TEST(DelimitedLines, SplitsOnEveryLineEnd) {
    std::vector<std::string> lines;
    ForEachLine("a\r\n\r\nb\nc\rd\r\n", [&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_EQ(lines, (Fields{"a", "", "b", "c", "d"}));
    lines.clear();
    ForEachLine("", [&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace vex
