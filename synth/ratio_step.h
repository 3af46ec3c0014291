#pragma once
// One step of the ratio finder at a given R, and the split of N into the
// prescaler counters A and B. Pure arithmetic: nothing here touches the screen.
#include <cstdint>
#include <string>

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

// Redoes the step at R one checked operation at a time, so that the error thrown
// is that of the first operation that raised a flag.
[[noreturn]] void reportStepFloatError(const FinderInputs& inputs, int64_t r);

struct RatioStep {
    double vco = 0;        // LO / M, MHz
    double pd = 0;         // STD / R, MHz
    double nQuotient = 0;  // VCO / PD
    int64_t n = 0;         // nQuotient rounded, ties to even
    bool match = false;    // STD_Hz × N × M = LO_Hz × R (modulo 2^64)
};

// Takes one step; allocates nothing. Expects the float error flags clear on entry
// (clearFloatErrors() once before the loop) and leaves them clear when it returns;
// a division error or an N outside int64 throws tv::Error. Inline: the search
// loop runs it up to 16384 times per click.
inline RatioStep takeStep(const FinderInputs& in, int64_t r) {
    const double multiplier = in.multiplier;        // exact: every int32 is a double
    const double divider = static_cast<double>(r);  // exact: R stays far below 2^53
    RatioStep s;
    s.vco = divideInOrder(in.localOutput.megahertz, multiplier);
    s.pd = divideInOrder(in.std.megahertz, divider);
    s.nQuotient = divideInOrder(s.vco, s.pd);
    // One flag test for the three divisions keeps a full search click cheap; the
    // flags were clear on entry, so a raised one belongs to this step.
    if (floatErrorRaised()) reportStepFloatError(in, r);
    s.n = roundToInt64(s.nQuotient);
    // Signed 64-bit products that ignore overflow: unsigned arithmetic gives the
    // same bits without undefined behaviour.
    const auto wrap = [](int64_t v) { return static_cast<uint64_t>(v); };
    s.match = wrap(in.std.hertz) * wrap(s.n) * wrap(in.multiplier) ==
              wrap(in.localOutput.hertz) * wrap(r);
    return s;
}

struct Counters {
    int64_t a = 0;
    int64_t b = 0;
};

// Variant 1: A = N mod P, B = N div P with P = 8 << PSC ("ゼロによる除算" when
// no PSC item is selected); any other Variant: A = B = 0.
Counters splitCounters(int64_t n, const SynthOptions& options);

}  // namespace tv
