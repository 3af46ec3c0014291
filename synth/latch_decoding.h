#pragma once
// The inverse of the latch encoding (latch_encoding.h): which latch a 24-bit
// word is for, the fields it holds, and the bits the encoder never sets.
#include <cstdint>
#include <optional>

namespace tv {

// By the two control bits of the word.
enum class Latch { RefReg = 0, NReg = 1, FuncReg = 2, InitReg = 3 };

const char* latchName(Latch latch);

struct DecodedLatch {
    Latch latch = Latch::RefReg;
    uint32_t word = 0;
    // RefReg
    int32_t R = 0;
    int32_t LDP = 0;
    int32_t AntiBackLash = 0;  // 3 is no item
    // NReg: N for Tarvex S (Variant 0), A and B for Tarvex D
    int32_t N = 0;
    int32_t A = 0;
    int32_t B = 0;
    // InitReg and FuncReg
    int32_t MUXOut = 0;
    int32_t PDPol = 0;
    int32_t CPOut = 0;
    int32_t TimerCountCTRL = 0;
    int32_t current1 = 0;        // bits 17..15
    int32_t current1Second = 0;  // bits 20..18; the encoder writes the same index twice
    int32_t PSC = 0;             // bits 23..22; the encoder leaves them 0 for Tarvex S
    // Bits set in the word that the encoder never sets for this latch and variant.
    uint32_t strayBits = 0;
};

// `variant` is the SynthOptions Variant the word was made for: 0 Tarvex S, any
// other value the A/B form of NReg and the prescaler bits, as the encoder takes it.
DecodedLatch decodeLatch(uint32_t word, int32_t variant);

// The prescaler modulus P of a PSC index: 8, 16, 32, 64.
int32_t prescalerModulus(int32_t psc);

// What a set of latch words makes the unit produce from the reference STD.
struct SetFrequencies {
    double pdKHz = 0;           // STD / R
    double vcoMHz = 0;          // N × PD; Tarvex D: (P × B + A) × PD
    double localOutputMHz = 0;  // VCO × multiplier
};

// nullopt when R is 0. `psc` matters only for the A/B form of `n`.
std::optional<SetFrequencies> setFrequencies(const DecodedLatch& ref, const DecodedLatch& n,
                                             int32_t psc, int32_t variant, double stdMHz,
                                             int32_t multiplier);

}  // namespace tv
