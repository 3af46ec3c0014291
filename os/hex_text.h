#pragma once
// Hexadecimal texts: the latch words in the window, the header and tvcalc; the
// received bytes; the read-back's words; USB ids; the tests' call logs. One
// routine makes every form, so they agree on digits, padding and case.
#include <cstdint>
#include <string>

namespace tv {

enum class HexCase { Upper, Lower };

// The digits of `value`, with leading zeros up to `minDigits` (at most 8):
// (0xC8, 4) -> "00C8", (0x1F9, 1) -> "1F9", (0x0403, 4, Lower) -> "0403".
std::string hexDigits(uint32_t value, int minDigits, HexCase letters = HexCase::Upper);

// Exactly 8 uppercase digits; a negative value shows its two's complement.
std::string hexText(int32_t value);

// Two uppercase digits of a byte: 0x0A -> "0A".
std::string hexByte(uint8_t value);

// "0x" and 8 uppercase digits: 0xD0 -> "0x000000D0".
std::string hexWord(uint32_t value);

// "0x" and the uppercase digits without leading zeros, as C writes it: 0x1F9 -> "0x1F9".
std::string hexLiteral(uint32_t value);

}  // namespace tv
