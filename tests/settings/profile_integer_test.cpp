#include "settings/profile_integer.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(ProfileInteger, ReadingRules) {
    struct Row {
        const char* text;
        std::optional<int32_t> value;
    };
    const Row rows[] = {
        {"0", 0},
        {"42", 42},
        {"+42", 42},
        {"-42", -42},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"0x1F", 31},
        {"0X1f", 31},
        {"0x2", 2},
        {"0xFFFFFFFF", -1},
        {"0x80000000", INT32_MIN},
        {"0x0000000F", 15},
        {"0x000000001", std::nullopt},  // nine digits
        {"0x", std::nullopt},           // two characters: read as a malformed decimal
        {"0xG", std::nullopt},
        {"$1F", 31},
        {"$ffffffff", -1},
        {"$", std::nullopt},
        {"$123456789", std::nullopt},
        {"-$1F", std::nullopt},
        {"-0x10", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"1 2", std::nullopt},
        {"12a", std::nullopt},
        {"1.0", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(parseProfileInteger(row.text), row.value) << '"' << row.text << '"';
    }
}

}  // namespace
}  // namespace tv
