#include "synth/number_parse.h"

#include <gtest/gtest.h>

#include <limits>

#include "synth/errors.h"

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
