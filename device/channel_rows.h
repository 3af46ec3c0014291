#pragma once
// The Channels page's rows: each channel of the table as texts, its words in
// hexadecimal and decoded as `tvcalc --decode` decodes them, with the line the
// window gives for counters the chip cannot divide by. Plain values; the
// window's grid only shows them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/channel_table.h"

namespace tv {

enum class ChannelColumn {
    Ch,
    Description,
    InitReg,
    RefReg,
    NReg,
    FuncReg,
    R,
    N,  // Tarvex S
    B,  // Tarvex D
    A,  // Tarvex D
    PSC,
    Current,
    PD,
    VCO,
    Unit,  // what a Read unit found, beside the table's words
};

// The columns for a variant, in order: "ch", "Description", the four words,
// "R", then "N" (Tarvex S) or "B", "A" (any other variant), "PSC", "I(mA)",
// "PD(kHz)", "VCO(MHz)", "Unit".
std::vector<ChannelColumn> channelColumns(int32_t variant);
const char* channelColumnTitle(ChannelColumn column);

struct ChannelRow {
    std::string ch, description, InitReg, RefReg, NReg, FuncReg;
    std::string R, N, B, A, PSC, current, pd, vco;
    // The counter-rule line Memo2 gives for such a match; empty when the
    // counters keep the rules (or the channel holds no words).
    std::string ruleLine;

    const std::string& text(ChannelColumn column) const;  // empty for Unit
};

// Channel c of `table`. The decoded fields are empty for a channel never set
// (four zero words) and where a word's control bits name another latch than its
// place; PD and VCO also where the description names no STD ("STD=10MHz") that
// reads as a number with `decimalSeparator`. PSC is shown for Tarvex D only.
ChannelRow channelRow(const ChannelTable& table, std::size_t c, int32_t variant,
                      const std::string& decimalSeparator);

// The STD in MHz that a description names ("..., STD=10MHz, ..."), if it reads
// as a number.
bool stdOfDescription(const std::string& description, const std::string& decimalSeparator,
                      double& stdMHz);

}  // namespace tv
