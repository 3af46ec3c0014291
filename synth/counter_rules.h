#pragma once
// What the chip's counters must satisfy for the unit to lock. The encoder
// writes any counter that fits its field, and the finder's match test knows
// nothing of the prescaler, so a match can give counters the chip cannot
// divide by. A dual-modulus prescaler P/P+1 divides by P × B + A only while
// B ≥ A (A of the B cycles run at P + 1) and B ≥ 3, so below P² − P not every
// N can be reached with a given P. Pure functions: the window, tvcalc's search
// and its decoding all ask here, and show what they get in their own way.
#include <cstdint>
#include <string>
#include <vector>

#include "synth/synth_options.h"

namespace tv {

enum class CounterRule {
    RRange,       // both variants: 1 ≤ R ≤ 16383
    NRange,       // Tarvex S: 1 ≤ N ≤ 8191
    BAtLeast3,    // Tarvex D: B ≥ 3
    BAtMost8191,  // Tarvex D: B ≤ 8191
    BAtLeastA,    // Tarvex D: B ≥ A
};

// The rule as the operator reads it: "1 ≤ R ≤ 16383", "B ≥ 3", ...
const char* counterRuleText(CounterRule rule);
// The rules' texts joined by " and ".
std::string counterRulesText(const std::vector<CounterRule>& rules);

// The rules of the N counter latch that the counters break, in the order of
// CounterRule. Variant 0 (Tarvex S) divides by N; any other Variant by the A and
// B counters, as the encoder writes NReg for it.
std::vector<CounterRule> brokenNLatchRules(int32_t variant, int64_t n, int64_t a, int64_t b);
// The same with R's rule in front.
std::vector<CounterRule> brokenCounterRules(int32_t variant, int64_t r, int64_t n, int64_t a,
                                            int64_t b);

// How the prescaler of one PSC item splits N.
struct PrescalerSplit {
    int32_t psc = 0;  // the PSC index
    int64_t a = 0;
    int64_t b = 0;
};

// The PSC items whose prescaler splits N into A and B within the Tarvex D rules,
// in item order; empty when none does (N below 3 × 8 or negative, among others).
std::vector<PrescalerSplit> splitsWithinRules(int64_t n);

// The status line for a match whose counters break a rule: the variant, N, the
// PSC item (Tarvex D), the counters and the rules they break, and for Tarvex D
// which other PSC items split the same N within the rules. Empty when the
// counters keep every rule. For example
//   Tarvex D cannot divide N 617 with PSC 64/65: B 9, A 41 breaks B ≥ A;
//   PSC 8/9 splits it as B 77, A 1; PSC 16/17 as B 38, A 9; PSC 32/33 as B 19, A 9.
std::string counterRuleLine(const SynthOptions& options, int64_t r, int64_t n, int64_t a,
                            int64_t b);

}  // namespace tv
