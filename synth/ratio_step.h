#pragma once
// One step of the ratio finder at a given R, and the split of N into the
// prescaler counters A and B. Pure arithmetic: nothing here touches the screen.
#include <cstdint>
#include <string>

#include "synth/number_parse.h"
#include "synth/synth_options.h"

namespace tv {

// The three frequency fields as read at the start of a click.
struct FinderInputs {
    Frequency localOutput;  // LO, MHz and whole hertz
    int32_t multiplier = 0;  // M
    Frequency std;          // STD, MHz and whole hertz
    std::string decimalSeparator;
};

struct RatioStep {
    double vco = 0;        // LO / M, MHz
    double pd = 0;         // STD / R, MHz
    double nQuotient = 0;  // VCO / PD
    int64_t n = 0;         // nQuotient rounded, ties to even
    bool match = false;    // STD_Hz × N × M = LO_Hz × R (modulo 2^64)
};

// Takes one step; allocates nothing. Expects the float error flags clear on entry
// (clearFloatErrors() once before the loop) and leaves them clear when it returns;
// a division error or an N outside int64 throws tv::Error.
RatioStep takeStep(const FinderInputs& inputs, int64_t r);

struct Counters {
    int64_t a = 0;
    int64_t b = 0;
};

// Variant 1: A = N mod P, B = N div P with P = 8 << PSC ("ゼロによる除算" when
// no PSC item is selected); any other Variant: A = B = 0.
Counters splitCounters(int64_t n, const SynthOptions& options);

}  // namespace tv
