#include "os/utf8_pieces.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tv {
namespace {

// "設" is E8 A8 AD, "①" E2 91 A0, "𝄞" F0 9D 84 9E.
TEST(Utf8Pieces, HoldsBackOnlyACharacterBegunButNotEnded) {
    struct Row {
        std::string_view bytes;
        size_t whole;
    };
    const Row rows[] = {
        {"", 0},
        {"ab\n", 3},
        {"\xE8\xA8\xAD", 3},              // whole character
        {"a\xE8", 1},                     // lead byte alone
        {"a\xE8\xA8", 1},                 // two of three
        {"\xE2\x91\xA0\xF0\x9D\x84", 3},  // three of four after a whole one
        {"\xF0\x9D\x84\x9E", 4},
        {"\xC3", 0},  // two-byte lead at the very start
        // Nothing that follows could mend these: they go out as they are.
        {"a\x80", 2},                 // stray continuation byte
        {"a\xFF", 2},                 // never a lead byte
        {"a\xC0", 2},                 // overlong lead
        {"\x80\x80\x80\x80\x80", 5},  // continuations with no lead in reach
        {"\xE8\xA8\xAD\xA8", 4},      // one continuation too many
    };
    for (const Row& row : rows) {
        EXPECT_EQ(wholeUtf8Length(row.bytes), row.whole) << testing::PrintToString(row.bytes);
    }
}

}  // namespace
}  // namespace tv
