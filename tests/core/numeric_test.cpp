#include "core/numeric.h"

#include <gtest/gtest.h>

namespace vex {

TEST(NumericValue, ReadsLikeTheFilesExpect) {
    EXPECT_DOUBLE_EQ(NumericValue("  162.55"), 162.55);
    EXPECT_DOUBLE_EQ(NumericValue("0162.5500"), 162.55);
    EXPECT_DOUBLE_EQ(NumericValue("12abc"), 12);
    EXPECT_DOUBLE_EQ(NumericValue("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(NumericValue("-7"), -7);
    EXPECT_DOUBLE_EQ(NumericValue("Empty"), 0);
    EXPECT_DOUBLE_EQ(NumericValue(""), 0);
    EXPECT_DOUBLE_EQ(NumericValue("."), 0);
    EXPECT_DOUBLE_EQ(NumericValue("5."), 5);
    EXPECT_DOUBLE_EQ(NumericValue(".5"), 0.5);
}

TEST(IntegerValue, TruncatesTowardsZeroAndClamps) {
    EXPECT_EQ(IntegerValue("512.9"), 512);
    EXPECT_EQ(IntegerValue("-3.7"), -3);
    EXPECT_EQ(IntegerValue("99999999999999999999"), 2147483647);
}

}  // namespace vex
