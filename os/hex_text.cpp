#include "os/hex_text.h"

#include <algorithm>

namespace tv {

std::string hexDigits(uint32_t value, int minDigits, HexCase letters) {
    const char* digits = letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    constexpr int kMost = 8;  // a 32-bit value never needs more
    const int padded = std::clamp(minDigits, 1, kMost);
    char text[kMost];
    int count = 0;
    // From the lowest digit up, into the end of the buffer.
    while (count < padded || value != 0) {
        text[kMost - 1 - count++] = digits[value & 0xF];
        value >>= 4;
    }
    return std::string(text + kMost - count, static_cast<std::size_t>(count));
}

// The unsigned conversion is the two's complement bit pattern.
std::string hexText(int32_t value) { return hexDigits(static_cast<uint32_t>(value), 8); }

std::string hexByte(uint8_t value) { return hexDigits(value, 2); }

std::string hexWord(uint32_t value) { return "0x" + hexDigits(value, 8); }

std::string hexLiteral(uint32_t value) { return "0x" + hexDigits(value, 1); }

}  // namespace tv
