#include "core/normalise.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/frequency.h"

namespace vex {
namespace {

Channel MakeChannel(const std::string& frequency, const std::string& tag = "TAG",
                    const std::string& trunk = "1", const std::string& delay = "1",
                    const std::string& lockout = "0", const std::string& comment = "note") {
    return {"", frequency, tag, trunk, delay, lockout, comment};
}

TEST(NormaliseTable, FlagsTagsAndCommentAndAnEmptyChannelOnlyGetsItsFrequencyCleared) {
    Image image;
    ClearForStartup(image);
    image.channel(0, 1) = MakeChannel("0.0", "KEEP", "On", "x", "", "c");
    image.channel(2, 7) = MakeChannel("", "ALSO", "1", "1", "1", "");
    image.channel(0, 5) = MakeChannel("851 MHz", "ABCDEFGHIJKLMNOPQRST", "On", "", "1", "kept");
    NormaliseTable(image, ImageOptions{});
    EXPECT_EQ(image.channel(0, 1), MakeChannel("0000.0000", "KEEP", "On", "x", "", "c"));
    EXPECT_EQ(image.channel(2, 7), MakeChannel("0000.0000", "ALSO", "1", "1", "1", ""));
    EXPECT_EQ(image.channel(0, 5),
              MakeChannel("0851.0000", "ABCDEFGHIJKLMNOP", "0", "0", "1", "kept"));
}

TEST(NormaliseTable, TrunkFlagFollowsTheBanksTrunkType) {
    struct Case {
        std::string type;
        std::string frequency;
        int option5;
        std::string trunk;
    };
    const std::vector<Case> cases = {
        {"5", "150", 0, "1"},   {"5", "851", 0, "0"},  {"5", "851", 1, "1"},   {"5", "136", 0, "1"},
        {"5", "174.9", 0, "1"}, {"5", "175", 0, "0"},  {"1", "806", 0, "1"},   {"1", "805", 0, "0"},
        {"1", "956.9", 0, "1"}, {"2", "850", 0, "0"},  {"2", "851", 0, "1"},   {"3", "900", 0, "1"},
        {"4", "406", 0, "1"},   {"4", "405", 0, "0"},  {"4", "512.5", 0, "1"}, {"6", "136", 0, "0"},
        {"6", "137", 0, "1"},   {"7", "1240", 0, "0"}, {"8", "1240", 0, "1"},  {"", "150", 0, "1"},
        {"0", "150", 0, "1"},   {"11", "150", 0, "1"}, {"05", "851", 0, "1"},  // compared as text
    };
    for (const Case& c : cases) {
        Image image;
        ClearForStartup(image);
        image.TrunkType[3] = c.type;
        image.channel(3, 9) = MakeChannel(c.frequency);
        ImageOptions options;
        options.option5 = c.option5;
        NormaliseTable(image, options);
        EXPECT_EQ(image.channel(3, 9)[kFieldTrunk], c.trunk)
            << "type " << c.type << " at " << c.frequency << " option5 " << c.option5;
    }
}

TEST(NormaliseTable, EveryStoredFrequencyIsCanonicalAndASecondRunChangesNothing) {
    Image image;
    ClearForStartup(image);
    const char* texts[] = {"",    "0",   "25",     "-3",    "512",
                           "600", "1e3", "162.5x", "99999", " 851.0125"};
    int i = 0;
    for (int b = 0; b < kBankCount; ++b)
        for (int s = 1; s <= ChannelsPerBank; ++s)
            image.channel(b, s)[kFieldFrequency] = texts[i++ % std::size(texts)];
    NormaliseTable(image, ImageOptions{});
    for (int b = 0; b < kBankCount; ++b)
        for (int s = 1; s <= ChannelsPerBank; ++s)
            EXPECT_TRUE(IsCanonicalFrequency(image.channel(b, s)[kFieldFrequency]))
                << image.channel(b, s)[kFieldFrequency];
    const Image once = image;
    NormaliseTable(image, ImageOptions{});
    EXPECT_EQ(image, once);
}

}  // namespace
}  // namespace vex
