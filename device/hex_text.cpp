#include "device/hex_text.h"

namespace tv {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

std::string hexByte(uint8_t value) {
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string hexWord(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    std::string text(8, '0');
    for (int i = 0; i < 8; ++i) {
        text[static_cast<size_t>(7 - i)] = kDigits[(bits >> (4 * i)) & 0x0F];
    }
    return text;
}

}  // namespace tv
