#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "options/option_table.h"

namespace tv {

// The selected item indices of the ten option radio groups, read from the window
// at the moment of use. -1 means no item is selected. Default-constructed, each
// holds what start-up selects without a settings file.
struct SynthOptions {
    int32_t Variant = startupIndex(OptionGroup::Variant);                // 0 Tarvex S, 1 Tarvex D
    int32_t PDPol = startupIndex(OptionGroup::PDPol);                    // 0 NEG, 1 POS
    int32_t MUXOut = startupIndex(OptionGroup::MUXOut);                  // 0..7
    int32_t current1 = startupIndex(OptionGroup::current1);              // 0.625 mA steps
    int32_t LDP = startupIndex(OptionGroup::LDP);                        // 0 3cycle, 1 5cycle
    int32_t AntiBackLash = startupIndex(OptionGroup::AntiBackLash);      // 2.9, 1.3, 6.0 ns
    int32_t TimerCountCTRL = startupIndex(OptionGroup::TimerCountCTRL);  // 3 + 4k cycles
    int32_t CPOut = startupIndex(OptionGroup::CPOut);                    // 0 Normal, 1 3 State
    int32_t PSC = startupIndex(OptionGroup::PSC);                        // 8/9 ... 64/65
    int32_t MemoryChannel = startupIndex(OptionGroup::MemoryChannel);    // ch0..ch7

    int32_t& operator[](OptionGroup group) { return this->*field(group); }
    int32_t operator[](OptionGroup group) const { return this->*field(group); }

private:
    static constexpr int32_t SynthOptions::*field(OptionGroup group) {
        constexpr std::array<int32_t SynthOptions::*, kRadioGroups.size()> kFields = {
            &SynthOptions::Variant,        &SynthOptions::PDPol, &SynthOptions::MUXOut,
            &SynthOptions::current1,       &SynthOptions::LDP,   &SynthOptions::AntiBackLash,
            &SynthOptions::TimerCountCTRL, &SynthOptions::CPOut, &SynthOptions::PSC,
            &SynthOptions::MemoryChannel,
        };
        return kFields[static_cast<size_t>(group)];
    }
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
