#pragma once
// Number to text, as the window shows values.
#include <cstdint>
#include <string>

namespace tv {

// The value rounded to 15 significant digits (ties to even), trailing zeros and a
// trailing separator dropped. Fixed notation for 0 and for magnitudes, after that
// rounding, from 0.0001 up to below 10^15 ("123.4", "0.0001", "617"); otherwise
// one digit, the rest after the separator, "E" and the exponent ("1.5E-5", "1E20").
// Not-a-number and infinities, which no caller passes, read "NAN", "INF", "-INF".
std::string floatText(long double value, const std::string& decimalSeparator);

// Decimal digits with a leading "-" when negative.
std::string decimalText(int64_t value);

}  // namespace tv
