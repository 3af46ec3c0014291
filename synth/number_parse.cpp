#include "synth/number_parse.h"

#include <limits>

#include "os/errors.h"
#include "synth/float_check.h"
#include "synth/long_double_parse.h"

namespace tv {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void skipBlanks(const std::string& text, size_t& i) {
    while (i < text.size() && text[i] == ' ') ++i;
}

// Appends the digits at text[i...] to `out`; returns how many there were.
size_t copyDigits(const std::string& text, size_t& i, std::string& out) {
    const size_t start = i;
    while (i < text.size() && isDigit(text[i])) out += text[i++];
    return i - start;
}

[[noreturn]] void notAFloat(const std::string& text) {
    throw Error("'" + text + "' は浮動小数点数ではありません");
}

}  // namespace

long double parseFloat(const std::string& text, const std::string& decimalSeparator) {
    const std::string separator = decimalSeparator.empty() ? "." : decimalSeparator;
    // The text is checked here against the grammar and rewritten in the form
    // strtold reads in the "C" locale, so strtold never sees anything it could
    // read more generously (hexadecimal, "inf", locale-specific forms).
    std::string plain;
    size_t i = 0;
    skipBlanks(text, i);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t digits = copyDigits(text, i, plain);
    if (text.compare(i, separator.size(), separator) == 0) {
        i += separator.size();
        plain += '.';
        digits += copyDigits(text, i, plain);
    }
    if (digits == 0) notAFloat(text);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        plain += 'e';
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        if (copyDigits(text, i, plain) == 0) notAFloat(text);
    }
    skipBlanks(text, i);
    if (i != text.size()) notAFloat(text);

    // Out of range, the value is ±HUGE_VALL (an infinity) or one rounded towards
    // zero; both are what the text means as closely as a long double can.
    long double value = 0;
    if (!readLongDouble(plain, value)) notAFloat(text);
    return value;
}

int32_t parseInt32(const std::string& text) {
    size_t i = 0;
    skipBlanks(text, i);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulated as a magnitude that stops growing past 2^31, so no digit count overflows it.
    constexpr int64_t kLimit = int64_t{1} << 31;
    int64_t magnitude = 0;
    size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits) {
        if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[i] - '0');
    }
    skipBlanks(text, i);
    const int64_t value = negative ? -magnitude : magnitude;
    if (digits == 0 || i != text.size() || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        throw Error("'" + text + "' は整数ではありません");
    }
    return static_cast<int32_t>(value);
}

Frequency readFrequency(const std::string& text, const std::string& decimalSeparator) {
    const long double value = parseFloat(text, decimalSeparator);
    Frequency result;
    // An overflow here means a hertz value beyond any integer, so it is reported
    // as the failed conversion to integer it amounts to.
    long double hertz = 0;
    try {
        hertz = checkedMultiply(value, 1000000.0L);
    } catch (const Error&) {
        hertz = std::numeric_limits<long double>::infinity();
    }
    result.hertz = roundToInt64(hertz);
    // Exact or rounded to nearest: a value whose hertz fit in 64 bits is far
    // inside the double range.
    result.megahertz = static_cast<double>(value);
    return result;
}

}  // namespace tv
