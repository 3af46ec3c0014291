#pragma once
// Text to number, as the window reads its edits and the encoder reads the value
// labels back. Failures throw tv::Error with the run-time's messages.
#include <cstdint>
#include <string>

namespace tv {

// A floating-point text: optional blanks, an optional sign, digits with at most
// one decimal separator (at least one digit in all), an optional exponent
// ("e" or "E", optional sign, digits), optional blanks. Blanks are spaces.
// Nothing else is a number: no "inf", "nan", hexadecimal or digit grouping.
// Only `decimalSeparator` separates (an empty one means "."). The value is held
// with a 64-bit mantissa; a text beyond that range reads as an infinity, which
// the hertz conversion then refuses. Failure: "'%s' は浮動小数点数ではありません".
long double parseFloat(const std::string& text, const std::string& decimalSeparator);

// A decimal integer with an optional sign and optional leading and trailing
// spaces, in the signed 32-bit range. Failure: "'%s' は整数ではありません".
int32_t parseInt32(const std::string& text);

// A frequency field in MHz, read twice: in whole hertz and in MHz.
struct Frequency {
    int64_t hertz = 0;       // value × 1,000,000 with a 64-bit mantissa, ties to even
    double megahertz = 0.0;  // the value as a 64-bit float
};

// "不正な浮動小数点数演算命令" when the hertz value does not fit a signed 64-bit integer.
Frequency readFrequency(const std::string& text, const std::string& decimalSeparator);

}  // namespace tv
