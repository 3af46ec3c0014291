#include "settings/profile_integer.h"

namespace tv {

namespace {

std::optional<int32_t> parseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    for (const char ch : digits) {
        uint32_t digit = 0;
        if (ch >= '0' && ch <= '9') {
            digit = static_cast<uint32_t>(ch - '0');
        } else if (ch >= 'a' && ch <= 'f') {
            digit = static_cast<uint32_t>(ch - 'a' + 10);
        } else if (ch >= 'A' && ch <= 'F') {
            digit = static_cast<uint32_t>(ch - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    // Eight digits are a bit pattern: 0x80000000 and above read as negative.
    return static_cast<int32_t>(value);
}

std::optional<int32_t> parseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr int64_t kLimit = int64_t{1} << 31;  // the magnitude of INT32_MIN
    int64_t magnitude = 0;
    for (const char ch : text) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (ch - '0');
        if (magnitude > kLimit) {
            return std::nullopt;  // stops long digit runs before they overflow
        }
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

std::optional<int32_t> parseProfileInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return parseHex(text.substr(2));
    }
    if (!text.empty() && text.front() == '$') {
        return parseHex(text.substr(1));
    }
    return parseDecimal(text);
}

}  // namespace tv
