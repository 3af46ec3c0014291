#pragma once
// Floating-point arithmetic that never fails silently. Division by zero, invalid
// operations and overflow are read from the exception flags of <cfenv> and raised
// as tv::Error with the run-time's messages; rounding to an integer is to nearest
// with ties to even and refuses a value outside the signed 64-bit range.
//
// The library is built with -frounding-math and -ffp-contract=off, and every
// operation below passes its operands and result through an empty asm statement,
// so the compiler can neither fold an operation at build time nor move it to the
// other side of the flag test that belongs to it.
#include <cfenv>
#include <cmath>
#include <cstdint>

namespace tv {

// The exception flags that are errors here; inexact and underflow are not.
inline constexpr int kFloatErrorFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

// Makes `value` opaque to the optimiser at this point of the program.
inline void floatBarrier(double& value) {
#if defined(__SSE2__)
    asm volatile("" : "+x"(value));
#else
    asm volatile("" : "+m"(value));
#endif
}
inline void floatBarrier(long double& value) { asm volatile("" : "+m"(value)); }

// a / b in double precision, in program order, without testing the flags: for
// loops that test once after several operations (see RatioFinder's step).
inline double divideInOrder(double a, double b) {
    floatBarrier(a);
    floatBarrier(b);
    double q = a / b;
    floatBarrier(q);
    return q;
}

void clearFloatErrors();
// True when an operation since the last clear raised one of kFloatErrorFlags.
inline bool floatErrorRaised() { return std::fetestexcept(kFloatErrorFlags) != 0; }
// Throws the message of the raised flag, if any, after clearing the flags.
void throwOnFloatError();

// Clear, compute, test: each throws when its own operation raised a flag.
double checkedDivide(double a, double b);
long double checkedMultiply(long double a, long double b);

// Nearest integer, ties to even; "不正な浮動小数点数演算命令" outside int64 (NaN included).
int64_t roundToInt64(long double value);
[[noreturn]] void throwInvalidOperation();

inline int64_t roundToInt64(double value) {
    // rint rounds in the current mode, which this program leaves at
    // round-to-nearest, ties to even.
    double rounded = std::rint(value);
    floatBarrier(rounded);
    // -2^63 and 2^63 are exact doubles. The test is false for NaN too, so the
    // cast below only ever sees a value it can represent.
    if (!(rounded >= -0x1p63 && rounded < 0x1p63)) throwInvalidOperation();
    return static_cast<int64_t>(rounded);
}

}  // namespace tv
