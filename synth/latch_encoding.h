#pragma once
// The four 24-bit latch words of the synthesizer chip. Every word is the plain
// 32-bit two's complement sum of its terms: with each option index inside its
// item range the terms fill disjoint bits, and an index of -1 (no item selected)
// subtracts its field's weight instead.
#include <cstdint>

#include "synth/synth_options.h"

namespace tv {

inline constexpr int32_t kMaxRCounter = 16383;  // 14-bit R field
inline constexpr int32_t kMaxNCounter = 8191;   // 13-bit N field (Tarvex S) and B field (Tarvex D)
inline constexpr int32_t kMaxACounter = 63;     // 6-bit A field (Tarvex D)

// Reference counter latch; an R above 16383 is taken as 16383.
int32_t refRegWord(int32_t r, const SynthOptions& options);
// N counter latch: the N form for Variant 0, the A/B form for any other Variant.
int32_t nRegWord(int32_t n, int32_t a, int32_t b, int32_t variant);
// Initialization latch (control bits 11) and function latch (control bits 10).
int32_t initRegWord(const SynthOptions& options);
int32_t funcRegWord(const SynthOptions& options);

// Throws tv::Error when the counter the variant's NReg holds does not fit its
// field: N outside 0..8191 for Variant 0; A outside 0..63 or B outside 0..8191
// for any other Variant.
void checkCountersFit(int32_t n, int32_t a, int32_t b, int32_t variant);

}  // namespace tv
