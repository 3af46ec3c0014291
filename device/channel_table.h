#pragma once
// The eight memory channels of the unit as the configurator holds them.
#include <array>
#include <cstdint>
#include <string>

#include "synth/synth_options.h"

namespace tv {

struct ChannelTable {
    static constexpr int kChannels = 8;
    std::array<int32_t, kChannels> RefReg{};
    std::array<int32_t, kChannels> NReg{};
    std::array<int32_t, kChannels> InitReg{};
    std::array<int32_t, kChannels> FuncReg{};
    std::array<std::string, kChannels> description{};
};

// A description shown on one line (a status line, a grid cell): the line
// breaks a header edited by hand may hold become their escapes "\r" and "\n".
std::string descriptionOnOneLine(const std::string& description);

// The charge-pump current text of a "Current1(mA)" index ("2.50mA" for 3);
// the empty text for an index outside 0..7.
std::string currentText(int32_t current1);

// "set": copies the latch words into channel memoryChannel with the description
// "<edit1>MHz, STD=<edit3>MHz, PD=<label11>kHz, I=<current>". Returns false and
// changes nothing when memoryChannel is outside 0..7.
bool setChannel(ChannelTable& table, int32_t memoryChannel, const LatchSet& latches,
                const std::string& localOutputText, const std::string& stdText,
                const std::string& pdLabelText, int32_t current1);

}  // namespace tv
