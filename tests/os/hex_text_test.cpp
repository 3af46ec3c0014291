#include "os/hex_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

namespace tv {
namespace {

TEST(HexText, EightUppercaseDigitsTwosComplement) {
    EXPECT_EQ(hexText(200), "000000C8");
    EXPECT_EQ(hexText(0x00ABCDEF), "00ABCDEF");
    EXPECT_EQ(hexText(-1), "FFFFFFFF");
    EXPECT_EQ(hexText(-16), "FFFFFFF0");
    EXPECT_EQ(hexText(std::numeric_limits<int32_t>::min()), "80000000");
}

// Every other form the program and its logs show, each from the one routine.
TEST(HexText, EachFormPadsAndCasesAsItsReadersExpect) {
    const std::pair<std::string, std::string> cases[] = {
        {hexByte(0x0A), "0A"},
        {hexByte(0xFF), "FF"},
        {hexWord(0xD0), "0x000000D0"},
        {hexWord(0xFFFFFFFF), "0xFFFFFFFF"},
        {hexLiteral(0), "0x0"},
        {hexLiteral(0x1F9), "0x1F9"},
        {hexLiteral(0xC0000000), "0xC0000000"},
        {hexDigits(0x0403, 4, HexCase::Lower), "0403"},
        {hexDigits(0xABCD, 4, HexCase::Lower), "abcd"},
        {hexDigits(0x12345, 4), "12345"},  // a wider value is never cut
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace tv
