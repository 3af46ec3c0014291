#pragma once
#include <cstdint>

namespace tv {

// The selected item indices of the ten option radio groups, read from the window
// at the moment of use. -1 means no item is selected.
struct SynthOptions {
    int32_t Variant = 0;         // RadioGroup6 "Select Tarvex": 0 Tarvex S, 1 Tarvex D
    int32_t PDPol = 1;           // RadioGroup3 "PD Pol": 0 NEG, 1 POS
    int32_t MUXOut = 1;          // RadioGroup4 "MUX Out": 0..7
    int32_t current1 = 3;        // RadioGroup5 "Current1(mA)": 0..7 (0.625 mA steps)
    int32_t LDP = 0;             // RadioGroup1 "LDP": 0 3cycle, 1 5cycle
    int32_t AntiBackLash = 0;    // RadioGroup7 "AntiBackLash": 0 2.9ns, 1 1.3ns, 2 6.0ns
    int32_t TimerCountCTRL = 0;  // RadioGroup8 "TimerCountCTRL": 0..15 (3 + 4k cycles)
    int32_t CPOut = 0;           // RadioGroup9 "CP Out": 0 Normal, 1 3 State
    int32_t PSC = 1;             // RadioGroup10 "PSC": 0 8/9, 1 16/17, 2 32/33, 3 64/65
    int32_t MemoryChannel = 0;   // RadioGroup2 "MemoryChannel": 0..7
};

// The four latch words of the synthesizer chip, each a 24-bit value in a signed
// 32-bit field. Only the latch encoding writes them.
struct LatchSet {
    int32_t RefReg = 0;
    int32_t NReg = 0;
    int32_t InitReg = 0;
    int32_t FuncReg = 0;
};

}  // namespace tv
