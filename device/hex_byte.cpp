#include "device/hex_byte.h"

namespace tv {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

std::string hexByte(uint8_t value) {
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

}  // namespace tv
