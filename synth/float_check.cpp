#include "synth/float_check.h"

#include "os/errors.h"

namespace tv {
namespace {

constexpr const char* kDivideByZero = "0 による浮動小数点数除算";
constexpr const char* kInvalidOperation = "不正な浮動小数点数演算命令";
constexpr const char* kOverflow = "浮動小数点数演算でオーバーフローしました";

// -2^63 and 2^63: every value in [kInt64Low, kInt64High) converts without loss of range.
constexpr long double kInt64Low = -0x1p63L;
constexpr long double kInt64High = 0x1p63L;

}  // namespace

void clearFloatErrors() { std::feclearexcept(kFloatErrorFlags); }

void throwOnFloatError() {
    const int raised = std::fetestexcept(kFloatErrorFlags);
    if (raised == 0) return;
    // Leave the flags clear for whatever the program does after the error box.
    clearFloatErrors();
    // One operation raises at most one of these; the order only matters for a
    // caller that tested several operations at once.
    if (raised & FE_INVALID) throw Error(kInvalidOperation);
    if (raised & FE_DIVBYZERO) throw Error(kDivideByZero);
    throw Error(kOverflow);
}

double checkedDivide(double a, double b) {
    clearFloatErrors();
    const double q = divideInOrder(a, b);
    throwOnFloatError();
    return q;
}

long double checkedMultiply(long double a, long double b) {
    clearFloatErrors();
    floatBarrier(a);
    floatBarrier(b);
    long double p = a * b;
    floatBarrier(p);
    throwOnFloatError();
    return p;
}

int64_t roundToInt64(long double value) {
    // rintl rounds in the current mode, which this program leaves at
    // round-to-nearest, ties to even.
    long double rounded = std::rint(value);
    floatBarrier(rounded);
    // The comparison is false for NaN too; the cast below is then never reached
    // with a value it cannot represent.
    if (!(rounded >= kInt64Low && rounded < kInt64High)) throwInvalidOperation();
    return static_cast<int64_t>(rounded);
}

void throwInvalidOperation() { throw Error(kInvalidOperation); }

}  // namespace tv
