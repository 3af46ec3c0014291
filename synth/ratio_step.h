#pragma once
// One step of the ratio finder at a given R, and the split of N into the
// prescaler counters A and B. Pure arithmetic: nothing here touches the screen.
#include <cstdint>
#include <string>
#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "synth/float_check.h"
#include "synth/number_parse.h"
#include "synth/synth_options.h"

namespace tv {

// The three frequency fields as read at the start of a click.
struct FinderInputs {
    Frequency localOutput;   // LO, MHz and whole hertz
    int32_t multiplier = 0;  // M
    Frequency std;           // STD, MHz and whole hertz
    std::string decimalSeparator;
};

struct RatioStep {
    double vco = 0;        // LO / M, MHz
    double pd = 0;         // STD / R, MHz
    double nQuotient = 0;  // VCO / PD
    int64_t n = 0;         // nQuotient rounded, ties to even
    bool match = false;    // STD_Hz × N × M = LO_Hz × R (modulo 2^64)
};

// Takes the steps of one click. VCO does not depend on R, so it is divided once,
// when the stepper is made, which is where the first step would divide it; its
// errors are thrown from there.
//
// A step costs its two divisions, the rounding and the products. Instead of the
// exception flags it tests only whether the quotient rounds to an int64: STD is
// finite and R at least 1, so PD is finite, and every error the flags could
// report (zero divided by zero, a division by zero, an overflow) leaves a
// quotient that is not finite, which no int64 holds. Only such a step is taken
// again one checked operation at a time, which names the error exactly.
class RatioStepper {
public:
    explicit RatioStepper(const FinderInputs& in)
        : m_vco(checkedDivide(in.localOutput.megahertz, in.multiplier)),
          m_std(in.std.megahertz),
          m_stdHz(static_cast<uint64_t>(in.std.hertz)),
          m_multiplier(static_cast<uint64_t>(int64_t{in.multiplier})),
          m_loHz(static_cast<uint64_t>(in.localOutput.hertz)) {}

    // Allocates nothing; inline, as the search runs it up to 16384 times a click.
    RatioStep at(int64_t r) const {
        RatioStep s;
        s.vco = m_vco;
        s.pd = m_std / static_cast<double>(r);  // exact conversion: R stays far below 2^53
        s.nQuotient = s.vco / s.pd;
        s.n = roundedOrChecked(s.nQuotient, r);
        // Signed 64-bit products that ignore overflow: unsigned arithmetic gives the
        // same bits without undefined behaviour.
        s.match = m_stdHz * static_cast<uint64_t>(s.n) * m_multiplier ==
                  m_loHz * static_cast<uint64_t>(r);
        return s;
    }

private:
    int64_t roundedOrChecked(double quotient, int64_t r) const {
#if defined(__x86_64__)
        // Rounds in the current mode, which this program leaves at round to
        // nearest, ties to even; a value outside int64 (or not a number) gives
        // INT64_MIN, which is then looked at closely.
        const int64_t n = _mm_cvtsd_si64(_mm_set_sd(quotient));
        if (n != INT64_MIN) return n;
#else
        const double rounded = std::rint(quotient);
        if (rounded >= -0x1p63 && rounded < 0x1p63) return static_cast<int64_t>(rounded);
#endif
        return checkedStep(r);
    }

    // The step at R again, each operation tested on its own: throws the error of
    // the first that raised a flag, "不正な浮動小数点数演算命令" for a quotient
    // outside int64, or returns N (-2^63 is one).
    int64_t checkedStep(int64_t r) const;

    double m_vco;
    double m_std;
    uint64_t m_stdHz;
    uint64_t m_multiplier;
    uint64_t m_loHz;
};

struct Counters {
    int64_t a = 0;
    int64_t b = 0;
};

// Variant 1: A = N mod P, B = N div P with P = 8 << PSC ("ゼロによる除算" when
// no PSC item is selected); any other Variant: A = B = 0.
Counters splitCounters(int64_t n, const SynthOptions& options);

}  // namespace tv
