#pragma once
// How a settings value is read as an integer.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tv {

// "0x1F"/"0X1F" (more than two characters) and "$1F" are hexadecimal, at most
// eight digits, taken as a 32-bit pattern ("0xFFFFFFFF" is -1); anything else is
// a decimal number with an optional sign that must fit a signed 32-bit integer.
// Empty, malformed or out-of-range text gives no value.
std::optional<int32_t> parseProfileInteger(std::string_view text);

}  // namespace tv
