#include "synth/number_format.h"

#include <gtest/gtest.h>

#include <limits>

#include "os/error_box.h"

namespace tv {
namespace {

TEST(FloatText, FifteenDigitsFixedOrScientific) {
    const struct {
        long double value;
        const char* text;
    } cases[] = {
        {123.4, "123.4"},
        {200, "200"},
        {0.2L * 1000.0L, "200"},
        {617, "617"},
        {0, "0"},
        {-0.0L, "0"},
        {-2.5, "-2.5"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {200.0 / 3, "66.6666666666667"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {0.00009999, "9.999E-5"},
        {1.5e-5, "1.5E-5"},
        {-1.5e-5, "-1.5E-5"},
        {1e20, "1E20"},
        {123456789012345, "123456789012345"},
        {1e15, "1E15"},
        // Rounding to 15 digits carries into the next power of ten.
        {999999999999999.5L, "1E15"},
        {0.000099999999999999999L, "0.0001"},
        // Exact ties at the 15th digit go to the even digit.
        {1234567890123455.0L, "1.23456789012346E15"},
        {1234567890123445.0L, "1.23456789012344E15"},
        {123456789012344.5L, "123456789012344"},
        {123456789012345.5L, "123456789012346"},
        {std::numeric_limits<long double>::infinity(), "INF"},
    };
    for (const auto& c : cases) EXPECT_EQ(floatText(c.value, "."), c.text) << c.text;
}

TEST(FloatText, WritesTheSeparatorPassedIn) {
    EXPECT_EQ(floatText(123.4, ","), "123,4");
    EXPECT_EQ(floatText(1.5e-5, ","), "1,5E-5");
    EXPECT_EQ(floatText(0.0001, "\u066B"), "0\u066B0001");
}

TEST(ErrorBoxText, AddsAFullStopAfterBytesThatSortAfterTheDot) {
    EXPECT_EQ(errorBoxText("0 による浮動小数点数除算"), "0 による浮動小数点数除算.");
    EXPECT_EQ(errorBoxText("'x' は整数ではありません"), "'x' は整数ではありません.");
    EXPECT_EQ(errorBoxText("Done"), "Done.");
    EXPECT_EQ(errorBoxText("a/"), "a/.");  // '/' is 0x2F
    EXPECT_EQ(errorBoxText("Done."), "Done.");
    EXPECT_EQ(errorBoxText("(0 to 8191)"), "(0 to 8191)");
    EXPECT_EQ(errorBoxText("a-"), "a-");
    EXPECT_EQ(errorBoxText(""), "");
}

}  // namespace
}  // namespace tv
