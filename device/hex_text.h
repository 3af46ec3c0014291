#pragma once
// Hexadecimal texts of the device room: bytes as the status memo and the
// buffer view show them, words as the header file lists them.
#include <cstdint>
#include <string>

namespace tv {

// Two uppercase hexadecimal digits: 0x0A -> "0A".
std::string hexByte(uint8_t value);

// Exactly eight uppercase hexadecimal digits with leading zeros; a negative
// word is shown as its 32-bit two's complement (-1 -> "FFFFFFFF").
std::string hexWord(int32_t value);

}  // namespace tv
