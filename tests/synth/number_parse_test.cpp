#include "synth/number_parse.h"

#include <gtest/gtest.h>

#include <limits>

#include "os/errors.h"

namespace tv {
namespace {

TEST(ParseFloat, AcceptsTheGrammar) {
    const struct {
        const char* text;
        const char* separator;
        long double value;
    } cases[] = {
        {"12340", ".", 12340.0L}, {"  12340  ", ".", 12340.0L},
        {"+1.5", ".", 1.5L},      {"-1.5", ".", -1.5L},
        {"1.", ".", 1.0L},        {".5", ".", 0.5L},
        {"1e3", ".", 1000.0L},    {"1E+3", ".", 1000.0L},
        {"25e-1", ".", 2.5L},     {"-0", ".", 0.0L},
        {"1,5", ",", 1.5L},       {"1\u066B5", "\u066B", 1.5L},
        {"1.5", "", 1.5L},        {"1e-5000", ".", 0.0L},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseFloat(c.text, c.separator), c.value) << c.text;
    }
    EXPECT_EQ(parseFloat("1e5000", "."), std::numeric_limits<long double>::infinity());
}

TEST(ParseFloat, RoundsOnceToTheLongDoubleMantissa) {
    // Each text needs more than a double's 53 bits, or sits on a rounding
    // boundary of the 64-bit mantissa, so any read that goes through double, or
    // rounds twice, gives another value.
    const struct {
        const char* text;
        long double value;
    } cases[] = {
        {"12340.0000001", 12340.0000001L},
        {"0.1", 0.1L},
        {"9007199254740993", 9007199254740993.0L},           // 2^53 + 1
        {"18446744073709551617", 0x1p64L},                   // 2^64 + 1: halfway, ties to even
        {"18446744073709551619", 0x1.0000000000000004p64L},  // 2^64 + 3: ties to even, up
        // 1 + 2^-64 exactly halfway: ties to even; a digit more tips it upwards.
        {"1.0000000000000000000542101086242752217003726400434970855712890625", 1.0L},
        {"1.00000000000000000005421010862427522170037264004349708557128906250001",
         0x1.0000000000000002p0L},
        {"123.456e-2", 1.23456L},
        {"0.000000000000000000000000000001e30", 1.0L},
        {"1.18973149535723176502e4932", 1.18973149535723176502e4932L},
        {"3.6451995318824746025e-4951", 3.6451995318824746025e-4951L},  // the least subnormal
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseFloat(c.text, "."), c.value) << c.text;
    }
}

TEST(ParseFloat, RejectsEverythingElseWithTheTextInTheMessage) {
    const struct {
        const char* text;
        const char* separator;
    } cases[] = {
        {"", "."},    {" ", "."},      {".", "."},    {"e3", "."},    {"1e", "."},
        {"1e+", "."}, {"inf", "."},    {"nan", "."},  {"0x10", "."},  {"1.2.3", "."},
        {"1 2", "."}, {"--1", "."},    {"- 1", "."},  {"1,5", "."},   {"1.5", ","},
        {"1_0", "."}, {"\uFF11", "."}, {"1.5x", "."}, {"1e3.5", "."},
    };
    for (const auto& c : cases) {
        try {
            parseFloat(c.text, c.separator);
            ADD_FAILURE() << "accepted '" << c.text << "'";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(c.text) + "' は浮動小数点数ではありません");
        }
    }
}

TEST(ParseInt32, AcceptsSignedDecimalsInRange) {
    EXPECT_EQ(parseInt32("100"), 100);
    EXPECT_EQ(parseInt32(" -100 "), -100);
    EXPECT_EQ(parseInt32("+7"), 7);
    EXPECT_EQ(parseInt32("007"), 7);
    EXPECT_EQ(parseInt32("2147483647"), 2147483647);
    EXPECT_EQ(parseInt32("-2147483648"), std::numeric_limits<int32_t>::min());
}

TEST(ParseInt32, RejectsWithTheTextInTheMessage) {
    for (const char* text : {"2147483648", "-2147483649", "99999999999999999999", "", "  ", "-",
                             "1.5", "617.000000005", "1e3", "0x10", "12a", "1 2"}) {
        try {
            parseInt32(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' は整数ではありません");
        }
    }
}

TEST(ReadFrequency, RoundsHertzToNearestWithTiesToEven) {
    const struct {
        const char* text;
        int64_t hertz;
    } cases[] = {
        {"12340", 12340000000},   {"0.0000005", 0},
        {"0.0000015", 2},         {"0.0000025", 2},
        {"-0.0000025", -2},       {"0.0000024", 2},
        {"10.0000001", 10000000}, {"9000000000000", 9000000000000000000},
    };
    for (const auto& c : cases) EXPECT_EQ(readFrequency(c.text, ".").hertz, c.hertz) << c.text;
    EXPECT_EQ(readFrequency("10.0000001", ".").megahertz, 10.0000001);
}

TEST(ReadFrequency, RefusesHertzBeyondInt64) {
    for (const char* text : {"9300000000000", "-9300000000000", "1e5000", "-1e5000", "1e4931"}) {
        try {
            readFrequency(text, ".");
            ADD_FAILURE() << "accepted " << text;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "不正な浮動小数点数演算命令") << text;
        }
    }
}

}  // namespace
}  // namespace tv
