#include "synth/number_format.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace tv {
namespace {

constexpr int kSignificantDigits = 15;
constexpr int kLowestFixedExponent = -4;  // 0.0001
constexpr int kFirstScientificExponent = 15;

}  // namespace

std::string floatText(long double value, const std::string& decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    // -0 is not negative: it reads "0" like +0.
    if (value == 0) return "0";

    // "d.dddddddddddddde±x": to_chars rounds the exact binary value to nearest,
    // ties to even, and is independent of the process locale. The exponent it
    // writes already reflects a carry of the rounding (9.99...95e14 -> 1e15).
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view scientific(buffer, static_cast<size_t>(written.ptr - buffer));
    const size_t e = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(0, e)) {
        if (c >= '0' && c <= '9') digits += c;
    }
    std::string_view exponentText = scientific.substr(e + 1);
    if (exponentText.front() == '+') exponentText.remove_prefix(1);  // from_chars takes only "-"
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent >= kLowestFixedExponent && exponent < kFirstScientificExponent) {
        if (exponent < 0) {
            text += "0" + decimalSeparator + std::string(static_cast<size_t>(-exponent - 1), '0') +
                    digits;
        } else {
            const size_t integerDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += digits + std::string(integerDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, integerDigits) + decimalSeparator +
                        digits.substr(integerDigits);
            }
        }
    } else {
        text += digits.substr(0, 1);
        if (digits.size() > 1) text += decimalSeparator + digits.substr(1);
        text += "E" + std::to_string(exponent);  // to_string writes "-5", never "+5"
    }
    return text;
}

std::string decimalText(int64_t value) { return std::to_string(value); }

}  // namespace tv
