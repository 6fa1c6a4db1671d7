#include "core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vex {
namespace {

constexpr CliOption kOptions[] = {
    kHelpOption,
    kVersionOption,
    {"port", 'p', "DEVICE", "the serial device"},
    {"fault", 0, "FAULT", "a fault to inject"},
    {"quiet", 0, {}, "say nothing"},
};

struct ParseCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    std::string error;
};

class CommandLineParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParse, GivesOptionsArgumentsAndOneLineProblems) {
    const ParseCase& c = GetParam();
    const CliArgs parsed = ParseCommandLine(c.args, kOptions);
    EXPECT_EQ(parsed.error, c.error);
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    EXPECT_EQ(parsed.positional, c.positional);
    EXPECT_EQ(parsed.options, c.options);
}

using Opts = std::vector<std::pair<std::string, std::string>>;

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineParse,
    ::testing::Values(
        ParseCase{"ValueApartJoinedAndShort",
                  {"--port", "/dev/a", "--port=/dev/b", "-p", "/dev/c"},
                  {},
                  Opts{{"port", "/dev/a"}, {"port", "/dev/b"}, {"port", "/dev/c"}},
                  ""},
        ParseCase{"RepeatedKeepsOrder",
                  {"--fault", "err@3", "x.mem", "--fault", "no-reply"},
                  {"x.mem"},
                  Opts{{"fault", "err@3"}, {"fault", "no-reply"}},
                  ""},
        ParseCase{
            "ValueMayLookLikeAnOption", {"--port", "--quiet"}, {}, Opts{{"port", "--quiet"}}, ""},
        ParseCase{"DashAloneIsAnArgument", {"-", "--quiet"}, {"-"}, Opts{{"quiet", ""}}, ""},
        ParseCase{
            "AfterDoubleDashAllAreArguments", {"--", "--quiet", "-p"}, {"--quiet", "-p"}, {}, ""},
        ParseCase{"UnknownWithValueNamesOnlyTheOption",
                  {"--colour=red"},
                  {},
                  {},
                  "unknown option '--colour'"},
        ParseCase{"UnknownShort", {"-x"}, {}, {}, "unknown option '-x'"},
        ParseCase{"ShortNotGrouped", {"-hV"}, {}, {}, "unknown option '-hV'"},
        ParseCase{"FlagWithValue", {"--quiet=yes"}, {}, {}, "option '--quiet' takes no value"},
        ParseCase{"HelpWinsOverAnEarlierProblem",
                  {"--colour", "--help"},
                  {},
                  Opts{{"help", ""}},
                  "unknown option '--colour'"},
        ParseCase{
            "FirstProblemIsKept", {"--colour", "--port"}, {}, {}, "unknown option '--colour'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, ValueIsTheLastGiven) {
    const CliArgs parsed = ParseCommandLine({"--port", "a", "--port", "b"}, kOptions);
    EXPECT_EQ(parsed.value("port"), "b");
    EXPECT_EQ(parsed.values("port"), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(parsed.value("fault"));
    EXPECT_FALSE(parsed.has("quiet"));
}

TEST(CommandLine, OptionListAlignsAndLeavesOutTheUnlisted) {
    constexpr CliOption options[] = {
        kHelpOption, {"dir", 0, "FOLDER", "the program folder"}, {"secret", 0, "FILE", {}}};
    EXPECT_EQ(OptionList(options),
              "  -h, --help        show this text and end\n"
              "      --dir FOLDER  the program folder\n");
}

}  // namespace
}  // namespace vex
