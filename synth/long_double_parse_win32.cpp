#include <cstdlib>

#include "synth/long_double_parse.h"

namespace tv {
namespace {

// The exponent of the text, saturated far beyond any long double's range so that
// no digit count overflows it.
long long exponentOf(const std::string& plain, size_t e) {
    constexpr long long kLimit = 1000000000;
    size_t i = e + 1;
    const bool negative = i < plain.size() && plain[i] == '-';
    if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) ++i;
    long long exponent = 0;
    for (; i < plain.size(); ++i) {
        if (exponent < kLimit) exponent = exponent * 10 + (plain[i] - '0');
    }
    return negative ? -exponent : exponent;
}

}  // namespace

// The runtime's strtold (MinGW's own, with the full 64-bit mantissa; the C++
// from_chars rounds through double) reads the decimal point of the current
// locale, and this runtime has no strtold_l. So the separator is taken out of the
// text instead: "12.345e2" is read as "12345e-1", the same number, rounded once.
bool readLongDouble(const std::string& plain, long double& value) {
    const size_t e = plain.find_first_of("eE");
    const std::string mantissa = plain.substr(0, e);
    const size_t dot = mantissa.find('.');
    long long exponent = e == std::string::npos ? 0 : exponentOf(plain, e);
    std::string text = mantissa;
    if (dot != std::string::npos) {
        exponent -= static_cast<long long>(mantissa.size() - dot - 1);
        text.erase(dot, 1);
    }
    text += 'e' + std::to_string(exponent);
    char* end = nullptr;
    value = std::strtold(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

}  // namespace tv
