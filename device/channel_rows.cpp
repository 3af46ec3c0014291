#include "device/channel_rows.h"

#include <optional>

#include "options/option_table.h"
#include "os/hex_text.h"
#include "synth/counter_rules.h"
#include "synth/latch_decoding.h"
#include "synth/number_format.h"
#include "synth/number_parse.h"

namespace tv {

namespace {

std::string itemOf(OptionGroup group, int32_t index) {
    const Items items = radioGroupRow(group).items;
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
        return "(no item " + std::to_string(index) + ")";
    }
    return std::string(items[static_cast<std::size_t>(index)]);
}

// The word decoded when its control bits name the latch of its place.
std::optional<DecodedLatch> decodedAs(int32_t word, Latch latch, int32_t variant) {
    const DecodedLatch d = decodeLatch(static_cast<uint32_t>(word) & 0xFFFFFF, variant);
    if (d.latch != latch || (static_cast<uint32_t>(word) >> 24) != 0) return std::nullopt;
    return d;
}

}  // namespace

std::vector<ChannelColumn> channelColumns(int32_t variant) {
    using C = ChannelColumn;
    std::vector<C> columns{C::Ch, C::Description, C::InitReg, C::RefReg, C::NReg, C::FuncReg, C::R};
    if (variant == 0) {
        columns.push_back(C::N);
    } else {
        columns.push_back(C::B);
        columns.push_back(C::A);
    }
    for (const C c : {C::PSC, C::Current, C::PD, C::VCO, C::Unit}) columns.push_back(c);
    return columns;
}

const char* channelColumnTitle(ChannelColumn column) {
    switch (column) {
        case ChannelColumn::Ch:
            return "ch";
        case ChannelColumn::Description:
            return "Description";
        case ChannelColumn::InitReg:
            return "InitReg";
        case ChannelColumn::RefReg:
            return "RefReg";
        case ChannelColumn::NReg:
            return "NReg";
        case ChannelColumn::FuncReg:
            return "FuncReg";
        case ChannelColumn::R:
            return "R";
        case ChannelColumn::N:
            return "N";
        case ChannelColumn::B:
            return "B";
        case ChannelColumn::A:
            return "A";
        case ChannelColumn::PSC:
            return "PSC";
        case ChannelColumn::Current:
            return "I(mA)";
        case ChannelColumn::PD:
            return "PD(kHz)";
        case ChannelColumn::VCO:
            return "VCO(MHz)";
        case ChannelColumn::Unit:
            return "Unit";
    }
    return "";
}

const std::string& ChannelRow::text(ChannelColumn column) const {
    static const std::string kNone;
    switch (column) {
        case ChannelColumn::Ch:
            return ch;
        case ChannelColumn::Description:
            return description;
        case ChannelColumn::InitReg:
            return InitReg;
        case ChannelColumn::RefReg:
            return RefReg;
        case ChannelColumn::NReg:
            return NReg;
        case ChannelColumn::FuncReg:
            return FuncReg;
        case ChannelColumn::R:
            return R;
        case ChannelColumn::N:
            return N;
        case ChannelColumn::B:
            return B;
        case ChannelColumn::A:
            return A;
        case ChannelColumn::PSC:
            return PSC;
        case ChannelColumn::Current:
            return current;
        case ChannelColumn::PD:
            return pd;
        case ChannelColumn::VCO:
            return vco;
        case ChannelColumn::Unit:
            return kNone;
    }
    return kNone;
}

bool stdOfDescription(const std::string& description, const std::string& decimalSeparator,
                      double& stdMHz) {
    const std::size_t at = description.find("STD=");
    if (at == std::string::npos) return false;
    const std::size_t from = at + 4;
    const std::size_t end = description.find("MHz", from);
    if (end == std::string::npos) return false;
    try {
        stdMHz =
            static_cast<double>(parseFloat(description.substr(from, end - from), decimalSeparator));
    } catch (const std::exception&) {
        return false;
    }
    return stdMHz == stdMHz && stdMHz > 0 && stdMHz < 1e300;  // a number, and a frequency
}

ChannelRow channelRow(const ChannelTable& table, std::size_t c, int32_t variant,
                      const std::string& decimalSeparator) {
    ChannelRow row;
    row.ch = "ch" + std::to_string(c);
    row.description = descriptionOnOneLine(table.description[c]);
    row.InitReg = hexText(table.InitReg[c]);
    row.RefReg = hexText(table.RefReg[c]);
    row.NReg = hexText(table.NReg[c]);
    row.FuncReg = hexText(table.FuncReg[c]);
    if (table.InitReg[c] == 0 && table.RefReg[c] == 0 && table.NReg[c] == 0 &&
        table.FuncReg[c] == 0) {
        return row;  // never set: nothing to decode
    }
    const bool dual = variant != 0;
    const auto ref = decodedAs(table.RefReg[c], Latch::RefReg, variant);
    const auto n = decodedAs(table.NReg[c], Latch::NReg, variant);
    auto options = decodedAs(table.InitReg[c], Latch::InitReg, variant);
    if (!options) options = decodedAs(table.FuncReg[c], Latch::FuncReg, variant);

    if (ref) row.R = decimalText(ref->R);
    if (n && dual) {
        row.B = decimalText(n->B);
        row.A = decimalText(n->A);
    } else if (n) {
        row.N = decimalText(n->N);
    }
    if (options) {
        if (dual) row.PSC = itemOf(OptionGroup::PSC, options->PSC);
        row.current = itemOf(OptionGroup::current1, options->current1);
        if (options->current1Second != options->current1)
            row.current += " / " + itemOf(OptionGroup::current1, options->current1Second);
    }
    const int32_t psc = options ? options->PSC : 0;
    double stdMHz = 0;
    if (ref && n && (!dual || options) &&
        stdOfDescription(table.description[c], decimalSeparator, stdMHz)) {
        if (const auto f = setFrequencies(*ref, *n, psc, variant, stdMHz, 1)) {
            row.pd = floatText(f->pdKHz, decimalSeparator);
            row.vco = floatText(f->vcoMHz, decimalSeparator);
        }
    }
    if (ref && n) {
        SynthOptions o;
        o.Variant = variant;
        o.PSC = psc;
        const int64_t counter = dual ? int64_t{prescalerModulus(psc)} * n->B + n->A : int64_t{n->N};
        row.ruleLine = counterRuleLine(o, ref->R, counter, n->A, n->B);
    }
    return row;
}

}  // namespace tv
